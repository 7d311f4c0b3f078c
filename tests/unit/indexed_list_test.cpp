// IndexedList against a std::vector model: random sequences of every
// operation, with the links, the cached positions and the cursor checked
// after each call, and a few hand-made cases for the behaviour callers rely on.
#include "collections/indexed_list.h"

#include "catalogue/catalogue.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

// How the tests make and compare values of each element type. The record
// types get every byte filled, including those after the first NUL, so a
// copy that stops early or moves a value shows up.
template <typename T>
struct Values;

template <>
struct Values<int> {
    static int Make(std::mt19937& random) { return static_cast<int>(random()); }
    static bool Same(const int& a, const int& b) { return a == b; }
};

template <typename Record>
struct RecordValues {
    static Record Make(std::mt19937& random) {
        Record value;
        unsigned char* bytes = reinterpret_cast<unsigned char*>(&value);
        for (size_t i = 0; i < sizeof value; ++i) bytes[i] = static_cast<unsigned char>(random());
        return value;
    }
    static bool Same(const Record& a, const Record& b) { return std::memcmp(&a, &b, sizeof a) == 0; }
};

template <>
struct Values<PathBuffer> : RecordValues<PathBuffer> {};
template <>
struct Values<ProgramEntry> : RecordValues<ProgramEntry> {};

// Everything the list promises about its structure: intact links both ways,
// first/last/count matching the model, the values in model order, first at 0,
// last at count - 1, the cursor on position `cursorAt` with that index, and
// -1 in every other node. Returns the first fault found, or "".
template <typename T>
std::string CheckStructure(const IndexedList<T>& list, const std::vector<T>& model, int cursorAt) {
    using Node = typename IndexedList<T>::Node;
    const int n = static_cast<int>(model.size());
    std::ostringstream fault;
    if (list.count != n) {
        fault << "count is " << list.count << ", expected " << n;
        return fault.str();
    }
    if (n == 0) {
        if (list.first || list.last || list.cursor) return "an empty list still points at a node";
        return "";
    }
    if (!list.first || !list.last || !list.cursor) return "a non-empty list has a null first, last or cursor";
    if (list.first->prev) return "first has a predecessor";

    bool cursorSeen = false;
    int at = 0;
    const Node* node = list.first;
    for (; node && at < n; node = node->next, ++at) {
        if (node->next && node->next->prev != node) {
            fault << "the node after position " << at << " does not lead back to it";
            return fault.str();
        }
        if (!Values<T>::Same(node->value, model[at])) {
            fault << "the value at position " << at << " differs from the model";
            return fault.str();
        }
        if (at == n - 1 && node != list.last) return "last is not the node at position count - 1";
        int expected = -1;
        if (node == list.first) expected = 0;
        if (node == list.last) expected = n - 1;
        if (node == list.cursor) {
            cursorSeen = true;
            if (at != cursorAt) {
                fault << "the cursor is on position " << at << ", expected " << cursorAt;
                return fault.str();
            }
            expected = at;
        }
        if (node->index != expected) {
            fault << "the node at position " << at << " caches " << node->index << ", expected " << expected;
            return fault.str();
        }
    }
    if (node) return "more nodes are linked than count says";
    if (at < n) return "fewer nodes are linked than count says";
    if (!cursorSeen) return "the cursor is not a node of the list";
    return "";
}

// One seeded random run: the list and a model receive the same calls; every
// result, value and reference is compared, and the structure after each call.
template <typename T>
class DifferentialRun {
public:
    explicit DifferentialRun(uint32_t seed) : random_(seed) {}

    void Run(int steps) {
        int capacity = 8;
        for (int step = 0; step < steps; ++step) {
            // Phases of different sizes keep the empty, one- and two-node
            // lists as busy as the long ones.
            if (step % 400 == 0) {
                static const int capacities[] = {0, 1, 2, 3, 6, 20, 150};
                capacity = capacities[Below(7)];
            }
            std::string call;
            int roll = Below(100);
            int n = Size();
            int appendShare = n < capacity ? 45 : 8;
            if (roll < appendShare) {
                call = Append();
            } else if (roll < appendShare + 32 && n > 0) {
                call = At();
            } else if (roll < appendShare + 45) {
                call = Relink();
            } else if (roll < appendShare + 49) {
                call = RemoveWhere();
            } else {
                call = Remove();
            }
            ASSERT_EQ("", call) << "step " << step;
            ASSERT_EQ("", CheckStructure(list_, model_, cursorAt_)) << "step " << step << ", after " << last_;
        }
    }

private:
    int Size() const { return static_cast<int>(model_.size()); }
    int Below(int bound) { return static_cast<int>(random_() % static_cast<uint32_t>(bound)); }

    // A position for At or Remove: mostly inside the list, near the cursor
    // or at its ends, sometimes -1, another negative, count or beyond.
    int32_t Position() {
        int n = Size();
        switch (Below(12)) {
            case 0: return -1;
            case 1: {
                static const int32_t negatives[] = {-2, -5, -1000, INT32_MIN};
                return negatives[Below(4)];
            }
            case 2: return n;
            case 3: {
                static const int32_t beyond[] = {1, 7, 1000, INT32_MAX};
                int32_t extra = beyond[Below(4)];
                return extra > INT32_MAX - n ? INT32_MAX : n + extra;
            }
            case 4:
            case 5:
                if (cursorAt_ >= 0) return cursorAt_ + Below(5) - 2;
                return 0;
            case 6: return n - 1 - Below(3);
            default: return n > 0 ? Below(n) : 0;
        }
    }

    std::string Append() {
        T value = Values<T>::Make(random_);
        last_ = "Append";
        if (!list_.Append(value)) return "Append failed";
        model_.push_back(value);
        addresses_.push_back(list_.last ? &list_.last->value : nullptr);
        cursorAt_ = Size() - 1;
        return "";
    }

    std::string At() {
        int32_t i = Position();
        std::ostringstream call;
        call << "At(" << i << ")";
        last_ = call.str();
        int n = Size();
        int clamped = i < 0 ? 0 : (i >= n ? n - 1 : i);
        const T& found = list_.At(i);
        if (!Values<T>::Same(found, model_[clamped])) return last_ + " returned a wrong value";
        if (&found != addresses_[clamped]) return last_ + " returned a value that has moved";
        // The first and last short cuts answer without moving the cursor.
        if (clamped != cursorAt_ && clamped != 0 && clamped != n - 1) cursorAt_ = clamped;
        return "";
    }

    std::string Relink() {
        bool fixFirst = Below(2) == 1;
        bool fixLast = Below(2) == 1;
        std::ostringstream call;
        call << "Relink(" << fixFirst << ", " << fixLast << ")";
        last_ = call.str();
        if (!list_.Relink(fixFirst, fixLast)) return last_ + " returned false";
        if (fixFirst || fixLast) cursorAt_ = Size() > 0 ? 0 : -1;
        return "";
    }

    std::string Remove() {
        int32_t from;
        int32_t to;
        bool oneArgument = false;
        int n = Size();
        switch (Below(10)) {
            case 0:
            case 1:
                from = Position();
                to = -1;
                oneArgument = Below(2) == 1;
                break;
            case 2:
            case 3:
            case 4:
                from = n > 0 ? Below(n) : 0;
                to = from + Below(6);
                break;
            case 5:
                from = -1;
                to = Below(20) == 0 ? -1 : Position();
                break;
            default:
                from = Position();
                to = Position();
                break;
        }
        std::ostringstream call;
        call << "Remove(" << from << ", " << to << ")";
        last_ = call.str();

        bool expected = ModelRemove(from, to);
        bool result = oneArgument ? list_.Remove(from) : list_.Remove(from, to);
        if (result != expected) return last_ + (expected ? " returned false" : " returned true");
        if (result) cursorAt_ = Size() > 0 ? 0 : -1;
        return "";
    }

    // Drops a random third of the values; each must be asked about once, in order.
    std::string RemoveWhere() {
        last_ = "RemoveWhere";
        std::vector<bool> drop;
        for (int k = 0; k < Size(); ++k) drop.push_back(Below(3) == 0);
        size_t asked = 0;
        bool inOrder = true;
        int32_t removed = list_.RemoveWhere([&](const T& value) {
            if (asked >= model_.size() || !Values<T>::Same(value, model_[asked])) inOrder = false;
            return asked < drop.size() && drop[asked++];
        });
        if (!inOrder || asked != drop.size()) return "RemoveWhere did not ask about each value once, in order";
        for (size_t k = drop.size(); k-- > 0;) {
            if (!drop[k]) continue;
            model_.erase(model_.begin() + long(k));
            addresses_.erase(addresses_.begin() + long(k));
            --removed;
        }
        if (removed != 0) return "RemoveWhere counted wrong";
        cursorAt_ = Size() > 0 ? 0 : -1;
        return "";
    }

    // The documented meaning of Remove's arguments, on the model.
    bool ModelRemove(int32_t from, int32_t to) {
        int n = Size();
        if (to == -1) to = from;
        if (from < -1 || to < -1) return false;
        if (from > to || from >= n || to >= n) return false;
        if (n == 0) return true;
        if (from == -1) from = 0;
        if (to == -1) to = n - 1;
        model_.erase(model_.begin() + from, model_.begin() + to + 1);
        addresses_.erase(addresses_.begin() + from, addresses_.begin() + to + 1);
        return true;
    }

    std::mt19937 random_;
    IndexedList<T> list_;
    std::vector<T> model_;
    std::vector<const T*> addresses_;  // where each value lives since its Append
    int cursorAt_ = -1;
    std::string last_;
};

// Seeds to run: a fixed set, or the one in INDEXED_LIST_SEED to replay a
// failure printed by an earlier run.
std::vector<uint32_t> Seeds() {
    if (const char* chosen = std::getenv("INDEXED_LIST_SEED")) {
        return {static_cast<uint32_t>(std::strtoul(chosen, nullptr, 10))};
    }
    std::vector<uint32_t> seeds;
    for (uint32_t seed = 1; seed <= 12; ++seed) seeds.push_back(seed * 2654435761u);
    return seeds;
}

template <typename T>
class IndexedListDifferential : public ::testing::Test {};

using ElementTypes = ::testing::Types<int, PathBuffer, ProgramEntry>;
TYPED_TEST_SUITE(IndexedListDifferential, ElementTypes);

TYPED_TEST(IndexedListDifferential, AgreesWithAVectorOverRandomCalls) {
    for (uint32_t seed : Seeds()) {
        SCOPED_TRACE(::testing::Message() << "replay with INDEXED_LIST_SEED=" << seed);
        DifferentialRun<TypeParam> run(seed);
        run.Run(4000);
        if (::testing::Test::HasFatalFailure()) return;
    }
}

// A list of the given ints, appended in order.
void Fill(IndexedList<int>& list, std::initializer_list<int> values) {
    for (int value : values) ASSERT_TRUE(list.Append(value));
}

std::vector<int> Walk(IndexedList<int>& list) {
    std::vector<int> values;
    for (int32_t i = 0; i < list.Count(); ++i) values.push_back(list.At(i));
    return values;
}

TEST(IndexedListLookup, ClampsPositionsOutsideTheList) {
    IndexedList<int> list;
    Fill(list, {10, 20, 30});
    EXPECT_EQ(10, list.At(-5));
    EXPECT_EQ(30, list.At(7));
    EXPECT_EQ(10, list.At(INT32_MIN));
    EXPECT_EQ(30, list.At(INT32_MAX));
    EXPECT_EQ("", CheckStructure(list, std::vector<int>{10, 20, 30}, 2));
}

TEST(IndexedListLookup, ReferenceStaysValidWhileOtherNodesComeAndGo) {
    IndexedList<int> list;
    Fill(list, {1, 2, 3, 4});
    int& third = list.At(2);
    third = 33;
    for (int i = 0; i < 100; ++i) ASSERT_TRUE(list.Append(100 + i));
    ASSERT_TRUE(list.Remove(0, 1));
    ASSERT_TRUE(list.Remove(50, -1));
    EXPECT_EQ(&third, &list.At(0));
    EXPECT_EQ(33, third);
}

TEST(IndexedListAppend, SecondNodeTakesPositionOneAndFirstKeepsZero) {
    IndexedList<int> list;
    Fill(list, {7});
    IndexedList<int>::Node* one = list.first;
    ASSERT_TRUE(list.Append(8));
    EXPECT_EQ(one, list.first);
    EXPECT_EQ(0, list.first->index);
    EXPECT_EQ(1, list.last->index);
    EXPECT_EQ(list.last, list.cursor);
    EXPECT_EQ(8, list.last->value);
}

TEST(IndexedListRemove, SingleMiddleNode) {
    IndexedList<int> list;
    Fill(list, {1, 2, 3});
    EXPECT_TRUE(list.Remove(1, -1));
    EXPECT_EQ(2, list.Count());
    EXPECT_EQ(list.first, list.cursor);
    EXPECT_EQ("", CheckStructure(list, std::vector<int>{1, 3}, 0));
}

TEST(IndexedListRemove, EverythingOnEmptyAndNonEmptyLists) {
    IndexedList<int> empty;
    EXPECT_TRUE(empty.Remove(-1, -1));
    EXPECT_EQ("", CheckStructure(empty, std::vector<int>{}, -1));

    IndexedList<int> list;
    Fill(list, {1, 2, 3});
    list.At(1);
    EXPECT_TRUE(list.Remove(-1, -1));
    EXPECT_EQ(nullptr, list.first);
    EXPECT_EQ(nullptr, list.last);
    EXPECT_EQ(nullptr, list.cursor);
    EXPECT_EQ(0, list.Count());
    // An emptied list works like a new one.
    Fill(list, {4});
    EXPECT_EQ("", CheckStructure(list, std::vector<int>{4}, 0));
}

TEST(IndexedListRemove, InvalidRangesChangeNothing) {
    IndexedList<int> list;
    Fill(list, {1, 2, 3});
    list.At(1);
    EXPECT_FALSE(list.Remove(2, 1));
    EXPECT_FALSE(list.Remove(3, -1));
    EXPECT_FALSE(list.Remove(0, 3));
    EXPECT_FALSE(list.Remove(-2, -1));
    EXPECT_FALSE(list.Remove(-2, 1));
    EXPECT_FALSE(list.Remove(0, -2));
    EXPECT_EQ("", CheckStructure(list, std::vector<int>{1, 2, 3}, 1));

    IndexedList<int> empty;
    EXPECT_FALSE(empty.Remove(0, -1));
    EXPECT_EQ("", CheckStructure(empty, std::vector<int>{}, -1));
}

TEST(IndexedListRemove, WalkAfterwardsKeepsTheOrder) {
    IndexedList<int> list;
    for (int i = 0; i < 20; ++i) ASSERT_TRUE(list.Append(i));
    list.At(15);
    ASSERT_TRUE(list.Remove(3, 6));
    ASSERT_TRUE(list.Remove(10, -1));
    ASSERT_TRUE(list.Remove(0));
    EXPECT_EQ((std::vector<int>{1, 2, 7, 8, 9, 10, 11, 12, 13, 15, 16, 17, 18, 19}), Walk(list));
    // Backwards too, which walks from the cursor or the far end.
    std::vector<int> backwards;
    for (int32_t i = list.Count() - 1; i >= 0; --i) backwards.push_back(list.At(i));
    EXPECT_EQ((std::vector<int>{19, 18, 17, 16, 15, 13, 12, 11, 10, 9, 8, 7, 2, 1}), backwards);
}

// Relink's real work: repairing the list after nodes were linked in or the
// ends lost by code outside the list.
TEST(IndexedListRelink, FindsNodesLinkedInFrontAndBehindByHand) {
    using Node = IndexedList<int>::Node;
    IndexedList<int> list;
    Fill(list, {1, 2, 3});
    Node* front = new Node{0, nullptr, list.first, -1};
    list.first->prev = front;
    Node* back = new Node{4, list.last, nullptr, -1};
    list.last->next = back;

    EXPECT_TRUE(list.Relink(true, true));
    EXPECT_EQ(front, list.first);
    EXPECT_EQ(back, list.last);
    EXPECT_EQ(list.first, list.cursor);
    EXPECT_EQ(5, list.Count());
    EXPECT_EQ(0, list.first->index);
    EXPECT_EQ(4, list.last->index);
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4}), Walk(list));
}

TEST(IndexedListRelink, FixesOnlyTheEndsItIsAskedTo) {
    using Node = IndexedList<int>::Node;
    IndexedList<int> list;
    Fill(list, {1, 2});
    Node* front = new Node{0, nullptr, list.first, -1};
    list.first->prev = front;
    EXPECT_TRUE(list.Relink(true, false));
    EXPECT_EQ(front, list.first);
    EXPECT_EQ(3, list.Count());

    Node* back = new Node{3, list.last, nullptr, -1};
    list.last->next = back;
    EXPECT_TRUE(list.Relink(false, true));
    EXPECT_EQ(back, list.last);
    EXPECT_EQ(4, list.Count());
    EXPECT_EQ(3, list.last->index);
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3}), Walk(list));
}

TEST(IndexedListRelink, RecoversALostEndFromTheOther) {
    IndexedList<int> list;
    Fill(list, {1, 2, 3});
    list.first = nullptr;
    EXPECT_TRUE(list.Relink(true, false));
    EXPECT_EQ("", CheckStructure(list, std::vector<int>{1, 2, 3}, 0));

    list.last = nullptr;
    EXPECT_TRUE(list.Relink(false, true));
    EXPECT_EQ("", CheckStructure(list, std::vector<int>{1, 2, 3}, 0));
}

TEST(IndexedListRelink, WithoutFlagsTouchesNothing) {
    IndexedList<int> list;
    Fill(list, {1, 2, 3});
    list.first = nullptr;
    EXPECT_TRUE(list.Relink(false, false));
    EXPECT_EQ(nullptr, list.first);
    EXPECT_EQ(3, list.Count());
    EXPECT_TRUE(list.Relink(true, true));
    EXPECT_EQ((std::vector<int>{1, 2, 3}), Walk(list));
}

}  // namespace

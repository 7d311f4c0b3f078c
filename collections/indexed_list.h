// IndexedList: the program's one container. A doubly linked list of values
// held by value and read by position. The list remembers the node the last
// append or lookup ended on (the cursor), so a walk At(0), At(1), ... costs
// one step per call instead of a walk from the head each time.
//
// Cached positions: first->index is 0, last->index is count - 1 and
// cursor->index is the cursor's true position. Those three are the only
// positions any operation reads, and every other node holds -1 (after an
// outside change repaired by Relink, a node that was first or last before it
// may keep a stale position, which is never read either).
#pragma once

#include <cstdint>
#include <new>

template <typename T>
class IndexedList {
public:
    struct Node {
        T value;
        Node* prev;
        Node* next;
        int32_t index;
    };

    Node* first;
    Node* last;
    Node* cursor;
    int32_t count;

    IndexedList() : first(nullptr), last(nullptr), cursor(nullptr), count(0) {}
    ~IndexedList() { Remove(-1, -1); }
    IndexedList(const IndexedList&) = delete;
    IndexedList& operator=(const IndexedList&) = delete;

    int32_t Count() const { return count; }

    // Adds a copy of value as the new last node and leaves the cursor on it.
    // False when memory ran out; the list is then unchanged.
    bool Append(T value) {
        Node* node = new (std::nothrow) Node;
        if (!node) return false;
        node->value = value;
        node->next = nullptr;
        if (!first) {
            node->prev = nullptr;
            node->index = 0;
            first = last = cursor = node;
            count = 1;
            return true;
        }
        if (cursor != last && cursor != first) cursor->index = -1;
        node->index = last->index + 1;
        if (last != first) last->index = -1;
        node->prev = last;
        last->next = node;
        last = node;
        cursor = node;
        ++count;
        return true;
    }

    // The value at position i, clamped into 0 .. count - 1. The list must not
    // be empty. Walks from the cursor or from the nearer end, whichever is
    // closest, and leaves the cursor on the node returned.
    T& At(int32_t i) {
        if (i < 0) i = 0;
        if (i >= count) i = count - 1;
        if (i == cursor->index) return cursor->value;
        if (i == first->index) return first->value;
        if (i == last->index) return last->value;

        int32_t fromCursor = i > cursor->index ? i - cursor->index : cursor->index - i;
        int32_t fromFirst = i;
        int32_t fromLast = last->index - i;
        if (fromCursor > fromFirst || fromCursor > fromLast) {
            if (cursor != first && cursor != last) cursor->index = -1;
            cursor = fromLast < fromFirst ? last : first;
        }
        while (i > cursor->index) {
            Node* left = cursor;
            cursor = cursor->next;
            cursor->index = left->index + 1;
            if (left != first) left->index = -1;
        }
        while (i < cursor->index) {
            Node* right = cursor;
            cursor = cursor->prev;
            cursor->index = right->index - 1;
            if (right != last) right->index = -1;
        }
        return cursor->value;
    }

    // Removes the nodes from position `from` to `to`, both included. A `to`
    // of -1 means `from` alone; then a `from` of -1 means 0 and a `to` of -1
    // means the last position, so Remove(-1, -1) empties the list. False,
    // with nothing changed, for a range outside the list. Leaves the cursor
    // on the first node.
    bool Remove(int32_t from, int32_t to = -1) {
        if (to == -1) to = from;
        if (from > to || from >= count || to >= count || from < -1 || to < -1) return false;
        if (!first) return true;
        if (from == -1) from = 0;
        if (to == -1) to = count - 1;

        // The cursor may be freed below; the list forgets it here, so that
        // Relink has nothing stale to read.
        if (cursor != first && cursor != last) cursor->index = -1;
        cursor = nullptr;

        Node* runFirst = first;
        for (int32_t at = 0; at < from; ++at) runFirst = runFirst->next;
        Node* runLast = runFirst;
        for (int32_t at = from; at < to; ++at) runLast = runLast->next;

        Node* before = runFirst->prev;
        Node* after = runLast->next;
        if (before) before->next = after; else first = after;
        if (after) after->prev = before; else last = before;
        runFirst->prev = nullptr;
        runLast->next = nullptr;

        for (Node* node = runFirst; node;) {
            Node* next = node->next;
            delete node;
            node = next;
        }
        Relink(true, true);
        return true;
    }

    // Removes every node whose value `unwanted` holds true of, asking about
    // each value once, in list order, in one walk: a filter that removed its
    // misses one by one with Remove would walk the list again for each. The
    // other values keep their order. Leaves the cursor on the first node, as
    // Remove does. Returns how many were removed.
    template <typename Predicate>
    int32_t RemoveWhere(Predicate unwanted) {
        int32_t removed = 0;
        for (Node* node = first; node;) {
            Node* next = node->next;
            if (!unwanted(node->value)) {
                node->index = -1;
                node = next;
                continue;
            }
            Node* before = node->prev;
            if (before) before->next = next; else first = next;
            if (next) next->prev = before; else last = before;
            delete node;
            ++removed;
            node = next;
        }
        count -= removed;
        cursor = first;
        if (first) {
            first->index = 0;
            last->index = count - 1;
        }
        return removed;
    }

    // Repairs first, last, count, the cached positions and the cursor from
    // the links alone, after a structural change. The cursor must be null or
    // a node that is still in the list. Always true.
    bool Relink(bool fixFirst, bool fixLast) {
        if (!fixFirst && !fixLast) return true;
        if (fixFirst && !first) first = last;
        if (fixLast && !last) last = first;
        if (!first || !last) {
            cursor = nullptr;
            count = 0;
            return true;
        }
        if (fixFirst) while (first->prev) first = first->prev;
        if (fixLast) while (last->next) last = last->next;
        count = 0;
        for (Node* node = first; node; node = node->next) ++count;
        if (cursor && cursor != first && cursor != last) cursor->index = -1;
        first->index = 0;
        last->index = count - 1;
        cursor = first;
        return true;
    }
};

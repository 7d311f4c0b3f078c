// ParseMenuText: what each menu text turns into. Every text is parsed from
// the very end of its own heap block, so a read past the terminating NUL is
// an AddressSanitizer error rather than a silent success.
#include "catalogue/menu_parser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "tests/support/latin1_decoding.h"

namespace {

struct Entry {
    std::string path;
    std::string name;
    bool operator==(const Entry& other) const { return path == other.path && name == other.name; }
};

void PrintTo(const Entry& entry, std::ostream* out) {
    *out << "{path " << ::testing::PrintToString(entry.path) << ", name "
         << ::testing::PrintToString(entry.name) << "}";
}

// A field must hold its text, a NUL, and nothing but NULs after it.
::testing::AssertionResult ZeroFilled(const char* field, size_t width) {
    size_t length = strnlen(field, width);
    if (length == width) return ::testing::AssertionFailure() << "field of " << width << " bytes has no NUL";
    for (size_t i = length; i < width; ++i) {
        if (field[i] != '\0') {
            return ::testing::AssertionFailure() << "byte " << i << " after the text is not zero";
        }
    }
    return ::testing::AssertionSuccess();
}

// Parses `text` (which may hold NULs of its own) placed at the end of an
// exactly sized heap block with one terminating NUL, and returns the records
// the list holds afterwards, each checked for terminated, zero-filled fields.
std::vector<Entry> ParseInto(IndexedList<ProgramEntry>& entries, const std::string& text,
                             const unsigned char* lost = nullptr) {
    char* block = static_cast<char*>(std::malloc(text.size() + 1));
    std::memcpy(block, text.data(), text.size());
    block[text.size()] = '\0';
    ParseMenuText(block, entries, lost);
    std::free(block);

    std::vector<Entry> records;
    for (int32_t i = 0; i < entries.Count(); ++i) {
        const ProgramEntry& entry = entries.At(i);
        EXPECT_TRUE(ZeroFilled(entry.path, sizeof entry.path)) << "path of record " << i;
        EXPECT_TRUE(ZeroFilled(entry.name, sizeof entry.name)) << "name of record " << i;
        records.push_back({std::string(entry.path, strnlen(entry.path, sizeof entry.path)),
                           std::string(entry.name, strnlen(entry.name, sizeof entry.name))});
    }
    return records;
}

std::vector<Entry> Parse(const std::string& text, const unsigned char* lost = nullptr) {
    IndexedList<ProgramEntry> entries;
    return ParseInto(entries, text, lost);
}

using Entries = std::vector<Entry>;

TEST(MenuParserMarkers, OneEntryClosedByE) {
    EXPECT_EQ((Entries{{"C:\\Tools\\edit.exe", "Editor"}}), Parse("*p*C:\\Tools\\edit.exe*n*Editor*e*"));
}

TEST(MenuParserMarkers, FreeTextAroundEntriesIsIgnored) {
    EXPECT_EQ((Entries{{"a.exe", "A"}, {"b.exe", "B"}}),
              Parse("Programme der Abteilung\r\n*p*a.exe*n*A*e*\r\n"
                    "comment with *n* and *e* in it\r\n*p*b.exe*n*B*e* trailing text"));
}

TEST(MenuParserMarkers, TextWithoutAnEntryGivesNothing) {
    EXPECT_EQ(Entries{}, Parse(""));
    EXPECT_EQ(Entries{}, Parse("no entries here, only *n* and *e* markers"));
    EXPECT_EQ(Entries{}, Parse("*p"));
    EXPECT_EQ(Entries{}, Parse("*"));
}

TEST(MenuParserMarkers, CapitalisedMarkersArePlainText) {
    EXPECT_EQ(Entries{}, Parse("*P*a.exe*N*A*E*"));
    EXPECT_EQ((Entries{{"a*N*b", "c*E*d*P*x"}}), Parse("*p*a*N*b*n*c*E*d*P*x*e*"));
}

TEST(MenuParserMarkers, BlanksAndBytesAreKeptAsTheyAre) {
    EXPECT_EQ((Entries{{" C:\\Program Files\\a b.exe ", " Sch\xF6ne \xC4nderung\t"}}),
              Parse("*p* C:\\Program Files\\a b.exe *n* Sch\xF6ne \xC4nderung\t*e*"));
}

TEST(MenuParserMarkers, PathSearchStartsAtItsSecondByte) {
    EXPECT_EQ((Entries{{"*n*x", ""}}), Parse("*p**n*x"));
    EXPECT_EQ((Entries{{"*n*", "y"}}), Parse("*p**n**n*y"));
}

TEST(MenuParserMarkers, NameSearchStartsAtItsSecondByte) {
    EXPECT_EQ((Entries{{"a", "*e*"}}), Parse("*p*a*n**e*"));
    EXPECT_EQ((Entries{{"a", "*p*b*n*c"}}), Parse("*p*a*n**p*b*n*c"));
}

TEST(MenuParserMarkers, TheLastStarOfAnEndMarkerMayOpenTheNextEntry) {
    // After "*e*" the text is read byte by byte again, from the marker's
    // second byte on, so "*e*p*" holds a "*p*".
    EXPECT_EQ((Entries{{"a", "A"}, {"b", "B"}}), Parse("*p*a*n*A*e*p*b*n*B*e*"));
}

TEST(MenuParserNextEntry, NameRunsUpToTheNextPIncludingLineBreaks) {
    EXPECT_EQ((Entries{{"a.exe", "Erstes\r\n"}, {"b.exe", "Zweites\r\n"}}),
              Parse("*p*a.exe*n*Erstes\r\n*p*b.exe*n*Zweites\r\n"));
}

TEST(MenuParserNextEntry, ClosingMarkersMayBeMixed) {
    EXPECT_EQ((Entries{{"a", "A\n"}, {"b", "B"}, {"c", "C"}, {"d", "D\n"}}),
              Parse("*p*a*n*A\n*p*b*n*B*e*\n*p*c*n*C*p*d*n*D\n"));
}

TEST(MenuParserNextEntry, EntriesGoAfterThoseAlreadyInTheList) {
    IndexedList<ProgramEntry> entries;
    EXPECT_EQ((Entries{{"a", "A"}, {"b", "B"}}), ParseInto(entries, "*p*a*n*A*e**p*b*n*B*e*"));
    EXPECT_EQ((Entries{{"a", "A"}, {"b", "B"}, {"c", "C"}}), ParseInto(entries, "*p*c*n*C*e*"));
    EXPECT_EQ((Entries{{"a", "A"}, {"b", "B"}, {"c", "C"}}), ParseInto(entries, "nothing"));
    EXPECT_EQ((Entries{{"a", "A"}, {"b", "B"}, {"c", "C"}, {"d", "D"}}), ParseInto(entries, "*p*d*n*D"));
}

TEST(MenuParserTruncation, NameIsCutToFortyNineBytes) {
    std::string name49(49, 'n');
    std::string name50 = std::string(49, 'm') + "X";
    std::string name300(300, 'o');
    EXPECT_EQ((Entries{{"a", name49}, {"b", std::string(49, 'm')}, {"c", std::string(49, 'o')}, {"d", "D"}}),
              Parse("*p*a*n*" + name49 + "*e*" + "*p*b*n*" + name50 + "*e*" + "*p*c*n*" + name300 +
                    "*p*d*n*D*e*"));
    // The same at the end of the text, where the name has no closing marker.
    EXPECT_EQ((Entries{{"e", std::string(49, 'o')}}), Parse("*p*e*n*" + name300));
}

TEST(MenuParserTruncation, PathOfTwoHundredFiftyNineBytesIsKept) {
    std::string path(259, 'p');
    EXPECT_EQ((Entries{{path, "P"}}), Parse("*p*" + path + "*n*P*e*"));
    EXPECT_EQ((Entries{{path, ""}}), Parse("*p*" + path));
    EXPECT_EQ((Entries{{path, "Q"}, {"\"a\"b\"", "R"}}), Parse("*p*\"" + path + "\"*n*Q*e**p*\"a\"b\"*n*R*e*")) << "one pair of quotes off";
}

TEST(MenuParserTruncation, LongerPathSkipsItsEntryOnly) {
    std::string path260 = std::string(259, 'q') + "Z";
    std::string path1000(1000, 'r');
    EXPECT_EQ((Entries{{"a", "A"}, {"b", "B"}, {"c", "C"}}),
              Parse("*p*a*n*A*e*\r\n*p*" + path260 + "*n*Long*e*\r\n*p*b*n*B*e*\r\n*p*" + path1000 +
                    "*n*Longer*p*c*n*C*e*"));
    // At the end of the text, with or without a name.
    EXPECT_EQ((Entries{{"a", "A"}}), Parse("*p*a*n*A*e**p*" + path260));
    EXPECT_EQ((Entries{{"a", "A"}}), Parse("*p*a*n*A*e**p*" + path260 + "*n*name"));
}

TEST(MenuParserEndOfText, InsideAnEntry) {
    EXPECT_EQ((Entries{{"", ""}}), Parse("*p*"));
    EXPECT_EQ((Entries{{"", ""}}), Parse("free text *p*"));
    EXPECT_EQ((Entries{{"path", ""}}), Parse("*p*path"));
    EXPECT_EQ((Entries{{"path", ""}}), Parse("*p*path*n*"));
    EXPECT_EQ((Entries{{"path", "name"}}), Parse("*p*path*n*name"));
    EXPECT_EQ((Entries{{"path", "name\r\n"}}), Parse("*p*path*n*name\r\n"));
}

TEST(MenuParserEndOfText, InsideAMarker) {
    EXPECT_EQ((Entries{{"path*", ""}}), Parse("*p*path*"));
    EXPECT_EQ((Entries{{"path*n", ""}}), Parse("*p*path*n"));
    EXPECT_EQ((Entries{{"path", "name*"}}), Parse("*p*path*n*name*"));
    EXPECT_EQ((Entries{{"path", "name*e"}}), Parse("*p*path*n*name*e"));
    EXPECT_EQ((Entries{{"path", "name*p"}}), Parse("*p*path*n*name*p"));
    EXPECT_EQ((Entries{{"a", "A"}, {"", ""}}), Parse("*p*a*n*A*p*"));
}

TEST(MenuParserEndOfText, NulInsideTheTextEndsIt) {
    using namespace std::string_literals;
    EXPECT_EQ((Entries{{"a", "A"}}), Parse("*p*a*n*A*e*\0*p*b*n*B*e*"s));
    EXPECT_EQ((Entries{{"a", "Na"}}), Parse("*p*a*n*Na\0me*e*"s));
    EXPECT_EQ((Entries{{"pa", ""}}), Parse("*p*pa\0th*n*x"s));
    EXPECT_EQ(Entries{}, Parse("*p\0*a*n*b"s));
    EXPECT_EQ(Entries{}, Parse("\0*p*a*n*b"s));
}

// Every prefix of a text rich in markers ends the text at a different place
// inside an entry or a marker; parsed from the end of a heap block, each one
// would show a read past the NUL.
TEST(MenuParserEndOfText, NoPrefixReadsPastTheEnd) {
    const std::string text = "x*p*C:\\a b*n*Name*e*\r\n*p**n*y*p*z*n*W*e*p*q*n*";
    for (size_t length = 0; length <= text.size(); ++length) {
        SCOPED_TRACE(::testing::Message() << "prefix of " << length << " bytes");
        std::vector<Entry> records = Parse(text.substr(0, length));
        if (length < 4) {
            EXPECT_EQ(Entries{}, records);
        } else if (length == text.size()) {
            EXPECT_EQ((Entries{{"C:\\a b", "Name"}, {"*n*y*p*z", "W"}, {"q", ""}}), records);
        }
    }
}

// A plain reading of the format, byte by byte, to compare the parser with
// on random texts.
Entries ReferenceParse(const std::string& all) {
    const std::string text = all.substr(0, all.find('\0'));
    const size_t n = text.size();
    auto marker = [&](size_t at, char letter) {
        return at + 3 <= n && text[at] == '*' && text[at + 1] == letter && text[at + 2] == '*';
    };
    Entries records;
    auto add = [&](const std::string& path, const std::string& name) {
        if (path.size() > 259) return;
        records.push_back({path, name.substr(0, 49)});
    };
    size_t at = 0;
    while (at < n) {
        if (!marker(at, 'p')) {
            ++at;
            continue;
        }
        size_t path = at + 3;
        size_t pathEnd = path + 1;
        while (pathEnd < n && !marker(pathEnd, 'n')) ++pathEnd;
        if (pathEnd >= n) {
            add(text.substr(path), "");
            break;
        }
        size_t name = pathEnd + 3;
        size_t nameEnd = name + 1;
        while (nameEnd < n && !marker(nameEnd, 'p') && !marker(nameEnd, 'e')) ++nameEnd;
        if (nameEnd >= n) {
            add(text.substr(path, pathEnd - path), text.substr(name));
            break;
        }
        add(text.substr(path, pathEnd - path), text.substr(name, nameEnd - name));
        at = nameEnd;
    }
    return records;
}

std::string RandomText(std::mt19937& random) {
    static const char* const pieces[] = {"*p*", "*n*", "*e*", "*P*", "*N*", "*",  "p",   "n",
                                         "e",   "*p",  "n*",  "a",   " ",   "\r\n", "\xE4", "\0"};
    static const size_t lengths[] = {48, 49, 50, 258, 259, 260, 261};
    std::string text;
    size_t pieceCount = random() % 40;
    for (size_t i = 0; i < pieceCount; ++i) {
        size_t choice = random() % 18;
        if (choice < 16) {
            text.append(pieces[choice], choice == 15 ? 1 : std::strlen(pieces[choice]));
        } else {
            // Long runs land the fields on both sides of their size limits.
            text.append(lengths[random() % 7] - random() % 4, 'x');
        }
    }
    return text;
}

TEST(MenuParserReference, AgreesWithAPlainReadingOnRandomTexts) {
    uint32_t seed = 20240613;
    if (const char* chosen = std::getenv("MENU_PARSER_SEED")) seed = std::strtoul(chosen, nullptr, 10);
    SCOPED_TRACE(::testing::Message() << "replay with MENU_PARSER_SEED=" << seed);
    std::mt19937 random(seed);
    for (int round = 0; round < 3000; ++round) {
        std::string text = RandomText(random);
        ASSERT_EQ(ReferenceParse(text), Parse(text)) << "round " << round << ", text "
                                                     << ::testing::PrintToString(text);
    }
}

// The scanner is what the menu checker reads. Its spans must describe exactly
// the entries the parser keeps: records built from them by the record rule
// (path of at most 259 bytes or no record, name cut to 49) equal the
// parser's, and every span lies inside the text and ends where its marker is.
TEST(MenuScannerSpans, BuildTheParsersRecordsOnRandomTexts) {
    std::mt19937 random(20261208);
    for (int round = 0; round < 3000; ++round) {
        std::string text = RandomText(random);
        std::string block = text + '\0';
        const size_t length = std::strlen(block.c_str());
        SCOPED_TRACE(::testing::Message() << "round " << round << ", text " << ::testing::PrintToString(text));

        MenuScanner scanner;
        StartMenuScan(scanner, block.c_str());
        MenuEntrySpan span;
        Entries fromSpans, fromMakeProgramEntry;
        size_t previousEnd = 0;
        while (ScanMenuEntry(scanner, span)) {
            ASSERT_GE(span.opening, previousEnd) << "spans overlap or go backwards";
            ASSERT_EQ(block.compare(span.opening, 3, "*p*"), 0);
            ASSERT_EQ(span.path, span.opening + 3);
            ASSERT_LE(span.path + span.pathLength, span.name);
            ASSERT_LE(span.name + span.nameLength, length);
            size_t end = span.name + span.nameLength;
            if (span.closedBy == '\0') {
                ASSERT_EQ(end, length) << "an entry cut by the end of the text must reach it";
            } else {
                ASSERT_TRUE(span.closedBy == 'p' || span.closedBy == 'e');
                ASSERT_EQ(block.compare(end, 3, std::string("*") + span.closedBy + "*"), 0);
            }
            previousEnd = end;

            std::string path = block.substr(span.path, span.pathLength);
            if (path.size() <= 259) fromSpans.push_back({path, block.substr(span.name, std::min<size_t>(span.nameLength, 49))});
            ProgramEntry entry;
            if (MakeProgramEntry(block.c_str(), span, entry)) {
                EXPECT_TRUE(ZeroFilled(entry.path, sizeof entry.path));
                EXPECT_TRUE(ZeroFilled(entry.name, sizeof entry.name));
                fromMakeProgramEntry.push_back({entry.path, entry.name});
            }
        }
        std::vector<Entry> parsed = Parse(text);
        ASSERT_EQ(fromSpans, parsed);
        ASSERT_EQ(fromMakeProgramEntry, parsed);
    }
}

// The entries of a file's bytes after the decoding step, ISO 8859-1 standing
// in for the system's code page. An ANSI file must pass it unchanged.
Entries ParseDecoded(const std::string& file) {
    size_t size = file.size();
    MenuDecoding decoding;
    char* text = DecodeWithLatin1(file.data(), size, decoding);
    EXPECT_TRUE(decoding.found.encoding != kAnsi || (std::string(text, size) == file && !decoding.lost));
    Entries entries = Parse(std::string(text, size), decoding.lost);
    delete[] text;
    return entries;
}

// Random texts with stray bytes from 0x80 up; the fuzzer does the same for
// its corpus.
TEST(DecodedMenus, AnsiTextsGiveTheEntriesTheyGaveBefore) {
    std::mt19937 random(20261209);
    int ansi = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string text = RandomText(random);
        for (size_t k = random() % 4; k > 0 && !text.empty(); --k) text[random() % text.size()] = char(0x80 | random());
        if (DetectEncoding(text.data(), text.size()).encoding != kAnsi) continue;
        ++ansi;
        ASSERT_EQ(ParseDecoded(text), Parse(text)) << ::testing::PrintToString(text);
    }
    EXPECT_GT(ansi, 2900);
}

// Random menus saved as UTF-8, with and without a mark, and as UTF-16 give
// the entries of their ANSI form, less those whose path holds the "?" of a
// character without one (the pieces hold no "?" of their own).
TEST(DecodedMenus, Utf8AndUtf16TextsGiveTheEntriesOfTheirAnsiForm) {
    const struct { const char* utf8; const char16_t* utf16; const char* latin1; } pieces[] = {
                  {"*p*", u"*p*", "*p*"}, {"*n*", u"*n*", "*n*"}, {"*e*", u"*e*", "*e*"}, {"*", u"*", "*"},
                  {"a", u"a", "a"}, {"\r\n", u"\r\n", "\r\n"}, {"\xC3\xA4", u"\u00E4", "\xE4"},
                  {"\xCE\xA9", u"\u03A9", "?"}, {"\xF0\x9F\x98\x80", u"\U0001F600", "??"}};
    std::mt19937 random(20261210);
    for (int round = 0; round < 2000; ++round) {
        std::string utf8, latin1, le = "\xFF\xFE", be = "\xFE\xFF";
        for (size_t i = random() % 40; i > 0; --i) {
            const auto& piece = pieces[random() % (sizeof pieces / sizeof *pieces)];
            for (size_t k = random() % 8 ? 1 : 45 + random() % 220; k > 0; --k) {  // fields near their limits
                utf8 += piece.utf8;
                latin1 += piece.latin1;
                for (const char16_t* unit = piece.utf16; *unit; ++unit) {
                    le += {char(*unit & 0xFF), char(*unit >> 8)};
                    be += {char(*unit >> 8), char(*unit & 0xFF)};
                }
            }
        }
        Entries expected;
        for (const Entry& entry : Parse(latin1)) {
            if (entry.path.find('?') == std::string::npos) expected.push_back(entry);
        }
        for (const std::string& file : {utf8, "\xEF\xBB\xBF" + utf8, le, be}) {
            ASSERT_EQ(ParseDecoded(file), expected) << "round " << round << ", " << ::testing::PrintToString(file);
        }
    }
}

// Which files are taken for UTF-8: strictly RFC 3629, tried at each of its
// limits from both sides, inside a text and at its end, in exactly sized
// blocks so that ASan catches a read past the file.
TEST(DetectEncoding, Utf8IsStrictAtEveryLimit) {
    const struct { const char* bytes; bool utf8; } cases[] = {
        {"\xC2\x80", true},          {"\xDF\xBF", true},          {"\xC0\x80", false},
        {"\xC1\xBF", false},         {"\xE0\xA0\x80", true},      {"\xE0\x9F\xBF", false},
        {"\xED\x9F\xBF", true},      {"\xED\xA0\x80", false},     {"\xEF\xBF\xBF", true},
        {"\xF0\x90\x80\x80", true},  {"\xF0\x8F\xBF\xBF", false}, {"\xF4\x8F\xBF\xBF", true},
        {"\xF4\x90\x80\x80", false}, {"\xF5\x80\x80\x80", false}, {"\xF7\xBF\xBF\xBF", false},
        {"\xFF", false},             {"\x80", false},             {"\xE2\x82", false},
        {"\xF0\x9F\x98", false},     {"\xE2\x28\xA1", false},     {"\xC3\xBC f\xFCr", false}};
    for (const auto& c : cases) {
        for (const std::string& text : {std::string("ab") + c.bytes, std::string(200, 'a') + c.bytes + "z"}) {
            std::vector<char> exact(text.begin(), text.end());
            EXPECT_EQ(DetectEncoding(exact.data(), exact.size()).encoding, c.utf8 ? kUtf8 : kAnsi)
                << ::testing::PrintToString(text);
        }
    }
    EXPECT_EQ(DetectEncoding("a\xC3\xA4\r\nb\xC3\xB6", 9).evidence, 1u) << "the first multi-byte sequence";
}

// Broken files are read as far as they go: UTF-16 with a NUL character, and
// with an odd last byte, which is no character; UTF-8 after a mark with
// invalid pieces, each of which becomes one U+FFFD, then "?" (and a path with
// one leaves its entry out), and U+10000, the first character that takes two
// UTF-16 units.
// A decoded text beyond the limit is not cut but refused.
TEST(DecodedMenus, BrokenFilesAreReadAsFarAsTheyGoAndLimitsHold) {
    EXPECT_EQ((Entries{{"a", "b"}}), ParseDecoded(std::string("\xFF\xFE*\0p\0*\0a\0*\0n\0*\0b\0\0\0*\0p\0*\0c\0x", 29)));
    EXPECT_EQ((Entries{{"a", "b"}}), ParseDecoded(std::string("\xFF\xFE*\0p\0*\0a\0*\0n\0*\0b\0x", 19)));
    EXPECT_EQ((Entries{{"x", "a??b"}}), ParseDecoded("\xEF\xBB\xBF*p*x*n*a\xF0\x90\x80\x80" "b*e*"));
    EXPECT_EQ((Entries{{"x", "a??b?c???d?????"}}),
              ParseDecoded("\xEF\xBB\xBF*p*x*n*a\xC0\x80" "b\xE2\x82" "c\xED\xA0\x80" "d\xF4\x90\x80\x80\xC3*e**p*\xC3*n*y"));
    MenuDecoding decoding;
    size_t size = 13;
    EXPECT_EQ(DecodeWithLatin1("\xEF\xBB\xBF" "0123456789", size, decoding, 9), nullptr);
    EXPECT_EQ(size, 0u);
}

}  // namespace

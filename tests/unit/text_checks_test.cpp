// menucheck's text checks: which files it takes for UTF-8 or UTF-16, where it
// finds capitalised markers, which paths it calls risky, and its line index.
// Texts sit at the end of exactly sized heap blocks, so ASan catches a read
// past the given size.
#include "menucheck/text_checks.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// A copy of `text` without any byte after it.
struct Exact {
    explicit Exact(const std::string& text) : size(text.size()), bytes(static_cast<char*>(std::malloc(size ? size : 1))) {
        if (size) std::memcpy(bytes, text.data(), size);
    }
    ~Exact() { std::free(bytes); }
    size_t size;
    char* bytes;
};

TextEncoding Encoding(const std::string& text, size_t* evidence = nullptr) {
    Exact exact(text);
    size_t at = 12345;
    TextEncoding found = DetectEncoding(exact.bytes, exact.size, at);
    if (evidence) *evidence = at;
    return found;
}

TEST(DetectEncoding, ByteOrderMarks) {
    EXPECT_EQ(Encoding("\xFF\xFE*\0p\0*\0", nullptr), kUtf16);
    EXPECT_EQ(Encoding(std::string("\xFF\xFE*\0p\0*\0", 8)), kUtf16);
    EXPECT_EQ(Encoding(std::string("\xFE\xFF\0*\0p", 6)), kUtf16);
    size_t evidence;
    EXPECT_EQ(Encoding("\xEF\xBB\xBF*p*C:\\x*n*plain*e*", &evidence), kUtf8);
    EXPECT_EQ(evidence, 0u);
}

TEST(DetectEncoding, MultiByteSequencesWithoutAMarkAreUtf8) {
    size_t evidence;
    // "Grüße" as today's Notepad saves it, after a first ASCII line.
    std::string text = "Menue\r\n*p*x*n*Gr\xC3\xBC\xC3\x9F" "e*e*";
    EXPECT_EQ(Encoding(text, &evidence), kUtf8);
    EXPECT_EQ(evidence, text.find('\xC3'));
    EXPECT_EQ(Encoding("\xE2\x82\xAC and \xF0\x9F\x98\x80"), kUtf8);  // three and four bytes
}

TEST(DetectEncoding, AnsiUmlautsAndPlainAsciiAreNotFlagged) {
    EXPECT_EQ(Encoding("*p*C:\\Programme\\B\xFCro.exe*n*F\xFCr Gr\xF6\xDF" "e*e*"), kAnsi);
    EXPECT_EQ(Encoding("\xC4rger"), kAnsi);       // a lead byte followed by ASCII
    EXPECT_EQ(Encoding("*p*C:\\x*n*y*e*"), kAnsi);
    EXPECT_EQ(Encoding(""), kAnsi);
    // One good sequence does not outweigh an ANSI umlaut elsewhere.
    EXPECT_EQ(Encoding("Gr\xC3\xBC\xC3\x9F" "e und f\xFCr"), kAnsi);
    // A sequence cut by the end of the file is not UTF-8, and is not read past.
    EXPECT_EQ(Encoding("abc\xE2\x82"), kAnsi);
    EXPECT_EQ(Encoding("\xF0"), kAnsi);
    EXPECT_EQ(Encoding("\xC0\x80"), kAnsi);  // an overlong form no encoder writes
}

TEST(FindCapitalMarker, FindsEachCapitalMarkerButNoLowerCaseOne) {
    std::string text = "*p*a*n*b*e* *P*x**N* *E* *Q* *e";
    Exact exact(text);
    size_t end = exact.size;
    size_t first = FindCapitalMarker(exact.bytes, 0, end);
    ASSERT_EQ(first, text.find("*P*"));
    size_t second = FindCapitalMarker(exact.bytes, first + 1, end);
    ASSERT_EQ(second, text.find("*N*"));
    size_t third = FindCapitalMarker(exact.bytes, second + 1, end);
    ASSERT_EQ(third, text.find("*E*"));
    EXPECT_EQ(FindCapitalMarker(exact.bytes, third + 1, end), end);
    // A marker that would reach past `end` is not one.
    EXPECT_EQ(FindCapitalMarker(exact.bytes, 0, text.find("*P*") + 2), text.find("*P*") + 2);
}

TEST(PathChecks, WildcardsAndTheSystemFolder) {
    auto wildcard = [](const std::string& path) { return HasWildcard(path.data(), path.size()); };
    EXPECT_TRUE(wildcard("C:\\Tools\\*.exe"));
    EXPECT_TRUE(wildcard("C:\\Tools\\edit?.exe"));
    EXPECT_FALSE(wildcard("C:\\Tools\\edit.exe"));

    auto system = [](const std::string& path) { return IsInSystemFolder(path.data(), path.size()); };
    EXPECT_TRUE(system("C:\\Windows\\System32\\notepad.exe"));
    EXPECT_TRUE(system("c:\\windows\\SYSTEM32"));
    EXPECT_TRUE(system("C:/Windows/system32/calc.exe"));
    EXPECT_TRUE(system("system32\\calc.exe"));
    EXPECT_FALSE(system("C:\\Windows\\SysWOW64\\notepad.exe"));
    EXPECT_FALSE(system("C:\\Tools\\mysystem32\\x.exe"));
    EXPECT_FALSE(system("C:\\Tools\\system32x\\x.exe"));
    EXPECT_FALSE(system("C:\\Windows\\System3"));
}

TEST(LineIndex, GivesTheLineOfAnyOffsetInAnyOrderNulsIncluded) {
    Exact text(std::string("one\r\ntwo\nthree\r\n\r\nsix\0seven\n", 28));
    LineIndex lines;
    ASSERT_TRUE(BuildLineIndex(lines, text.bytes, text.size));
    EXPECT_EQ(LineOf(lines, 22), 5u);  // after the NUL
    EXPECT_EQ(LineOf(lines, 0), 1u);
    EXPECT_EQ(LineOf(lines, 4), 1u);  // the line feed itself still belongs to line 1
    EXPECT_EQ(LineOf(lines, 5), 2u);
    EXPECT_EQ(LineOf(lines, 10), 3u);
    EXPECT_EQ(LineOf(lines, 17), 4u);
    EXPECT_EQ(LineOf(lines, 28), 6u);
    FreeLineIndex(lines);

    Exact none("no line feed");
    ASSERT_TRUE(BuildLineIndex(lines, none.bytes, none.size));
    EXPECT_EQ(LineOf(lines, none.size), 1u);
    FreeLineIndex(lines);
}

}  // namespace

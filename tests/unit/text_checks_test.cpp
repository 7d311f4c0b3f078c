// menucheck's text checks: where it finds capitalised markers, which paths it
// calls risky, and its line index.
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
    Exact name("*p*a.exe*n*E*e* *P*"), field("*e*");  // the name "E" is no "*E*"; the last "*P*" is one
    EXPECT_EQ(FindCapitalMarker(name.bytes, 0, name.size), name.size - 3);
    EXPECT_TRUE(TakesMarker(field.bytes, field.size, 'e')) << "a field of exactly a marker takes it";
}

TEST(PathChecks, WildcardsAndTheSystemFolder) {
    auto wildcard = [](const std::string& path) { return HasWildcard(path.data(), path.size()); };
    EXPECT_TRUE(wildcard("C:\\Tools\\*.exe"));
    EXPECT_TRUE(wildcard("C:\\Tools\\edit?.exe"));
    EXPECT_FALSE(wildcard("C:\\Tools\\edit.exe"));

    auto device = [](const std::string& path) { return NamesDevice(path.data(), path.size()); };
    for (const char* path : {"CON", "Com1", "LPT9", "AUX", "prn", "NUL.txt", "C:\\x\\con.doc", "lpt1 .x", "C:/x/PRN", "C:aux"})
        EXPECT_TRUE(device(path)) << path;
    for (const char* path : {"COM0", "LPT", "CONSOLE.exe", "C:\\CON\\x.exe", "nul\\", "xnul", ""}) EXPECT_FALSE(device(path)) << path;

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

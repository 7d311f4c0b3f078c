// Catalogue building against the real file system: which menu files are
// found and read, in what order their entries arrive, and which entries the
// existence filter keeps. Every test runs in its own scratch directory.
#include "catalogue/catalogue.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/menu_text.h"
#include "tests/support/scratch_directory.h"

extern UINT errorModeAtLastAllocation;  // tests/support/filled_allocation.cpp

namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;  // path, name

std::string MenuOf(const Entries& entries) {
    std::string text = "menu file written by the test\r\n";
    for (const auto& e : entries) text += MenuEntry(e.first, e.second);
    return text;
}

Entries Collect(IndexedList<ProgramEntry>& list) {
    Entries out;
    for (int32_t i = 0; i < list.Count(); ++i) {
        const ProgramEntry& e = list.At(i);
        out.emplace_back(e.path, e.name);
    }
    return out;
}

std::vector<std::string> Collect(IndexedList<PathBuffer>& list) {
    std::vector<std::string> out;
    for (int32_t i = 0; i < list.Count(); ++i) out.emplace_back(list.At(i).text);
    return out;
}

// The names the platform's own search returns for "*.spi" here, in its order.
std::vector<std::string> SearchOrder() {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("*.spi", &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do names.emplace_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

struct Catalogue {
    bool found = false;
    std::vector<std::string> paths;
    Entries entries;
};

Catalogue Build() {
    IndexedList<PathBuffer> paths;
    IndexedList<ProgramEntry> entries;
    Catalogue c;
    c.found = BuildCatalogue(paths, entries);
    c.paths = Collect(paths);
    c.entries = Collect(entries);
    return c;
}

std::string BaseName(const std::string& path) {
    size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// --- which menu files count ------------------------------------------------

TEST(BuildCatalogue, WithoutMenuFilesReportsFalseAndLeavesBothListsEmpty) {
    ScratchDirectory dir;
    dir.WriteFile("target.txt", "x");
    // Entries in files that are not menu files, and a near-miss name, are not read.
    dir.WriteFile("menu.txt", MenuEntry(dir.PathOf("target.txt"), "Text"));
    dir.WriteFile("menu.sp", MenuEntry(dir.PathOf("target.txt"), "Short"));
    dir.WriteFile(std::wstring(L"COM1.spi"), MenuEntry(dir.PathOf("target.txt"), "Device"));  // opens the port
    dir.MakeDirectory("sub");
    dir.WriteFile("sub\\inner.spi", MenuEntry(dir.PathOf("target.txt"), "Inner"));

    Catalogue c = Build();
    EXPECT_FALSE(c.found);
    EXPECT_TRUE(c.paths.empty());
    EXPECT_TRUE(c.entries.empty());
}

TEST(BuildCatalogue, DirectoryNamedLikeMenuFileCountsAsFoundButIsNotListed) {
    ScratchDirectory dir;
    dir.MakeDirectory("x.spi");
    {
        Catalogue c = Build();
        EXPECT_TRUE(c.found);
        EXPECT_TRUE(c.paths.empty());
        EXPECT_TRUE(c.entries.empty());
    }

    dir.WriteFile("target.txt", "x");
    dir.WriteFile("a.spi", MenuEntry(dir.PathOf("target.txt"), "Target"));
    dir.WriteFile("z.spi", MenuEntry("target.txt", "Relative"));
    Catalogue c = Build();
    EXPECT_TRUE(c.found);
    std::vector<std::string> expectedPaths;
    Entries expected;
    for (const std::string& name : SearchOrder()) {
        if (name == "x.spi") continue;
        expectedPaths.push_back(dir.PathOf(name));
        if (name == "a.spi") expected.emplace_back(dir.PathOf("target.txt"), "Target");
        if (name == "z.spi") expected.emplace_back("target.txt", "Relative");
    }
    ASSERT_EQ(expectedPaths.size(), 2u);
    EXPECT_EQ(c.paths, expectedPaths);
    EXPECT_EQ(c.entries, expected);
}

TEST(BuildCatalogue, EntriesComeFileByFileInSearchOrderAndTextOrderWithinEachFile) {
    ScratchDirectory dir;
    dir.WriteFile("target.txt", "x");
    dir.MakeDirectory("folder");
    // Written out of alphabetical order, with different entry counts, so a
    // sorted or reversed walk, or a mix-up between files, shows.
    const char* files[] = {"menu-m.spi", "menu-b.spi", "MENU-Z.spi", "menu-a.spi", "c.spi", "v1.2.spi"};
    std::vector<Entries> contents;
    for (size_t f = 0; f < sizeof files / sizeof *files; ++f) {
        Entries entries;
        for (size_t k = 0; k <= f % 3 + 1; ++k) {
            std::string name = std::string(files[f]) + " #" + std::to_string(k);
            std::string path = k % 2 ? dir.PathOf(k % 4 == 1 ? "target.txt" : "folder") : "target.txt";
            entries.emplace_back(path, name);
        }
        dir.WriteFile(files[f], MenuOf(entries));
        contents.push_back(entries);
    }

    Catalogue c = Build();
    EXPECT_TRUE(c.found);
    std::vector<std::string> expectedPaths;
    Entries expected;
    for (const std::string& name : SearchOrder()) {
        expectedPaths.push_back(dir.PathOf(name));
        for (size_t f = 0; f < sizeof files / sizeof *files; ++f) {
            if (name == files[f]) expected.insert(expected.end(), contents[f].begin(), contents[f].end());
        }
    }
    ASSERT_EQ(expectedPaths.size(), 6u);
    EXPECT_EQ(c.paths, expectedPaths);
    EXPECT_EQ(c.entries, expected);
}

TEST(BuildCatalogue, MenuFileHeldByAReaderIsReadAndOneHeldByAWriterIsSkipped) {
    ScratchDirectory dir;
    dir.WriteFile("target.txt", "x");
    dir.WriteFile("held.spi", MenuEntry("target.txt", "Held"));
    dir.WriteFile("free.spi", MenuEntry("target.txt", "Free"));

    // A reader sharing with readers (a scanner, a second launcher) keeps nothing out; a writer does.
    for (DWORD access : {DWORD(GENERIC_READ), DWORD(GENERIC_WRITE)}) {
        HANDLE held = CreateFileA(dir.PathOf("held.spi").c_str(), access, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        Catalogue c = Build();
        CloseHandle(held);
        EXPECT_TRUE(c.found);
        EXPECT_EQ(c.paths.size(), 2u) << "still found and listed; only its text may be left unread";
        EXPECT_EQ(c.entries.size(), access == GENERIC_READ ? 2u : 1u) << (access == GENERIC_READ ? "reader" : "writer");
    }
}

TEST(BuildCatalogue, OnlyNamesWhoseOwnExtensionIsSpiAreReadAndNeverOneInPlaceOfAnother) {
    ScratchDirectory dir;
    dir.WriteFile("target.txt", "x");
    // Editor backups: "*.spi" matches them through short names ending in ".SPI".
    for (const char* backup : {"menu.spi~", "menu.spiold", "mena.spix"}) {
        dir.WriteFile(backup, MenuEntry("target.txt", backup));
    }
    dir.WriteFile("MENA.SPI", MenuEntry("target.txt", "mena"));
    // "men\u0103.spi": the ANSI search turns the "\u0103" into "a" by best fit.
    dir.WriteFile(std::wstring(L"men\u0103.spi"), MenuEntry("target.txt", "breve"));

    Catalogue c = Build();
    std::vector<std::string> names;
    for (const auto& entry : c.entries) names.push_back(entry.second);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"breve", "mena"})) << "the first read by its short name";
    EXPECT_EQ(std::count(c.paths.begin(), c.paths.end(), dir.PathOf("MENA.SPI")), 1);

    // Without a short name (Wine always makes one) such a file is not opened at all.
    WIN32_FIND_DATAW found = {};
    wcscpy(found.cFileName, L"men\u0103.spi");
    SkippedMatch match;
    PathBuffer full;
    EXPECT_FALSE(JudgeMenuFileMatch(found, match, full));
    EXPECT_EQ(match.reason, kSkipNoAnsiName);
    EXPECT_STREQ(match.name, "men?.spi");
    wcscpy(found.cAlternateFileName, L"MEN_~1.SPI");
    ASSERT_TRUE(JudgeMenuFileMatch(found, match, full));
    EXPECT_EQ(full.text, dir.PathOf("MEN_~1.SPI"));
}

TEST(BuildCatalogue, MenuFileWhoseFullPathDoesNotFitIsSkipped) {
    ScratchDirectory dir;
    dir.WriteFile("target.txt", "x");
    const std::string base = dir.Path() + "\\";
    // Full paths of exactly 259 bytes (fits with its NUL) and of 260 (does not).
    ASSERT_LT(base.size() + 8, 259u) << "temporary folder too deep for this test";
    const std::string fits = std::string(259 - base.size() - 4, 'f') + ".spi";
    const std::string tooLong = std::string(260 - base.size() - 4, 'g') + ".spi";
    ASSERT_LE(tooLong.size(), 255u) << "temporary folder too shallow for this test";
    dir.WriteFile(fits, MenuEntry("target.txt", "Fits"));

    dir.WriteFile(std::wstring(tooLong.begin(), tooLong.end()), MenuEntry("target.txt", "Too long"));
    ASSERT_EQ(SearchOrder().size(), 2u);

    Catalogue c = Build();
    EXPECT_TRUE(c.found);
    ASSERT_EQ(c.paths.size(), 1u);
    EXPECT_EQ(c.paths[0], base + fits);
    EXPECT_EQ(c.paths[0].size(), 259u);
    EXPECT_EQ(c.entries, (Entries{{"target.txt", "Fits"}}));
}

// --- what a menu file's bytes give ------------------------------------------

TEST(BuildCatalogue, EmptyMenuFileContributesNothingAndTheOthersStillCount) {
    ScratchDirectory dir;
    dir.WriteFile("target.txt", "x");
    dir.WriteFile("empty.spi", "");
    dir.WriteFile("full.spi", MenuEntry("target.txt", "One") + MenuEntry(dir.PathOf("target.txt"), "Two"));

    Catalogue c = Build();
    EXPECT_TRUE(c.found);
    EXPECT_EQ(c.paths.size(), 2u);
    EXPECT_EQ(c.entries, (Entries{{"target.txt", "One"}, {dir.PathOf("target.txt"), "Two"}}));
}

TEST(BuildCatalogue, NulByteEndsTheFilesText) {
    ScratchDirectory dir;
    dir.WriteFile("target.txt", "x");
    std::string text = MenuEntry("target.txt", "Before");
    text += std::string("*p*target.txt*n*Cut") + '\0' + "Gone*e*";
    text += MenuEntry("target.txt", "After");
    dir.WriteFile("cut.spi", text);

    Catalogue c = Build();
    EXPECT_TRUE(c.found);
    EXPECT_EQ(c.entries, (Entries{{"target.txt", "Before"}, {"target.txt", "Cut"}}));
}

TEST(BuildCatalogue, LargeMenuFileGivesEveryEntryInOrder) {
    ScratchDirectory dir;
    dir.MakeDirectory("t");
    const int targets = 16;
    for (int t = 0; t < targets; ++t) dir.WriteFile("t\\" + std::to_string(t) + ".dat", "x");

    // Several MiB: long free text between entries, every third entry missing,
    // including runs of missing ones where the pattern meets the targets'.
    const int count = 6000;
    const std::string filler(700, 'f');
    std::string text;
    Entries expected;
    for (int i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "entry %05d", i);
        bool missing = i % 3 == 1 || i % 97 == 0 || i % 97 == 1;
        std::string path = missing ? "t\\missing" + std::to_string(i) + ".dat"
                                   : (i % 2 ? dir.PathOf("t\\") : std::string("t\\")) +
                                         std::to_string(i % targets) + ".dat";
        text += MenuEntry(path, name) + filler + "\r\n";
        if (!missing) expected.emplace_back(path, name);
    }
    ASSERT_GT(text.size(), 4u << 20);
    dir.WriteFile("large.spi", text);

    Catalogue c = Build();
    EXPECT_TRUE(c.found);
    ASSERT_EQ(c.entries.size(), expected.size());
    size_t same = 0;
    while (same < expected.size() && c.entries[same] == expected[same]) ++same;
    EXPECT_EQ(same, expected.size()) << "first difference at " << expected[same].second;
    EXPECT_EQ(c.entries.front().second, "entry 00002");
    EXPECT_EQ(c.entries.back().second, "entry 05999");
}

// --- the existence filter ---------------------------------------------------

TEST(BuildCatalogue, MissingPathsAreDroppedAndSurvivorsKeepTheirOrder) {
    ScratchDirectory dir;
    for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt"}) dir.WriteFile(name, "x");
    const std::string gone = dir.PathOf("gone.txt");
    // Missing first, two and three in a row, and missing last.
    dir.WriteFile("menu.spi", MenuOf({{gone, "M0"},
                                      {dir.PathOf("a.txt"), "A"},
                                      {gone, "M2"},
                                      {"gone.txt", "M3"},
                                      {"b.txt", "B"},
                                      {"c.txt", "C"},
                                      {gone, "M6"},
                                      {dir.PathOf("nodir\\a.txt"), "M7"},
                                      {"zzz", "M8"},
                                      {dir.PathOf("d.txt"), "D"},
                                      {gone, "M10"}}));

    Catalogue c = Build();
    EXPECT_EQ(c.entries, (Entries{{dir.PathOf("a.txt"), "A"},
                                  {"b.txt", "B"},
                                  {"c.txt", "C"},
                                  {dir.PathOf("d.txt"), "D"}}));
}

// An entry on an empty drive shows no "no disk" box, and what the dialog
// opens later inherits the caller's mode, not the quiet one.
TEST(BuildCatalogue, ReadsAndChecksWithoutCriticalErrorBoxesThenGivesTheCallersModeBack) {
    ScratchDirectory dir;
    dir.WriteFile("menu.spi", MenuOf({{"A:\\setup.exe", "Diskette"}, {"menu.spi", "Da"}}));
    UINT callers = SetErrorMode(SEM_NOGPFAULTERRORBOX);
    IndexedList<PathBuffer> paths;
    IndexedList<ProgramEntry> entries;
    EXPECT_TRUE(BuildCatalogue(paths, entries));
    EXPECT_EQ(errorModeAtLastAllocation, UINT(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX)) << "the last entry's node";
    EXPECT_EQ(SetErrorMode(callers), UINT(SEM_NOGPFAULTERRORBOX));
    EXPECT_EQ(Collect(entries), (Entries{{"menu.spi", "Da"}}));
}

TEST(BuildCatalogue, WhenEveryEntryIsMissingTheListEndsEmptyButFilesWereFound) {
    ScratchDirectory dir;
    dir.WriteFile("one.spi", MenuOf({{"gone1.txt", "One"}, {"gone2.txt", "Two"}}));
    dir.WriteFile("two.spi", MenuOf({{dir.PathOf("gone3.txt"), "Three"}}));

    Catalogue c = Build();
    EXPECT_TRUE(c.found);
    EXPECT_EQ(c.paths.size(), 2u);
    EXPECT_TRUE(c.entries.empty());
}

TEST(BuildCatalogue, MissingEntriesAreDroppedAcrossFileBoundaries) {
    ScratchDirectory dir;
    dir.WriteFile("target.txt", "x");
    // Each file starts and ends with a missing entry, so the combined list has
    // runs of missing entries that straddle two files.
    const char* files[] = {"p.spi", "q.spi", "r.spi"};
    Entries kept;
    for (const char* file : files) {
        dir.WriteFile(file, MenuOf({{"gone.txt", "first"},
                                    {"target.txt", file},
                                    {"gone.txt", "last"}}));
    }
    for (const std::string& name : SearchOrder()) kept.emplace_back("target.txt", name);

    Catalogue c = Build();
    EXPECT_EQ(c.entries, kept);
}

TEST(BuildCatalogue, ExistenceFollowsTheFileSearchFromTheCurrentDirectory) {
    char module[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(nullptr, module, MAX_PATH), 0u);
    const std::string ownName = BaseName(module);

    ScratchDirectory outer;
    outer.WriteFile("outer-only.txt", "x");
    ScratchDirectory dir;  // now the current directory
    dir.WriteFile("target.txt", "x");
    dir.WriteFile("tool.exe", "MZ");
    dir.MakeDirectory("sub");
    dir.WriteFile("sub\\inner.txt", "x");
    const std::string viaParent = "..\\" + BaseName(dir.Path()) + "\\target.txt";

    dir.WriteFile("menu.spi",
                  MenuOf({{"target.txt", "relative file"},
                          {"sub\\inner.txt", "relative file in a folder"},
                          {viaParent, "relative through the parent"},
                          {"outer-only.txt", "only in another folder"},
                          {ownName, "only beside the test program"},
                          {dir.PathOf("sub"), "absolute folder"},
                          {"sub", "relative folder"},
                          {"sub\\*.txt", "wildcard with a match"},
                          {"t?rget.txt", "single-character wildcard"},
                          {dir.PathOf("*.none"), "wildcard without a match"},
                          {"sub\\*.txt\\x", "wildcard inside a folder name"},
                          {dir.PathOf("tool.exe"), "program"},
                          {dir.PathOf("tool.exe") + " -x", "program with an argument"},
                          {"tool.exe /s", "relative program with an argument"},
                          {"\"" + dir.PathOf("tool.exe") + "\"", "quoted program"},
                          {"..\\" + BaseName(dir.Path()) + "\\sub\\", "folder through the parent, closing separator"}}));

    Catalogue c = Build();
    Entries expected = {{"target.txt", "relative file"},
                        {"sub\\inner.txt", "relative file in a folder"},
                        {viaParent, "relative through the parent"},
                        {dir.PathOf("sub"), "absolute folder"},
                        {"sub", "relative folder"},
                        {"sub\\*.txt", "wildcard with a match"},
                        {"t?rget.txt", "single-character wildcard"},
                        {dir.PathOf("tool.exe"), "program"}, {dir.PathOf("tool.exe"), "quoted program"},
                        {"..\\" + BaseName(dir.Path()) + "\\sub\\", "folder through the parent, closing separator"}};
    EXPECT_EQ(c.entries, expected);
}

// --- PathExists ---------------------------------------------------------------

TEST(PathExists, AnswersForFilesFoldersWildcardsAndMissingPaths) {
    ScratchDirectory dir;
    dir.WriteFile("file.txt", "x");
    dir.WriteFile("empty.txt", "");
    dir.MakeDirectory("folder");
    dir.WriteFile("folder\\deep.dat", "x");

    EXPECT_TRUE(PathExists(dir.PathOf("file.txt").c_str()));
    EXPECT_TRUE(PathExists("file.txt"));
    EXPECT_TRUE(PathExists("empty.txt"));
    EXPECT_TRUE(PathExists(dir.PathOf("folder").c_str()));
    EXPECT_TRUE(PathExists("folder"));
    EXPECT_TRUE(PathExists("folder\\deep.dat"));
    EXPECT_TRUE(PathExists("*.txt"));
    EXPECT_TRUE(PathExists(dir.PathOf("folder\\*.dat").c_str()));
    EXPECT_TRUE(PathExists("fil?.txt"));

    EXPECT_FALSE(PathExists("missing.txt"));
    EXPECT_FALSE(PathExists(dir.PathOf("missing.txt").c_str()));
    EXPECT_FALSE(PathExists("nofolder\\file.txt"));
    EXPECT_FALSE(PathExists("*.none"));
    EXPECT_FALSE(PathExists("folder\\*.txt"));
    EXPECT_FALSE(PathExists("file.txt -x"));
    EXPECT_FALSE(PathExists(""));

    // What existed stops existing once it is gone.
    ASSERT_TRUE(DeleteFileA("file.txt"));
    EXPECT_FALSE(PathExists("file.txt"));
    EXPECT_FALSE(PathExists("fil?.txt"));
}

// --- the steps the menu checker shares ---------------------------------------

TEST(ReadMenuFile, GivesTheBytesReadWithThreeZerosAfterThemNulsIncluded) {
    ScratchDirectory dir;
    const std::string bytes = std::string("*p*a.exe*n*A*e*\r\n\0*p*b.exe*n*B*e*", 33);
    dir.WriteFile("after-nul.spi", bytes);
    MenuFileText file;
    ASSERT_EQ(ReadMenuFile(dir.PathOf("after-nul.spi").c_str(), file), kMenuFileRead);
    ASSERT_NE(file.text, nullptr);
    EXPECT_EQ(file.size, bytes.size());
    EXPECT_EQ(std::string(file.text, file.size), bytes);
    EXPECT_EQ(std::strlen(file.text), bytes.find('\0')) << "where the launcher's text ends";
    EXPECT_EQ(std::string(file.text + file.size, 3), std::string(3, '\0'));
    FreeMenuFile(file);
    EXPECT_EQ(file.text, nullptr);

    dir.WriteFile("empty.spi", "");
    ASSERT_EQ(ReadMenuFile(dir.PathOf("empty.spi").c_str(), file), kMenuFileRead);
    EXPECT_EQ(file.size, 0u);
    EXPECT_EQ(file.text[0], '\0');
    FreeMenuFile(file);
}

TEST(ReadMenuFile, SaysWhyAFileWasNotOpened) {
    ScratchDirectory dir;
    dir.WriteFile("held.spi", MenuEntry("x", "y"));
    dir.MakeDirectory("folder.spi");
    MenuFileText file;

    HANDLE held = CreateFileA(dir.PathOf("held.spi").c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ReadMenuFile(dir.PathOf("held.spi").c_str(), file), kMenuFileNotOpened);
    CloseHandle(held);
    EXPECT_EQ(file.openError, DWORD(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(file.text, nullptr);

    EXPECT_EQ(ReadMenuFile(dir.PathOf("gone.spi").c_str(), file), kMenuFileNotOpened);
    EXPECT_EQ(file.openError, DWORD(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(ReadMenuFile(dir.PathOf("folder.spi").c_str(), file), kMenuFileNotOpened);
    EXPECT_NE(file.openError, 0u);

    // Released, it reads again.
    ASSERT_EQ(ReadMenuFile(dir.PathOf("held.spi").c_str(), file), kMenuFileRead);
    EXPECT_EQ(std::string(file.text), MenuEntry("x", "y"));
    FreeMenuFile(file);
}

TEST(FindMenuFiles, ListsWhatTheCatalogueReadsAndNothingWithoutMenuFiles) {
    ScratchDirectory dir;
    IndexedList<PathBuffer> none;
    EXPECT_FALSE(FindMenuFiles(none));
    EXPECT_EQ(none.Count(), 0);

    dir.WriteFile("one.spi", "");
    dir.WriteFile("two.spi", "");
    IndexedList<PathBuffer> found;
    ASSERT_TRUE(FindMenuFiles(found));
    std::vector<std::string> expected;
    for (const std::string& name : SearchOrder()) expected.push_back(dir.PathOf(name));
    EXPECT_EQ(Collect(found), expected);
    EXPECT_EQ(Build().paths, expected);
}

}  // namespace

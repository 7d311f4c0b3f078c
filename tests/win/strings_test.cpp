// The texts both programs take from their string table, read back from the
// built executables the way LoadString reads them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "resources/resource.h"

namespace {

HMODULE Program(const char* path) {
    return LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
}

std::wstring Text(HMODULE program, UINT id) {
    WCHAR text[2048];
    int length = LoadStringW(program, id, text, 2048);
    return std::wstring(text, length > 0 ? size_t(length) : 0);
}

// The German string table holds `id` (the block of 16 it lies in is German).
bool IsGerman(HMODULE program, UINT id) {
    return FindResourceExA(program, RT_STRING, MAKEINTRESOURCEA(id / 16 + 1),
                           MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN)) != nullptr;
}

TEST(StringTable, BothProgramsCarryTheSameNoMenuFileMessage) {
    for (const char* path : {LAUNCHER_EXE, MENUCHECK_EXE}) {
        SCOPED_TRACE(path);
        HMODULE program = Program(path);
        ASSERT_NE(program, nullptr);
        EXPECT_EQ(Text(program, IDS_NO_VALID_FILE), L"Keine g\u00fcltige Datei gefunden");
        EXPECT_EQ(Text(program, IDS_ERROR), L"Fehler");
        EXPECT_TRUE(IsGerman(program, IDS_NO_VALID_FILE));
        FreeLibrary(program);
    }
}

TEST(StringTable, TheLauncherCarriesOnlyTheTextsItShows) {
    HMODULE program = Program(LAUNCHER_EXE);
    ASSERT_NE(program, nullptr);
    for (UINT id : {IDS_USAGE, IDS_SUMMARY, IDS_SYSTEM_FOLDER}) {
        EXPECT_TRUE(Text(program, id).empty()) << "menucheck's text " << id << " in the launcher";
    }
    FreeLibrary(program);
}

TEST(StringTable, MenucheckHasEveryTextItAsksFor) {
    HMODULE program = Program(MENUCHECK_EXE);
    ASSERT_NE(program, nullptr);
    const UINT ids[] = {IDS_USAGE, IDS_UNKNOWN_OPTION, IDS_TOO_MANY_FOLDERS, IDS_NO_SUCH_FOLDER,
                        IDS_FILE_HEADING, IDS_ENTRY_LINE, IDS_SHOWN, IDS_PATH_NOT_FOUND,
                        IDS_PATH_TOO_LONG, IDS_PATH_EMPTY, IDS_WARNING_AT_LINE,
                        IDS_NOTE_AT_LINE, IDS_SUMMARY, IDS_ENTRY_ONE, IDS_ENTRY_MANY, IDS_FILE_ONE,
                        IDS_FILE_MANY, IDS_VERB_ONE, IDS_VERB_MANY, IDS_FILE_HELD_OPEN,
                        IDS_FILE_NO_ACCESS, IDS_FILE_IS_FOLDER, IDS_FILE_NOT_OPENED,
                        IDS_FILE_NOT_READ, IDS_TEXT_AFTER_NUL, IDS_UTF8, IDS_UTF16, IDS_NAME_CUT,
                        IDS_NAME_EMPTY, IDS_NAME_LINE_BREAK, IDS_PATH_WILDCARD,
                        IDS_CAPITAL_MARKER, IDS_SYSTEM_FOLDER, IDS_SKIP_NO_ANSI_NAME,
                        IDS_PATH_NOT_ANSI, IDS_NAME_NOT_ANSI};
    for (UINT id : ids) {
        EXPECT_FALSE(Text(program, id).empty()) << "no text " << id;
        EXPECT_TRUE(IsGerman(program, id)) << "text " << id;
    }
    // The summary's words, whose forms the last line is built from.
    EXPECT_EQ(Text(program, IDS_SUMMARY), L"Ergebnis: %1 in %2, %3 angezeigt.");
    EXPECT_EQ(Text(program, IDS_ENTRY_MANY), L"Eintr\u00e4ge");
    EXPECT_EQ(Text(program, IDS_FILE_MANY), L"Men\u00fcdateien");
    // Line breaks inside the usage text arrive as such.
    EXPECT_NE(Text(program, IDS_USAGE).find(L"[Ordner]\r\n"), std::wstring::npos);
    FreeLibrary(program);
}

}  // namespace

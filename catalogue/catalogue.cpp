#include "catalogue/catalogue.h"

#include <windows.h>

#include <cstring>
#include <new>

#include "catalogue/menu_decoding.h"

bool PathExists(const char* path) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path, &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

namespace {

// The launcher's own test of a menu file's name: the part after its last dot
// is "spi" in any case. The search pattern also matches names whose 8.3
// short name ends in ".SPI", such as the editor backups "menu.spi~" and
// "menu.spiold".
bool HasMenuExtension(const WCHAR* name) {
    const WCHAR* dot = nullptr;
    for (const WCHAR* at = name; *at; ++at) {
        if (*at == L'.') dot = at;
    }
    // (c | 0x20) folds only 'S' onto 's' and so on; a NUL never matches.
    return dot && (dot[1] | 0x20) == L's' && (dot[2] | 0x20) == L'p' && (dot[3] | 0x20) == L'i' &&
           dot[4] == L'\0';
}

// Room for any name in ANSI, double-byte code pages included.
const int kAnsiNameSize = sizeof(SkippedMatch().name);

// Converts `wide` into `ansi` (kAnsiNameSize bytes) and says whether that is
// its exact ANSI form, the one that names this file and no other: best fit
// would turn a character the code page lacks into a look-alike ("\u0103"
// into "a") and so name a different file. Such a character becomes "?".
bool ToExactAnsi(const WCHAR* wide, char* ansi) {
    size_t units = 0;
    while (wide[units]) ++units;
    bool defaultUsed = false;
    // The terminating NUL is converted too.
    size_t length = WideToAnsi(reinterpret_cast<const uint16_t*>(wide), units + 1, ansi, kAnsiNameSize, defaultUsed);
    if (length == kConversionFailed) {
        ansi[0] = '\0';
        return false;
    }
    return !defaultUsed;
}

}  // namespace

bool JudgeMenuFileMatch(const WIN32_FIND_DATAW& found, SkippedMatch& match, PathBuffer& full) {
    std::memset(&match, 0, sizeof match);
    bool exact = ToExactAnsi(found.cFileName, match.name);
    if (!HasMenuExtension(found.cFileName)) {
        match.reason = kSkipNotMenuName;
        return false;
    }
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        match.reason = kSkipFolder;
        return false;
    }
    char shortName[kAnsiNameSize];
    const char* opened = match.name;
    if (!exact) {
        // The short name names the same file; without one, nothing may be
        // opened in its place.
        if (!found.cAlternateFileName[0] || !ToExactAnsi(found.cAlternateFileName, shortName)) {
            match.reason = kSkipNoAnsiName;
            return false;
        }
        opened = shortName;
    }
    std::memset(&full, 0, sizeof full);
    DWORD length = GetFullPathNameA(opened, sizeof full.text, full.text, nullptr);
    // 0 is a failure; sizeof or more is the size the path would need.
    if (length == 0 || length >= sizeof full.text) {
        match.reason = kSkipPathTooLong;
        return false;
    }
    return true;
}

bool FindMenuFiles(IndexedList<PathBuffer>& paths, IndexedList<SkippedMatch>* skipped) {
    // The wide search gives each name as it is, and its short name.
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(L"*.spi", &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    bool anyMenuFile = false;
    do {
        SkippedMatch match;
        PathBuffer full;
        if (JudgeMenuFileMatch(found, match, full)) {
            paths.Append(full);
            anyMenuFile = true;
            continue;
        }
        if (match.reason != kSkipNotMenuName) anyMenuFile = true;
        if (skipped) skipped->Append(match);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return anyMenuFile;
}

MenuFileStatus ReadMenuFile(const char* path, MenuFileText& file) {
    file.text = nullptr;
    file.size = 0;
    file.openError = 0;
    // Other readers (a virus scanner, the search indexer, a second launcher)
    // are let in and do not hide the menu; a writer still keeps it out, so a
    // half-saved menu is never read.
    HANDLE handle = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        file.openError = GetLastError();
        return kMenuFileNotOpened;
    }
    DWORD size = GetFileSize(handle, nullptr);
    if (size != INVALID_FILE_SIZE && size <= MAXDWORD - 3) {
        file.text = new (std::nothrow) char[size_t(size) + 3];
    }
    if (file.text) {
        std::memset(file.text, 0, size_t(size) + 3);
        DWORD read = 0;
        // A short or failed read leaves zeros, so the text simply ends there.
        ReadFile(handle, file.text, size, &read, nullptr);
        file.size = read <= size ? read : size;
    }
    CloseHandle(handle);
    return file.text ? kMenuFileRead : kMenuFileNotBuffered;
}

void FreeMenuFile(MenuFileText& file) {
    delete[] file.text;
    file.text = nullptr;
}

EntryVerdict JudgeRecord(const ProgramEntry& entry) {
    if (PathExists(entry.path)) return kEntryShown;
    // The search finds nothing at an empty path either; the two are told
    // apart only to say why.
    return entry.path[0] ? kEntryPathNotFound : kEntryPathEmpty;
}

namespace {

void DropEntriesNotShown(IndexedList<ProgramEntry>& entries) {
    for (int32_t i = 0; i < entries.Count();) {
        if (JudgeRecord(entries.At(i)) == kEntryShown) {
            ++i;
        } else {
            entries.Remove(i, -1);  // position i now holds the next entry
        }
    }
}

}  // namespace

bool BuildCatalogue(IndexedList<PathBuffer>& paths, IndexedList<ProgramEntry>& entries) {
    if (!FindMenuFiles(paths)) return false;
    for (int32_t i = 0; i < paths.Count(); ++i) {
        MenuFileText file;
        if (ReadMenuFile(paths.At(i).text, file) != kMenuFileRead) continue;
        MenuDecoding decoding;
        if (DecodeMenuFile(file, decoding) == kMenuFileRead) ParseMenuText(file.text, entries, decoding.lost);
        FreeMenuFile(file);
    }
    DropEntriesNotShown(entries);
    return true;
}

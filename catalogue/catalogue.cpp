#include "catalogue/catalogue.h"

#include <windows.h>

#include <cstring>
#include <new>

#include "catalogue/device_name.h"
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

// Converts `wide` into `ansi` (`room` bytes) and says whether that is its
// exact ANSI form, the one that names this file and no other: best fit
// would turn a character the code page lacks into a look-alike ("\u0103"
// into "a") and so name a different file. Such a character becomes "?".
bool ToExactAnsi(const WCHAR* wide, char* ansi, size_t room) {
    const uint16_t* units = reinterpret_cast<const uint16_t*>(wide);
    bool defaultUsed = false;
    // The terminating NUL is converted too.
    size_t length = WideToAnsi(units, WideUnits(units) + 1, ansi, room, defaultUsed);
    if (length == kConversionFailed) {
        ansi[0] = '\0';
        return false;
    }
    return !defaultUsed;
}

// Copies `ansi` into `full` when it fits.
bool FitsPathBuffer(const char* ansi, PathBuffer& full) {
    size_t length = std::strlen(ansi);
    if (length >= sizeof full.text) return false;
    std::memset(&full, 0, sizeof full);
    std::memcpy(full.text, ansi, length);
    return true;
}

// The path that opens exactly the file `name` (its exact ANSI name, or its
// short name, `relative`): its full path, or where that has no exact ANSI
// form, its short (8.3) full path, or where that has none either, `relative`
// itself, which the system resolves against the real current directory.
MenuFileSkip OpenedPathOf(const WCHAR* name, const char* relative, PathBuffer& full) {
    WCHAR wide[kWidePathUnits];
    char ansi[2 * kWidePathUnits];
    bool exact = false;
    if (!WideFullPath(name, wide, ansi, sizeof ansi, exact)) return kSkipPathTooLong;
    // A name such as "COM1.spi" resolves to the device itself.
    if (wide[0] == L'\\' && wide[1] == L'\\' && wide[2] == L'.' && wide[3] == L'\\') return kSkipDevice;
    if (exact) return FitsPathBuffer(ansi, full) ? kMenuFileTaken : kSkipPathTooLong;
    WCHAR shortWide[kWidePathUnits];
    DWORD units = GetShortPathNameW(wide, shortWide, kWidePathUnits);
    if (units > 0 && units < kWidePathUnits && ToExactAnsi(shortWide, ansi, sizeof ansi) && FitsPathBuffer(ansi, full)) {
        return kMenuFileTaken;
    }
    return FitsPathBuffer(relative, full) ? kMenuFileTaken : kSkipPathTooLong;
}

}  // namespace

bool WideFullPath(const WCHAR* name, WCHAR* wide, char* ansi, size_t room, bool& exact) {
    DWORD units = GetFullPathNameW(name, kWidePathUnits, wide, nullptr);
    if (units == 0 || units >= kWidePathUnits) return false;
    exact = ToExactAnsi(wide, ansi, room);
    return true;
}

bool JudgeMenuFileMatch(const WIN32_FIND_DATAW& found, SkippedMatch& match, PathBuffer& full, MenuFileName* shown) {
    std::memset(&match, 0, sizeof match);
    if (shown) std::memset(shown, 0, sizeof *shown);
    bool exact = ToExactAnsi(found.cFileName, match.name, kAnsiNameSize);
    match.reason = kMenuFileTaken;
    if (!HasMenuExtension(found.cFileName)) {
        match.reason = kSkipNotMenuName;
    } else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        match.reason = kSkipFolder;
    } else if (NamesDevice(match.name, std::strlen(match.name))) {
        match.reason = kSkipDevice;
    }
    if (match.reason != kMenuFileTaken) return false;
    char shortName[kAnsiNameSize];
    if (!exact) {
        // The short name names the same file; without one, nothing may be
        // opened in its place.
        if (!found.cAlternateFileName[0] || !ToExactAnsi(found.cAlternateFileName, shortName, kAnsiNameSize)) {
            match.reason = kSkipNoAnsiName;
            return false;
        }
    }
    match.reason = exact ? OpenedPathOf(found.cFileName, match.name, full)
                         : OpenedPathOf(found.cAlternateFileName, shortName, full);
    if (shown && match.reason == kMenuFileTaken) {
        WCHAR wide[kWidePathUnits];
        bool shownExact;
        if (!WideFullPath(found.cFileName, wide, shown->text, sizeof shown->text, shownExact)) {
            std::memcpy(shown->text, full.text, sizeof full.text);
        }
    }
    return match.reason == kMenuFileTaken;
}

bool FindMenuFiles(IndexedList<PathBuffer>& paths, IndexedList<SkippedMatch>* skipped,
                   IndexedList<MenuFileName>* names) {
    // The wide search gives each name as it is, and its short name.
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(L"*.spi", &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    bool anyMenuFile = false;
    do {
        SkippedMatch match;
        PathBuffer full;
        MenuFileName shown;
        if (JudgeMenuFileMatch(found, match, full, names ? &shown : nullptr)) {
            paths.Append(full);
            if (names) names->Append(shown);
            anyMenuFile = true;
            continue;
        }
        if (match.reason != kSkipNotMenuName && match.reason != kSkipDevice) anyMenuFile = true;
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

namespace {

// The file search finds nothing at a path that ends in a separator, even
// where it names a folder that the shell opens: a drive root ("C:\"), a
// share root ("\\server\share\"), "..\Bilder\". Such a path is asked for
// its attributes as well; a file written so ("a.exe\") is no folder.
bool IsFolder(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

EntryVerdict JudgeRecord(const ProgramEntry& entry) {
    if (PathExists(entry.path)) return kEntryShown;
    // Asked second, not instead: in a double-byte code page a last byte 0x5C
    // ("\") may be the second half of a character that ends a file's name.
    size_t length = std::strlen(entry.path);
    bool closingSeparator = length > 0 && (entry.path[length - 1] == '\\' || entry.path[length - 1] == '/');
    if (closingSeparator && IsFolder(entry.path)) return kEntryShown;
    // The search finds nothing at an empty path either; the two are told
    // apart only to say why.
    return entry.path[0] ? kEntryPathNotFound : kEntryPathEmpty;
}

namespace {

bool IsNotShown(const ProgramEntry& entry) {
    return JudgeRecord(entry) != kEntryShown;
}

}  // namespace

bool BuildCatalogue(IndexedList<PathBuffer>& paths, IndexedList<ProgramEntry>& entries) {
    // An entry on an empty drive (a card reader, a CD drive, A:) would show
    // the system's "no disk" box while entries are checked, once for each.
    // Programs the dialog opens inherit the error mode, so the caller's comes
    // back before anything can be opened.
    UINT callersErrorMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    bool found = FindMenuFiles(paths);
    for (int32_t i = 0; i < paths.Count(); ++i) {
        MenuFileText file;
        if (ReadMenuFile(paths.At(i).text, file) != kMenuFileRead) continue;
        MenuDecoding decoding;
        if (DecodeMenuFile(file, decoding) == kMenuFileRead) ParseMenuText(file.text, entries, decoding.lost);
        FreeMenuFile(file);
    }
    // Each entry is judged once, in list order; the survivors keep their order.
    entries.RemoveWhere(IsNotShown);
    SetErrorMode(callersErrorMode);
    return found;
}

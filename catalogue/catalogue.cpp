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

bool FindMenuFiles(IndexedList<PathBuffer>& paths) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("*.spi", &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    do {
        PathBuffer full;
        std::memset(&full, 0, sizeof full);
        DWORD length = GetFullPathNameA(found.cFileName, sizeof full.text, full.text, nullptr);
        // 0 is a failure; sizeof or more is the size the path would need.
        if (length != 0 && length < sizeof full.text) paths.Append(full);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return true;
}

MenuFileStatus ReadMenuFile(const char* path, MenuFileText& file) {
    file.text = nullptr;
    file.size = 0;
    file.openError = 0;
    HANDLE handle = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
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

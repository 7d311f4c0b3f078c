#include "catalogue/catalogue.h"

#include <windows.h>

#include <cstring>
#include <new>

#include "catalogue/menu_parser.h"

bool PathExists(const char* path) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path, &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

namespace {

void FindMenuFiles(HANDLE search, WIN32_FIND_DATAA& found, IndexedList<PathBuffer>& paths) {
    do {
        PathBuffer full;
        std::memset(&full, 0, sizeof full);
        DWORD length = GetFullPathNameA(found.cFileName, sizeof full.text, full.text, nullptr);
        // 0 is a failure; sizeof or more is the size the path would need.
        if (length != 0 && length < sizeof full.text) paths.Append(full);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

// Reads one menu file whole into a zero-padded buffer and parses it. A file
// that cannot be opened (missing, a directory, or held open elsewhere: no
// sharing is granted), sized or buffered is skipped. At most `size` bytes are
// ever read, so the three zero bytes after them always end the text.
void ReadMenuFile(const char* path, IndexedList<ProgramEntry>& entries) {
    HANDLE file = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD size = GetFileSize(file, nullptr);
    char* text = nullptr;
    if (size != INVALID_FILE_SIZE && size <= MAXDWORD - 3) {
        text = new (std::nothrow) char[size_t(size) + 3];
    }
    if (text) {
        std::memset(text, 0, size_t(size) + 3);
        DWORD read = 0;
        ReadFile(file, text, size, &read, nullptr);
    }
    CloseHandle(file);
    if (!text) return;
    ParseMenuText(text, entries);
    delete[] text;
}

void DropMissingEntries(IndexedList<ProgramEntry>& entries) {
    for (int32_t i = 0; i < entries.Count();) {
        if (PathExists(entries.At(i).path)) {
            ++i;
        } else {
            entries.Remove(i, -1);  // position i now holds the next entry
        }
    }
}

}  // namespace

bool BuildCatalogue(IndexedList<PathBuffer>& paths, IndexedList<ProgramEntry>& entries) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("*.spi", &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindMenuFiles(search, found, paths);
    for (int32_t i = 0; i < paths.Count(); ++i) ReadMenuFile(paths.At(i).text, entries);
    DropMissingEntries(entries);
    return true;
}

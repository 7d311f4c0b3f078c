#include "catalogue/menu_parser.h"

#include <cstring>

namespace {

bool IsMarker(const char* at, char letter) {
    // at[0] is '*'; && stops at a NUL, so this never reads past the text.
    return at[1] == letter && at[2] == '*';
}

// The first "*<letter>*" (or, when `orLetter` is given, "*<orLetter>*") at or
// after `from`, or null when the text ends first. strchr finds the stars at
// memory speed, so ordinary text costs no branch per byte here.
const char* FindMarker(const char* from, char letter, char orLetter = '\0') {
    for (const char* star = std::strchr(from, '*'); star; star = std::strchr(star + 1, '*')) {
        if (IsMarker(star, letter) || (orLetter && IsMarker(star, orLetter))) return star;
    }
    return nullptr;
}

// Where a field's search starts: its second byte, so a field holds at least
// one byte whenever any text follows; or its first byte when that is the
// terminating NUL, so the search never passes the end of the text.
const char* SecondByte(const char* field) {
    return *field ? field + 1 : field;
}

void AppendEntry(const char* path, size_t pathLength, const char* name, size_t nameLength,
                 IndexedList<ProgramEntry>& entries) {
    ProgramEntry entry;
    std::memset(&entry, 0, sizeof entry);
    // A cut path could name some other file that exists, so such an entry is
    // left out; a cut name only shows less.
    if (pathLength >= sizeof entry.path) return;
    if (nameLength >= sizeof entry.name) nameLength = sizeof entry.name - 1;
    std::memcpy(entry.path, path, pathLength);
    std::memcpy(entry.name, name, nameLength);
    entries.Append(entry);
}

}  // namespace

void ParseMenuText(const char* text, IndexedList<ProgramEntry>& entries) {
    const char* at = FindMarker(text, 'p');
    while (at) {
        const char* path = at + 3;
        const char* pathEnd = FindMarker(SecondByte(path), 'n');
        if (!pathEnd) {
            AppendEntry(path, std::strlen(path), "", 0, entries);
            return;
        }
        const char* name = pathEnd + 3;
        const char* nameEnd = FindMarker(SecondByte(name), 'p', 'e');
        if (!nameEnd) {
            AppendEntry(path, pathEnd - path, name, std::strlen(name), entries);
            return;
        }
        AppendEntry(path, pathEnd - path, name, nameEnd - name, entries);
        // An "*e*" is free text from here on; a "*p*" opens the next entry.
        at = IsMarker(nameEnd, 'p') ? nameEnd : FindMarker(nameEnd + 1, 'p');
    }
}

#include "catalogue/menu_parser.h"

#include <cstring>

#include "catalogue/menu_encoding.h"

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

}  // namespace

void StartMenuScan(MenuScanner& scanner, const char* text) {
    scanner.text = text;
    scanner.next = FindMarker(text, 'p');
}

bool ScanMenuEntry(MenuScanner& scanner, MenuEntrySpan& span) {
    const char* at = scanner.next;
    if (!at) return false;
    const char* path = at + 3;
    span.opening = size_t(at - scanner.text);
    span.path = size_t(path - scanner.text);
    scanner.next = nullptr;  // unless a closing marker says otherwise below

    const char* pathEnd = FindMarker(SecondByte(path), 'n');
    if (!pathEnd) {
        span.pathLength = std::strlen(path);
        span.name = span.path + span.pathLength;
        span.nameLength = 0;
        span.closedBy = '\0';
        return true;
    }
    span.pathLength = size_t(pathEnd - path);
    const char* name = pathEnd + 3;
    span.name = size_t(name - scanner.text);
    const char* nameEnd = FindMarker(SecondByte(name), 'p', 'e');
    if (!nameEnd) {
        span.nameLength = std::strlen(name);
        span.closedBy = '\0';
        return true;
    }
    span.nameLength = size_t(nameEnd - name);
    span.closedBy = nameEnd[1];
    // An "*e*" is free text from here on; a "*p*" opens the next entry.
    scanner.next = span.closedBy == 'p' ? nameEnd : FindMarker(nameEnd + 1, 'p');
    return true;
}

bool IsQuotedPath(const char* path, size_t length) {
    return length >= 2 && path[0] == '"' && path[length - 1] == '"' &&
           !std::memchr(path + 1, '"', length - 2);
}

bool MakeProgramEntry(const char* text, const MenuEntrySpan& span, ProgramEntry& entry) {
    const char* path = text + span.path;
    size_t pathLength = span.pathLength;
    if (IsQuotedPath(path, pathLength)) {
        ++path;
        pathLength -= 2;
    }
    // A cut path could name some other file that exists, so such an entry is
    // left out; a cut name only shows less.
    if (pathLength >= sizeof entry.path) return false;
    size_t nameLength = span.nameLength;
    if (nameLength >= sizeof entry.name) nameLength = sizeof entry.name - 1;
    std::memset(&entry, 0, sizeof entry);
    std::memcpy(entry.path, path, pathLength);
    std::memcpy(entry.name, text + span.name, nameLength);
    return true;
}

void ParseMenuText(const char* text, IndexedList<ProgramEntry>& entries, const unsigned char* lost) {
    MenuScanner scanner;
    StartMenuScan(scanner, text);
    MenuEntrySpan span;
    ProgramEntry entry;
    while (ScanMenuEntry(scanner, span)) {
        if (HasLostCharacter(lost, span.path, span.pathLength)) continue;
        if (MakeProgramEntry(text, span, entry)) entries.Append(entry);
    }
}

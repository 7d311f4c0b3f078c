// Menu files name programs as "*p*" path "*n*" name, closed by "*e*" or by
// the "*p*" of the next entry. Everything outside an entry is free text.
#pragma once

#include <stddef.h>

#include "catalogue/program_entry.h"
#include "collections/indexed_list.h"

// Where one entry lies in a menu text, as byte offsets from its start. The
// spans are the raw bytes, before anything is cut to fit a ProgramEntry.
struct MenuEntrySpan {
    size_t opening;     // the entry's "*p*"
    size_t path;        // first byte of the path, just after "*p*"
    size_t pathLength;
    size_t name;        // first byte of the name (== path + pathLength when the text ended there)
    size_t nameLength;
    char closedBy;      // 'e' or 'p' for the marker after the name, '\0' for the end of the text
};

// Walks a NUL-terminated menu text entry by entry. Both the launcher's parser
// and the menu checker read entries only through it.
struct MenuScanner {
    const char* text;
    const char* next;  // the next entry's "*p*", or null when none is left
};

void StartMenuScan(MenuScanner& scanner, const char* text);

// Fills `span` with the next entry and returns true, or returns false when
// the text holds no further entry. Reads nothing past the terminating NUL.
bool ScanMenuEntry(MenuScanner& scanner, MenuEntrySpan& span);

// True when the `length` bytes at `path` are a path in one pair of quotes:
// at least two bytes, a quote first and last, and no other quote. Explorer's
// "Als Pfad kopieren" writes paths so; no file or folder name holds a quote.
bool IsQuotedPath(const char* path, size_t length);

// The record the launcher keeps for `span`: zero-filled, path and name copied
// in, the path without its quotes when it is in one pair of them. False (and
// `entry` undefined) when the path so taken does not fit; a name that does
// not fit is cut to 49 bytes.
bool MakeProgramEntry(const char* text, const MenuEntrySpan& span, ProgramEntry& entry);

// Appends one ProgramEntry per entry in `text` (NUL-terminated) to `entries`,
// in text order, each as MakeProgramEntry makes it: a path that does not fit
// skips its entry, a name that does not fit is cut. Reads nothing past the
// terminating NUL.
// With `lost` (see MenuDecoding), an entry whose path holds a character
// without an ANSI form is skipped too: no ANSI call can open its file, and
// its "?" would be a wildcard to the existence check.
void ParseMenuText(const char* text, IndexedList<ProgramEntry>& entries,
                   const unsigned char* lost = nullptr);

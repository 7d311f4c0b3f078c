// What the menu checker looks for in a menu text beyond what the parser
// reads: capitalised markers, risky paths, and on which line an offset
// lies. Portable; no Windows calls.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "catalogue/device_name.h"

// The offset of the first "*P*", "*N*" or "*E*" at or after `from`, below
// `end`, or `end` when there is none. Read from `from` on, each star belongs
// to one marker only: "*p*", "*n*" and "*e*" take theirs, so the name "E" in
// "*n*E*e*" is no "*E*". Go on after a marker found at `at` from `at` + 3.
size_t FindCapitalMarker(const char* text, size_t from, size_t end);

// True when the `length` bytes at `field` begin with the marker
// "*<letter>*": the parser looks for the marker that ends a field from the
// field's second byte on, so a field that is empty in the author's eyes
// takes the next marker in.
bool TakesMarker(const char* field, size_t length, char letter);

// For a file read as ANSI: the offset of its first byte that is not UTF-8,
// when it holds at least one multi-byte UTF-8 sequence and fewer invalid
// bytes than such sequences (it was saved as UTF-8 and then damaged); `size`
// otherwise. A German ANSI text, whose umlauts stand alone, never looks so.
size_t FindDamagedUtf8(const char* bytes, size_t size);

// Why nothing is found at a path, as far as its text tells.
enum PathCause {
    kCauseNone,
    kCauseVariable,      // "%...%": no environment variable is replaced
    kCauseUrl,           // "http:", "https:", "ftp:", "mailto:" or "file:": no file
    kCauseLeadingBlank,  // a space or tab first
    kCauseStrayQuote,    // a quote left after the one pair the launcher takes off
    kCauseBareDrive,     // "C:" alone: that drive's current folder, not its root
    kCauseRelative,      // taken from the current directory
    kCauseCount
};

// The first of the causes above, in their order, that `path` (of `length`
// bytes, as the record holds it) shows.
PathCause ClassifyMissingPath(const char* path, size_t length);

// True when `path` (of `length` bytes) holds "?" or "*". The "?" of the
// long-path prefix "\\?\" is none.
bool HasWildcard(const char* path, size_t length);

// True when a folder named "System32" (any case) is part of `path`.
bool IsInSystemFolder(const char* path, size_t length);

// The line (from 1) of any offset of a text, asked in any order: where each
// line end lies, found once. CR LF, a lone LF and a lone CR (old Mac
// editors) each end a line.
struct LineIndex {
    size_t* feeds;  // offsets of the last byte of each line end, rising
    size_t count;
};

// Indexes the `size` bytes at `text` (NULs are ordinary bytes here). False
// when no memory for the index was had.
bool BuildLineIndex(LineIndex& index, const char* text, size_t size);
uint32_t LineOf(const LineIndex& index, size_t offset);
void FreeLineIndex(LineIndex& index);

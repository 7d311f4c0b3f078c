// What the menu checker looks for in a menu text beyond what the parser
// reads: how the file was saved, capitalised markers, risky paths, and on
// which line an offset lies. Portable; no Windows calls.
#pragma once

#include <stddef.h>
#include <stdint.h>

enum TextEncoding {
    kAnsi,     // single bytes, as the launcher takes them
    kUtf8,     // a UTF-8 byte-order mark, or multi-byte sequences and nothing invalid
    kUtf16     // a UTF-16 byte-order mark
};

// How `bytes` (the whole file, NULs included) were most likely saved, and in
// `evidence` the offset that shows it. An ANSI text whose umlauts stand
// alone, as in "f\xFCr", is never taken for UTF-8.
TextEncoding DetectEncoding(const char* bytes, size_t size, size_t& evidence);

// The offset of the first "*P*", "*N*" or "*E*" at or after `from`, below
// `end`, or `end` when there is none.
size_t FindCapitalMarker(const char* text, size_t from, size_t end);

// True when `path` (of `length` bytes) holds "?" or "*".
bool HasWildcard(const char* path, size_t length);

// True when a folder named "System32" (any case) is part of `path`.
bool IsInSystemFolder(const char* path, size_t length);

// The line (from 1) of any offset of a text, asked in any order: where each
// line feed lies, found once.
struct LineIndex {
    size_t* feeds;  // offsets of the text's line feeds, rising
    size_t count;
};

// Indexes the `size` bytes at `text` (NULs are ordinary bytes here). False
// when no memory for the index was had.
bool BuildLineIndex(LineIndex& index, const char* text, size_t size);
uint32_t LineOf(const LineIndex& index, size_t offset);
void FreeLineIndex(LineIndex& index);

// What the menu checker looks for in a menu text beyond what the parser
// reads: capitalised markers, risky paths, and on which line an offset
// lies. Portable; no Windows calls.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include "catalogue/device_name.h"

// The offset of the first "*P*", "*N*" or "*E*" at or after `from`, below
// `end`, or `end` when there is none.
size_t FindCapitalMarker(const char* text, size_t from, size_t end);

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

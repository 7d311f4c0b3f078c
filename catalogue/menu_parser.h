// Menu files name programs as "*p*" path "*n*" name, closed by "*e*" or by
// the "*p*" of the next entry. Everything outside an entry is free text.
#pragma once

#include "catalogue/program_entry.h"
#include "collections/indexed_list.h"

// Appends one ProgramEntry per entry in `text` (NUL-terminated) to `entries`,
// in text order. A path that does not fit ProgramEntry::path skips its entry;
// a name that does not fit is cut. Reads nothing past the terminating NUL.
void ParseMenuText(const char* text, IndexedList<ProgramEntry>& entries);

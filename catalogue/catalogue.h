// Building the catalogue: every menu file of the current directory, read,
// parsed and filtered down to the entries whose path exists.
#pragma once

#include "catalogue/program_entry.h"
#include "collections/indexed_list.h"

// True when the platform's file search finds anything at `path`: a file, a
// directory, or, for a path with wildcards, any match. Relative paths are
// taken from the current directory.
bool PathExists(const char* path);

// Appends the full path of each "*.spi" in the current directory to `paths`
// (in the order the directory search returns them), parses every one that
// can be opened into `entries`, then drops each entry whose path does not
// exist. False when nothing matched "*.spi". Shows nothing.
bool BuildCatalogue(IndexedList<PathBuffer>& paths, IndexedList<ProgramEntry>& entries);

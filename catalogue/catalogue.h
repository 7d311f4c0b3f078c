// Building the catalogue: every menu file of the current directory, read,
// parsed and filtered down to the entries whose path exists. The steps are
// public so that the menu checker reads a folder with the launcher's code.
#pragma once

#include <stdint.h>

#include "catalogue/menu_parser.h"
#include "catalogue/program_entry.h"
#include "collections/indexed_list.h"

// The full path of one menu file.
struct PathBuffer {
    char text[260];  // the platform's longest path, terminating NUL included
};
static_assert(sizeof(PathBuffer) == 260, "PathBuffer is one longest path");

// True when the platform's file search finds anything at `path`: a file, a
// directory, or, for a path with wildcards, any match. Relative paths are
// taken from the current directory.
bool PathExists(const char* path);

// Whether the launcher shows an entry, and if not, why.
enum EntryVerdict {
    kEntryShown,
    kEntryPathEmpty,     // nothing between "*p*" and "*n*"
    kEntryPathTooLong,   // the path does not fit ProgramEntry::path, so no record is kept
    kEntryPathNotFound,  // the file search finds nothing at the path
    kEntryPathNotAnsi    // a character of the path has no ANSI form, so no record is kept
};

// The verdict on a record of the entry list; the existence filter keeps
// only what this shows.
EntryVerdict JudgeRecord(const ProgramEntry& entry);

// The verdict on the entry at `span` of `text` (`lost` as the decoding step
// left it), with the record the list would hold in `entry`. When the path is
// too long no record is kept, and `entry` holds only the name as the list
// would have shown it; for a path without an ANSI form, the path as it reads.
EntryVerdict JudgeEntry(const char* text, const unsigned char* lost, const MenuEntrySpan& span,
                        ProgramEntry& entry);

// Appends the full path of each "*.spi" in the current directory to `paths`,
// in the order the directory search returns them. A name whose full path
// does not fit a PathBuffer is left out. False when nothing matched.
bool FindMenuFiles(IndexedList<PathBuffer>& paths);

enum MenuFileStatus {
    kMenuFileRead,        // `text` holds the file
    kMenuFileNotOpened,   // missing, a directory, no access, or held open elsewhere
    kMenuFileNotBuffered  // its size could not be asked or no buffer was had
};

struct MenuFileText {
    char* text;             // the bytes read and three zero bytes after them
    uint32_t size;          // bytes read; the text ends earlier if it holds a NUL
    uint32_t openError;     // the system's error code when the file was not opened
};

// Opens `path` without sharing, as the launcher does, and reads it whole into
// a zero-padded buffer, which FreeMenuFile releases. At most the file's size
// is ever read, so the three zero bytes after it always end the text.
MenuFileStatus ReadMenuFile(const char* path, MenuFileText& file);
void FreeMenuFile(MenuFileText& file);

// Finds the menu files (FindMenuFiles), parses every one that can be read
// into `entries`, then drops each entry whose path does not exist. False when
// nothing matched "*.spi". Shows nothing.
bool BuildCatalogue(IndexedList<PathBuffer>& paths, IndexedList<ProgramEntry>& entries);

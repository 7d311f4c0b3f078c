// Building the catalogue: every menu file of the current directory, read,
// parsed and filtered down to the entries whose path exists. The steps are
// public so that the menu checker reads a folder with the launcher's code.
#pragma once

#include <stdint.h>

// The platform's find-data record, declared as <windows.h> does.
struct _WIN32_FIND_DATAW;
typedef struct _WIN32_FIND_DATAW WIN32_FIND_DATAW;

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
    kEntryPathNotFound,  // nothing is found at the path (see JudgeRecord)
    kEntryPathNotAnsi    // a character of the path has no ANSI form, so no record is kept
};

// The verdict on a record of the entry list; the existence filter keeps
// only what this shows. A path that ends in "\" or "/" is found when it names
// a folder or a drive or share root; any other path when PathExists says so.
EntryVerdict JudgeRecord(const ProgramEntry& entry);

// The verdict on the entry at `span` of `text` (`lost` as the decoding step
// left it), with the record the list would hold in `entry`. When the path is
// too long no record is kept, and `entry` holds only the name as the list
// would have shown it; for a path without an ANSI form, the path as it reads.
EntryVerdict JudgeEntry(const char* text, const unsigned char* lost, const MenuEntrySpan& span,
                        ProgramEntry& entry);

// Why a match of the directory search for "*.spi" is not read as a menu file.
enum MenuFileSkip {
    kSkipNotMenuName,  // its own extension is not ".spi"; the search matched its 8.3 short name
    kSkipNoAnsiName,   // its name has no exact ANSI form and there is no short name to open it by
    kSkipPathTooLong,  // its full path needs more than 259 bytes
    kSkipFolder,       // a folder named like a menu file
    kSkipDevice,       // named like a device ("COM1.spi"): opening it would open the device
    kMenuFileTaken     // no reason: it is read
};

// A match left out, for the menu checker to name with its reason.
struct SkippedMatch {
    char name[520];  // the name as found, a character without an ANSI form as "?"
    MenuFileSkip reason;
};

// Room for a full path in UTF-16 units. A longer one is no menu file's: its
// ANSI form could not fit a PathBuffer, nor, in practice, its short form.
const uint32_t kWidePathUnits = 520;

// The full path of `name` (kWidePathUnits units at most) as the system
// resolves it, built from the wide current directory: the ANSI one is a best
// fit wherever the folder's name lacks an ANSI form, and would lead to a
// look-alike folder ("men\u0103" to "mena"). `wide` gets it, and `ansi`
// (`room` bytes) its ANSI form with "?" for what has none, `exact` whether
// there was none such. False when it is longer than kWidePathUnits.
bool WideFullPath(const wchar_t* name, wchar_t* wide, char* ansi, size_t room, bool& exact);

// How the checker names a menu file it reads: the full path as found, a
// character without an ANSI form as "?".
struct MenuFileName {
    char text[1040];
};

// The launcher's decision on one match of the search: true with the path
// that opens exactly that file in `full`, or false with the reason in
// `match`, which always gets the match's name. `full` is the full path where
// that has an exact ANSI form, else the short (8.3) full path, else the name
// relative to the current directory. `shown`, when given, gets the full path
// as the checker names it. Its reason is kSkipNotMenuName only when it is no
// menu file.
bool JudgeMenuFileMatch(const WIN32_FIND_DATAW& found, SkippedMatch& match, PathBuffer& full,
                        MenuFileName* shown = nullptr);

// Appends the path of each menu file in the current directory, as
// JudgeMenuFileMatch gives it, to `paths`, in the order the directory search
// for "*.spi" returns them, and its name to `names` when given. Only names
// whose own extension is ".spi" count. Every match left out is appended to
// `skipped`, when given, with its reason, so that the checker never decides
// a second time. False when no match is a menu file (folders and the
// unreadable ones included; devices and other names not).
bool FindMenuFiles(IndexedList<PathBuffer>& paths, IndexedList<SkippedMatch>* skipped = nullptr,
                   IndexedList<MenuFileName>* names = nullptr);

enum MenuFileStatus {
    kMenuFileRead,        // `text` holds the file
    kMenuFileNotOpened,   // missing, a directory, no access, or held open for writing elsewhere
    kMenuFileNotBuffered  // its size could not be asked or no buffer was had
};

struct MenuFileText {
    char* text;             // the bytes read and three zero bytes after them
    uint32_t size;          // bytes read; the text ends earlier if it holds a NUL
    uint32_t openError;     // the system's error code when the file was not opened
};

// Opens `path` as the launcher does, sharing it with other readers but not
// with writers, and reads it whole into a zero-padded buffer, which
// FreeMenuFile releases. At most the file's size is ever read, so the three
// zero bytes after it always end the text.
MenuFileStatus ReadMenuFile(const char* path, MenuFileText& file);
void FreeMenuFile(MenuFileText& file);

// Finds the menu files (FindMenuFiles), parses every one that can be read
// into `entries`, then drops each entry whose path does not exist. False when
// nothing matched "*.spi". Shows nothing, not even the system's critical-error
// boxes ("no disk"), and leaves the caller's error mode as it found it.
bool BuildCatalogue(IndexedList<PathBuffer>& paths, IndexedList<ProgramEntry>& entries);

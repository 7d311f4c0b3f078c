#include "menucheck/report.h"

#include <cstring>

#include "catalogue/catalogue.h"
#include "catalogue/menu_decoding.h"
#include "catalogue/menu_parser.h"
#include "menucheck/text_checks.h"
#include "resources/resource.h"

namespace {

// A path too long for the launcher is printed only this far.
const size_t kLongestPathShown = 300;

struct Totals {
    int32_t menuFiles;  // found, whether the launcher reads them or not
    int32_t entries;
    int32_t shown;
    bool findings;
};

// One entry of a menu text, as the launcher would take it.
struct CheckedEntry {
    MenuEntrySpan span;
    uint32_t line;         // the line of its "*p*"
    EntryVerdict verdict;
    ProgramEntry record;   // what the list would hold (only the name when no record is kept)
};

// A menu file read as the launcher reads it, its entries judged in one walk.
struct MenuText {
    MenuFileText file;     // as the decoding step left it: ANSI text
    MenuDecoding decoding;
    size_t length;  // up to the first NUL: the launcher reads no further
    LineIndex lines;
    IndexedList<CheckedEntry> entries;
};

// The one walk over a text. False when its entries could not all be held.
bool JudgeEntries(MenuText& menu) {
    MenuScanner scanner;
    StartMenuScan(scanner, menu.file.text);
    CheckedEntry entry;
    while (ScanMenuEntry(scanner, entry.span)) {
        entry.line = LineOf(menu.lines, entry.span.opening);
        entry.verdict = JudgeEntry(menu.file.text, menu.decoding.lost, entry.span, entry.record);
        if (!menu.entries.Append(entry)) return false;
    }
    return true;
}

void FreeMenuText(MenuText& menu) {
    FreeLineIndex(menu.lines);
    FreeMenuFile(menu.file);
}

// Reads the menu file at `path` and judges its entries. A text whose index
// or entries cannot be held counts as one that could not be buffered.
MenuFileStatus ReadMenuText(const char* path, MenuText& menu) {
    MenuFileStatus status = ReadMenuFile(path, menu.file);
    if (status == kMenuFileRead) status = DecodeMenuFile(menu.file, menu.decoding);
    if (status != kMenuFileRead) return status;
    menu.length = std::strlen(menu.file.text);
    if (BuildLineIndex(menu.lines, menu.file.text, menu.file.size) && JudgeEntries(menu)) return kMenuFileRead;
    FreeMenuText(menu);
    return kMenuFileNotBuffered;
}

struct Number {
    char text[16];
};

Number NumberOf(uint32_t value) {
    Number number;
    char* end = number.text + sizeof number.text - 1;
    *end = '\0';
    do {
        *--end = char('0' + value % 10);
        value /= 10;
    } while (value);
    std::memmove(number.text, end, size_t(number.text + sizeof number.text - end));
    return number;
}

void SayAtLine(Output& out, UINT prefix, uint32_t line, UINT id, Detail detail = Detail(),
               Detail second = Detail()) {
    Number number = NumberOf(line);
    Say(out, prefix, DetailOf(number.text));
    Say(out, id, detail, second);
    EndLine(out);
}

// A finding: the exit status becomes 1.
void Warn(Output& out, Totals& totals, uint32_t line, UINT id, Detail detail = Detail(),
          Detail second = Detail()) {
    SayAtLine(out, IDS_WARNING_AT_LINE, line, id, detail, second);
    totals.findings = true;
}

// Information only: the exit status stays as it is.
void Note(Output& out, uint32_t line, UINT id) {
    SayAtLine(out, IDS_NOTE_AT_LINE, line, id);
}

// One line for a menu file the launcher does not read, named by `name`.
void SaySkipped(Output& out, const char* name, UINT reason, Detail detail = Detail()) {
    Say(out, IDS_SKIPPED_LINE, DetailOf(name));
    Say(out, reason, detail);
    EndLine(out);
}

void ReportUnreadable(Output& out, Totals& totals, const char* path, MenuFileStatus status,
                      uint32_t openError) {
    totals.findings = true;
    if (status == kMenuFileNotBuffered) return SaySkipped(out, path, IDS_FILE_NOT_READ);
    switch (openError) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return SaySkipped(out, path, IDS_FILE_HELD_OPEN);
    case ERROR_ACCESS_DENIED:
        return SaySkipped(out, path, IDS_FILE_NO_ACCESS);
    default: {
        Number number = NumberOf(openError);
        return SaySkipped(out, path, IDS_FILE_NOT_OPENED, DetailOf(number.text));
    }
    }
}

// What the report says of each reason to skip a match, in the order of
// MenuFileSkip.
const UINT kSkipTexts[] = {IDS_SKIP_NOT_MENU_NAME, IDS_SKIP_NO_ANSI_NAME, IDS_SKIP_PATH_TOO_LONG,
                           IDS_FILE_IS_FOLDER, IDS_SKIP_DEVICE};
static_assert(sizeof kSkipTexts / sizeof *kSkipTexts == kMenuFileTaken, "one text per reason to skip");

// The matches of the search that the launcher left out, for the reason it
// gave. Only a name that is no menu file's (a backup) is no finding; a
// folder or a device is no menu file to count.
void ReportSkippedMatches(Output& out, Totals& totals, IndexedList<SkippedMatch>& skipped) {
    for (int32_t i = 0; i < skipped.Count(); ++i) {
        const SkippedMatch& match = skipped.At(i);
        // A device is named by the part before the first dot; other texts have no %1.
        SaySkipped(out, match.name, kSkipTexts[match.reason], DetailOf(match.name, std::strcspn(match.name, ".")));
        if (match.reason == kSkipNotMenuName) continue;
        totals.findings = true;
        if (match.reason != kSkipDevice && match.reason != kSkipFolder) ++totals.menuFiles;
    }
}

// What the report says of each verdict, in the order of EntryVerdict.
const UINT kVerdictTexts[] = {IDS_SHOWN, IDS_PATH_EMPTY, IDS_PATH_TOO_LONG, IDS_PATH_NOT_FOUND, IDS_PATH_NOT_ANSI};

// Why each cause keeps the path from being found, with a tip, in the order
// of PathCause.
const UINT kCauseTexts[] = {0, IDS_CAUSE_VARIABLE, IDS_CAUSE_URL, IDS_CAUSE_LEADING_BLANK, IDS_CAUSE_STRAY_QUOTE,
                            IDS_CAUSE_BARE_DRIVE, IDS_CAUSE_RELATIVE};
static_assert(sizeof kCauseTexts / sizeof *kCauseTexts == kCauseCount, "one text per cause");

// True when the text of `path` before one of its spaces names an existing
// file (in one pair of quotes or not), which goes to `file`: what follows
// it are parameters, and a path cannot carry them.
bool NamesFileBeforeBlank(const char* path, char (&file)[MAX_PATH]) {
    for (const char* blank = std::strchr(path, ' '); blank; blank = std::strchr(blank + 1, ' ')) {
        const char* start = path;
        size_t length = size_t(blank - path);  // below MAX_PATH, as the whole path is
        if (IsQuotedPath(start, length)) {
            ++start;
            length -= 2;
        }
        std::memcpy(file, start, length);
        file[length] = '\0';
        DWORD attributes = length ? GetFileAttributesA(file) : INVALID_FILE_ATTRIBUTES;
        if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return true;
    }
    return false;
}

// Says, after "der Pfad wird nicht gefunden", what its text shows of the
// reason, if anything: parameters first, since only an existing file tells
// of them, then the first of the PathCause.
void SayWhyNotFound(Output& out, const char* path) {
    char file[MAX_PATH];
    if (NamesFileBeforeBlank(path, file)) return Say(out, IDS_CAUSE_PARAMETERS, DetailOf(file));
    PathCause cause = ClassifyMissingPath(path, std::strlen(path));
    if (cause == kCauseNone) return;
    if (cause != kCauseRelative) return Say(out, kCauseTexts[cause], DetailOf(path));
    // Where the launcher looked: the path taken from its current directory.
    WCHAR relative[MAX_PATH], full[kWidePathUnits];
    char shown[2 * kWidePathUnits];
    bool exact;
    if (MultiByteToWideChar(CP_ACP, 0, path, -1, relative, MAX_PATH) > 0 &&
        WideFullPath(relative, full, shown, sizeof shown, exact)) {
        Say(out, IDS_CAUSE_RELATIVE, DetailOf(shown));
    }
}

// One line per entry: where it starts, the name as the list shows it, the
// path, and whether the launcher lists it.
void ReportEntries(Output& out, Totals& totals, MenuText& menu) {
    char longPath[kLongestPathShown + 3];
    for (int32_t i = 0; i < menu.entries.Count(); ++i) {
        const CheckedEntry& entry = menu.entries.At(i);
        Detail path = DetailOf(entry.record.path);
        if (entry.verdict == kEntryPathTooLong) {
            path = DetailOf(menu.file.text + entry.span.path, entry.span.pathLength);
            if (entry.span.pathLength > kLongestPathShown) {
                std::memcpy(longPath, path.bytes, kLongestPathShown);
                std::memcpy(longPath + kLongestPathShown, "...", 3);
                path = DetailOf(longPath, sizeof longPath);
            }
        }
        Number line = NumberOf(entry.line);
        Say(out, IDS_ENTRY_LINE, DetailOf(line.text), DetailOf(entry.record.name), path);
        Say(out, kVerdictTexts[entry.verdict]);
        if (entry.verdict == kEntryPathNotFound) SayWhyNotFound(out, entry.record.path);
        EndLine(out);
        ++totals.entries;
        if (entry.verdict == kEntryShown) ++totals.shown;
        else totals.findings = true;
    }
}

// How the file was saved, when the launcher converts it; information only.
// The line is where the file shows it; only ASCII comes before that, so the
// converted text has it at the same place.
void ReportEncoding(Output& out, MenuText& menu) {
    const EncodingFound& found = menu.decoding.found;
    if (found.encoding == kAnsi) return;
    Note(out, LineOf(menu.lines, found.evidence), found.encoding == kUtf8 ? IDS_UTF8 : IDS_UTF16);
}

void WarnAboutName(Output& out, Totals& totals, const MenuText& menu, const CheckedEntry& entry) {
    const char* text = menu.file.text;
    const MenuEntrySpan& span = entry.span;
    if (TakesMarker(text + span.name, span.nameLength, 'e')) {
        return Warn(out, totals, entry.line, IDS_NAME_MARKER_TAKEN);
    }
    size_t shownLength = std::strlen(entry.record.name);
    if (HasLostCharacter(menu.decoding.lost, span.name, shownLength)) {
        Warn(out, totals, entry.line, IDS_NAME_NOT_ANSI);
    }
    if (shownLength < span.nameLength) {
        Warn(out, totals, entry.line, IDS_NAME_CUT, DetailOf(entry.record.name));
    } else if (shownLength == 0) {
        Warn(out, totals, entry.line, IDS_NAME_EMPTY);
    }
    for (size_t i = 0; i < span.nameLength; ++i) {
        char c = text[span.name + i];
        if (c == '\r' || c == '\n') {
            Warn(out, totals, entry.line, IDS_NAME_LINE_BREAK);
            break;
        }
    }
}

// True when the full path of `path` does not fit the platform's longest
// path: the file search still finds a relative one, but it cannot be opened.
// (Wine fails such a call instead of giving the size it would need.)
bool FullPathTooLong(const char* path) {
    char full[MAX_PATH];
    DWORD length = GetFullPathNameA(path, sizeof full, full, nullptr);
    return length == 0 || length >= sizeof full;
}

// Warnings about the entries the launcher keeps a record of: about the path
// of each, and about the name of each that the list shows.
void ReportEntryWarnings(Output& out, Totals& totals, MenuText& menu) {
    for (int32_t i = 0; i < menu.entries.Count(); ++i) {
        const CheckedEntry& entry = menu.entries.At(i);
        bool pathTookMarker = TakesMarker(menu.file.text + entry.span.path, entry.span.pathLength, 'n');
        if (pathTookMarker) Warn(out, totals, entry.line, IDS_PATH_MARKER_TAKEN);
        if (entry.verdict == kEntryPathTooLong || entry.verdict == kEntryPathNotAnsi) continue;
        const char* path = entry.record.path;
        const size_t pathLength = std::strlen(path);  // without the quotes of a quoted path
        // These warnings say that the entry is shown; for one that is not,
        // its line has said why already.
        if (entry.verdict == kEntryShown) {
            WarnAboutName(out, totals, menu, entry);
            // The stars of the markers it took are no wildcards of the author's.
            if (!pathTookMarker && HasWildcard(path, pathLength)) Warn(out, totals, entry.line, IDS_PATH_WILDCARD);
            if (NamesDevice(path, pathLength)) Warn(out, totals, entry.line, IDS_PATH_DEVICE);
            if (FullPathTooLong(path)) Warn(out, totals, entry.line, IDS_FULL_PATH_TOO_LONG);
            if (IsQuotedPath(menu.file.text + entry.span.path, entry.span.pathLength)) {
                Note(out, entry.line, IDS_QUOTES_NOT_NEEDED);
            }
        }
        if (IsInSystemFolder(path, pathLength)) Note(out, entry.line, IDS_SYSTEM_FOLDER);
    }
}

// What the text holds besides its entries: capitalised markers, text that a
// NUL byte hides from the launcher, and UTF-8 that a few bytes spoil.
void ReportTextWarnings(Output& out, Totals& totals, MenuText& menu) {
    const char* text = menu.file.text;
    for (size_t at = FindCapitalMarker(text, 0, menu.length); at < menu.length;
         at = FindCapitalMarker(text, at + 3, menu.length)) {
        char meant[3] = {'*', char(text[at + 1] - 'A' + 'a'), '*'};
        Warn(out, totals, LineOf(menu.lines, at), IDS_CAPITAL_MARKER, DetailOf(text + at, 3),
             DetailOf(meant, 3));
    }
    if (menu.length < menu.file.size) Warn(out, totals, LineOf(menu.lines, menu.length), IDS_TEXT_AFTER_NUL);
    // Only a file read as ANSI still holds the bytes as they were saved.
    size_t damage = menu.decoding.found.encoding == kAnsi ? FindDamagedUtf8(text, menu.file.size) : menu.file.size;
    if (damage < menu.file.size) Warn(out, totals, LineOf(menu.lines, damage), IDS_DAMAGED_UTF8);
}

// `name` is the file's full path as found; `path` what opens it, named too
// where it differs (a short name, or a name relative to the folder).
void ReportMenuFile(Output& out, Totals& totals, const char* path, const char* name) {
    ++totals.menuFiles;
    MenuText menu;
    MenuFileStatus status = ReadMenuText(path, menu);
    if (status != kMenuFileRead) return ReportUnreadable(out, totals, name, status, menu.file.openError);
    if (std::strcmp(path, name) == 0) {
        Say(out, IDS_FILE_HEADING, DetailOf(name));
    } else {
        Say(out, IDS_FILE_HEADING_OPENED_AS, DetailOf(name), DetailOf(path));
    }
    EndLine(out);
    ReportEntries(out, totals, menu);
    ReportEncoding(out, menu);
    ReportEntryWarnings(out, totals, menu);
    ReportTextWarnings(out, totals, menu);
    FreeMenuText(menu);
}

// "1 Eintrag", "2 Einträge" and the like.
struct Counted {
    char text[64];
};

Counted CountedOf(uint32_t count, UINT one, UINT many) {
    Counted counted;
    std::memset(&counted, 0, sizeof counted);
    Number number = NumberOf(count);
    size_t length = std::strlen(number.text);
    std::memcpy(counted.text, number.text, length);
    counted.text[length++] = ' ';
    LoadStringA(GetModuleHandleA(nullptr), count == 1 ? one : many, counted.text + length,
                int(sizeof counted.text - length));
    return counted;
}

}  // namespace

CheckStatus CheckMenuFolder(Output& out) {
    IndexedList<PathBuffer> paths;
    IndexedList<MenuFileName> names;
    IndexedList<SkippedMatch> skipped;
    Totals totals = {0, 0, 0, false};
    bool found = FindMenuFiles(paths, &skipped, &names);
    ReportSkippedMatches(out, totals, skipped);
    if (!found) {
        Say(out, IDS_NO_VALID_FILE);
        EndLine(out);
        return kCheckNoMenu;
    }
    for (int32_t i = 0; i < paths.Count(); ++i) ReportMenuFile(out, totals, paths.At(i).text, names.At(i).text);
    Counted entries = CountedOf(uint32_t(totals.entries), IDS_ENTRY_ONE, IDS_ENTRY_MANY);
    Counted files = CountedOf(uint32_t(totals.menuFiles), IDS_FILE_ONE, IDS_FILE_MANY);
    Counted shown = CountedOf(uint32_t(totals.shown), IDS_VERB_ONE, IDS_VERB_MANY);
    Say(out, IDS_SUMMARY, DetailOf(entries.text), DetailOf(files.text), DetailOf(shown.text));
    EndLine(out);
    if (totals.shown == 0) {
        // The launcher's dialog ends itself while it starts, without a word.
        Say(out, IDS_NOTHING_SHOWN);
        EndLine(out);
        totals.findings = true;
    }
    return totals.findings ? kCheckFindings : kCheckClean;
}

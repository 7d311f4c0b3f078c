#include "menucheck/report.h"

#include <cstring>

#include "catalogue/catalogue.h"
#include "catalogue/menu_parser.h"
#include "menucheck/text_checks.h"
#include "resources/resource.h"

namespace {

// A path too long for the launcher is printed only this far.
const size_t kLongestPathShown = 300;

struct Totals {
    int32_t entries;
    int32_t shown;
    bool findings;
};

// The entries of a text in order, each with the line of its "*p*".
struct EntryWalk {
    MenuScanner scanner;
    LineCounter lines;
    MenuEntrySpan span;
    uint32_t line;
};

void StartEntryWalk(EntryWalk& walk, const char* text) {
    StartMenuScan(walk.scanner, text);
    StartLineCount(walk.lines, text);
}

bool NextEntry(EntryWalk& walk) {
    if (!ScanMenuEntry(walk.scanner, walk.span)) return false;
    walk.line = LineAt(walk.lines, walk.span.opening);
    return true;
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

void Warn(Output& out, Totals& totals, uint32_t line, UINT id, Detail detail = Detail(),
          Detail second = Detail()) {
    Number number = NumberOf(line);
    Say(out, IDS_WARNING_AT_LINE, DetailOf(number.text));
    Say(out, id, detail, second);
    EndLine(out);
    totals.findings = true;
}

void WarnFile(Output& out, Totals& totals, UINT id, Detail detail = Detail()) {
    Say(out, IDS_WARNING);
    Say(out, id, detail);
    EndLine(out);
    totals.findings = true;
}

void ReportUnreadable(Output& out, Totals& totals, const char* path, MenuFileStatus status,
                      uint32_t openError) {
    if (status == kMenuFileNotBuffered) return WarnFile(out, totals, IDS_FILE_NOT_READ);
    DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return WarnFile(out, totals, IDS_FILE_IS_FOLDER);
    }
    switch (openError) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return WarnFile(out, totals, IDS_FILE_HELD_OPEN);
    case ERROR_ACCESS_DENIED:
        return WarnFile(out, totals, IDS_FILE_NO_ACCESS);
    default: {
        Number number = NumberOf(openError);
        return WarnFile(out, totals, IDS_FILE_NOT_OPENED, DetailOf(number.text));
    }
    }
}

// One line per entry: where it starts, the name as the list shows it, the
// path, and whether the launcher lists it.
void ReportEntries(Output& out, Totals& totals, const char* text) {
    EntryWalk walk;
    StartEntryWalk(walk, text);
    const MenuEntrySpan& span = walk.span;
    ProgramEntry entry;
    char longPath[kLongestPathShown + 3];
    while (NextEntry(walk)) {
        ++totals.entries;
        Number line = NumberOf(walk.line);
        UINT verdict = IDS_SHOWN;
        Detail name, path;
        if (MakeProgramEntry(text, span, entry)) {
            name = DetailOf(entry.name);
            path = DetailOf(entry.path);
            if (span.pathLength == 0) verdict = IDS_PATH_EMPTY;
            else if (!PathExists(entry.path)) verdict = IDS_PATH_NOT_FOUND;
        } else {
            size_t nameLength = span.nameLength < sizeof entry.name ? span.nameLength : sizeof entry.name - 1;
            name = DetailOf(text + span.name, nameLength);
            path = DetailOf(text + span.path, span.pathLength);
            if (span.pathLength > kLongestPathShown) {
                std::memcpy(longPath, text + span.path, kLongestPathShown);
                std::memcpy(longPath + kLongestPathShown, "...", 3);
                path = DetailOf(longPath, sizeof longPath);
            }
            verdict = IDS_PATH_TOO_LONG;
        }
        Say(out, IDS_ENTRY_LINE, DetailOf(line.text), name, path);
        Say(out, verdict);
        EndLine(out);
        if (verdict == IDS_SHOWN) ++totals.shown;
        else totals.findings = true;
    }
}

// Warnings about the entries the launcher keeps a record of.
void ReportEntryWarnings(Output& out, Totals& totals, const char* text) {
    EntryWalk walk;
    StartEntryWalk(walk, text);
    const MenuEntrySpan& span = walk.span;
    ProgramEntry entry;
    while (NextEntry(walk)) {
        if (span.pathLength == 0 || !MakeProgramEntry(text, span, entry)) continue;
        uint32_t line = walk.line;
        const char* name = text + span.name;
        if (span.nameLength >= sizeof entry.name) {
            Warn(out, totals, line, IDS_NAME_CUT, DetailOf(entry.name));
        } else if (span.nameLength == 0) {
            Warn(out, totals, line, IDS_NAME_EMPTY);
        }
        for (size_t i = 0; i < span.nameLength; ++i) {
            if (name[i] == '\r' || name[i] == '\n') {
                Warn(out, totals, line, IDS_NAME_LINE_BREAK);
                break;
            }
        }
        if (HasWildcard(entry.path, span.pathLength)) Warn(out, totals, line, IDS_PATH_WILDCARD);
        if (IsInSystemFolder(entry.path, span.pathLength)) {
            // Information only: it does not change the exit status.
            Number number = NumberOf(line);
            Say(out, IDS_NOTE_AT_LINE, DetailOf(number.text));
            Say(out, IDS_SYSTEM_FOLDER);
            EndLine(out);
        }
    }
}

void ReportCapitalMarkers(Output& out, Totals& totals, const char* text, size_t length) {
    LineCounter lines;
    StartLineCount(lines, text);
    for (size_t at = FindCapitalMarker(text, 0, length); at < length;
         at = FindCapitalMarker(text, at + 1, length)) {
        char meant[3] = {'*', char(text[at + 1] - 'A' + 'a'), '*'};
        Warn(out, totals, LineAt(lines, at), IDS_CAPITAL_MARKER, DetailOf(text + at, 3),
             DetailOf(meant, 3));
    }
}

void ReportMenuFile(Output& out, Totals& totals, const char* path) {
    Say(out, IDS_FILE_HEADING, DetailOf(path));
    EndLine(out);
    MenuFileText file;
    MenuFileStatus status = ReadMenuFile(path, file);
    if (status != kMenuFileRead) return ReportUnreadable(out, totals, path, status, file.openError);

    const char* text = file.text;
    size_t length = std::strlen(text);  // the launcher reads no further
    ReportEntries(out, totals, text);

    size_t evidence;
    TextEncoding encoding = DetectEncoding(text, file.size, evidence);
    if (encoding != kAnsi) {
        LineCounter lines;
        StartLineCount(lines, text);
        Warn(out, totals, LineAt(lines, evidence), encoding == kUtf16 ? IDS_UTF16 : IDS_UTF8);
    }
    ReportEntryWarnings(out, totals, text);
    ReportCapitalMarkers(out, totals, text, length);
    if (length < file.size) {
        LineCounter lines;
        StartLineCount(lines, text);
        Warn(out, totals, LineAt(lines, length), IDS_TEXT_AFTER_NUL);
    }
    FreeMenuFile(file);
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
    if (!FindMenuFiles(paths)) {
        Say(out, IDS_NO_VALID_FILE);
        EndLine(out);
        return kCheckNoMenu;
    }
    Totals totals = {0, 0, false};
    for (int32_t i = 0; i < paths.Count(); ++i) ReportMenuFile(out, totals, paths.At(i).text);
    Counted entries = CountedOf(uint32_t(totals.entries), IDS_ENTRY_ONE, IDS_ENTRY_MANY);
    Counted files = CountedOf(uint32_t(paths.Count()), IDS_FILE_ONE, IDS_FILE_MANY);
    Counted shown = CountedOf(uint32_t(totals.shown), IDS_VERB_ONE, IDS_VERB_MANY);
    Say(out, IDS_SUMMARY, DetailOf(entries.text), DetailOf(files.text), DetailOf(shown.text));
    EndLine(out);
    return totals.findings ? kCheckFindings : kCheckClean;
}

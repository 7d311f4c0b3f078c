// What the decoding step costs, with the system's code page and the C
// library the programs use. Two figures, each the median of its rounds:
// - 1 MiB of ANSI plain text (ASCII, so the whole text must be looked at to
//   rule out UTF-8), decoding step and parser, against one memchr over the
//   same bytes: limit 2;
// - a 1 MiB menu saved as UTF-8, entries with umlauts in path and name,
//   decoding step and parser, against the same menu in ANSI: limit 3.
// Each round starts from a fresh copy of the bytes as ReadMenuFile leaves
// them; copying and freeing are not timed. Prints PASS or FAIL per figure
// and exits with 1 on FAIL.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/win/timing.h"
#include "catalogue/menu_decoding.h"
#include "catalogue/menu_parser.h"

namespace {

const size_t kTextSize = 1 << 20;
const int kRounds = 31;

// Seconds for the decoding step and the parser over `bytes`; `entries` gets
// the number of records.
double TimeDecodeAndParse(const std::string& bytes, int32_t& entries) {
    MenuFileText file = {new char[bytes.size() + 3](), uint32_t(bytes.size()), 0};
    std::memcpy(file.text, bytes.data(), bytes.size());
    IndexedList<ProgramEntry> list;
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    MenuDecoding decoding;
    if (DecodeMenuFile(file, decoding) == kMenuFileRead) ParseMenuText(file.text, list, decoding.lost);
    QueryPerformanceCounter(&end);
    FreeMenuFile(file);
    entries = list.Count();
    return Seconds(start, end);
}

double TimeMemchr(const std::string& bytes) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    const void* volatile star = std::memchr(bytes.data(), '*', bytes.size());
    QueryPerformanceCounter(&end);
    (void)star;
    return Seconds(start, end);
}

std::string PlainText() {
    const std::string line = "Programme und Dokumente der Abteilung, ohne einen Eintrag.\r\n";
    std::string text;
    while (text.size() + line.size() <= kTextSize) text += line;
    text.resize(kTextSize, '\n');
    return text;
}

// The same menu of about 60-byte entries in UTF-8 (1 MiB) and in ANSI.
void Menus(std::string& utf8, std::string& ansi, int32_t& entries) {
    entries = 0;
    char entry[128];
    for (;;) {
        int length = std::snprintf(entry, sizeof entry,
                                   "*p*C:\\Programme\\Werkzeug%05d\\\xC3\x9C" "bersicht.exe*n*Gr\xC3\xB6\xC3\x9F" "e %05d*e*\r\n",
                                   int(entries % 100000), int(entries % 100000));
        if (utf8.size() + size_t(length) > kTextSize) break;
        utf8.append(entry, size_t(length));
        ++entries;
    }
    std::wstring wide(utf8.size(), L'\0');
    wide.resize(size_t(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), &wide[0], int(wide.size()))));
    ansi.assign(wide.size() * 2, '\0');
    ansi.resize(size_t(WideCharToMultiByte(CP_ACP, 0, wide.data(), int(wide.size()), &ansi[0], int(ansi.size()),
                                           nullptr, nullptr)));
}

bool Verdict(const char* what, double measured, double baseline, double limit, bool consistent) {
    std::printf("%s: %.1f us against %.1f us%s\n", what, measured * 1e6, baseline * 1e6,
                consistent ? "" : ", wrong number of entries");
    return JudgeRatio(what, measured / baseline, limit, consistent, kJudgedOnEveryBuild);
}

}  // namespace

int main() {
    const std::string plain = PlainText();
    std::string utf8, ansi;
    int32_t expected = 0;
    Menus(utf8, ansi, expected);

    std::vector<double> plainTimes, memchrTimes, utf8Times, ansiTimes;
    bool consistent = true;
    for (int round = -1; round < kRounds; ++round) {  // one untimed round first
        int32_t none = 0, fromUtf8 = 0, fromAnsi = 0;
        double plainTime = TimeDecodeAndParse(plain, none);
        double memchrTime = TimeMemchr(plain);
        double utf8Time = TimeDecodeAndParse(utf8, fromUtf8);
        double ansiTime = TimeDecodeAndParse(ansi, fromAnsi);
        if (none != 0 || fromUtf8 != expected || fromAnsi != expected) consistent = false;
        if (round < 0) continue;
        plainTimes.push_back(plainTime);
        memchrTimes.push_back(memchrTime);
        utf8Times.push_back(utf8Time);
        ansiTimes.push_back(ansiTime);
    }
    std::printf("1 MiB texts, %d rounds, medians; the menu has %d entries, %u bytes in UTF-8, %u in ANSI\n",
                kRounds, int(expected), unsigned(utf8.size()), unsigned(ansi.size()));
    bool pass = Verdict("ANSI plain text, decoding step and parser against memchr", Median(plainTimes),
                        Median(memchrTimes), 2.0, consistent);
    pass = Verdict("UTF-8 menu against the same menu in ANSI, decoding step and parser", Median(utf8Times),
                   Median(ansiTimes), 3.0, consistent) && pass;
    return pass ? 0 : 1;
}

// ParseMenuText over 1 MiB: plain text, where the parser should run at the
// speed of a byte search, also with the decoding step in front of it, and a
// menu of short entries, where appending the records dominates.
#include "catalogue/menu_encoding.h"
#include "catalogue/menu_parser.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

const size_t kTextSize = 1 << 20;

// kTextSize bytes plus the terminating NUL.
std::vector<char> Terminated(std::vector<char> text) {
    text.resize(kTextSize, '\n');
    text.push_back('\0');
    return text;
}

const std::vector<char>& PlainText() {
    static const std::vector<char> text = [] {
        const char line[] = "Programme und Dokumente der Abteilung, ohne einen Eintrag.\r\n";
        std::vector<char> bytes;
        while (bytes.size() + sizeof line - 1 <= kTextSize) bytes.insert(bytes.end(), line, line + sizeof line - 1);
        return Terminated(bytes);
    }();
    return text;
}

// About 60 bytes per entry, like a hand-written menu file.
const std::vector<char>& MenuText(int32_t* entryCount) {
    static int32_t count = 0;
    static const std::vector<char> text = [] {
        std::vector<char> bytes;
        char entry[128];
        for (;;) {
            int length = std::snprintf(entry, sizeof entry,
                                       "*p*C:\\Programme\\Werkzeug%05d\\start.exe*n*Werkzeug %05d*e*\r\n",
                                       count % 100000, count % 100000);
            if (bytes.size() + length > kTextSize) break;
            bytes.insert(bytes.end(), entry, entry + length);
            ++count;
        }
        return Terminated(bytes);
    }();
    *entryCount = count;
    return text;
}

void ParsePlainText(benchmark::State& state) {
    const std::vector<char>& text = PlainText();
    IndexedList<ProgramEntry> entries;
    for (auto _ : state) {
        ParseMenuText(text.data(), entries);
        benchmark::ClobberMemory();
    }
    if (entries.Count() != 0) state.SkipWithError("plain text gave entries");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kTextSize);
}

// What an ANSI file costs from the bytes read to the records: the decoding
// step, which for an ASCII text has to look at every byte to be sure it is
// not UTF-8, and the parser.
void DecodeAndParsePlainText(benchmark::State& state) {
    std::vector<char> block = PlainText();
    IndexedList<ProgramEntry> entries;
    const AnsiCodePage unused = {nullptr, 1};  // an ANSI text is never converted
    for (auto _ : state) {
        char* text = block.data();
        size_t size = kTextSize;
        MenuDecoding decoding;
        DecodeMenuText(text, size, unused, SIZE_MAX, decoding);
        if (text != block.data() || decoding.found.encoding != kAnsi) state.SkipWithError("plain text was decoded");
        ParseMenuText(text, entries, decoding.lost);
        benchmark::ClobberMemory();
    }
    if (entries.Count() != 0) state.SkipWithError("plain text gave entries");
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kTextSize);
}

// The floor for the plain text: one search of the same bytes for a star.
void MemchrPlainText(benchmark::State& state) {
    const std::vector<char>& text = PlainText();
    for (auto _ : state) {
        const void* star = std::memchr(text.data(), '*', kTextSize);
        benchmark::DoNotOptimize(star);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kTextSize);
}

void ParseMenu(benchmark::State& state) {
    int32_t expected = 0;
    const std::vector<char>& text = MenuText(&expected);
    IndexedList<ProgramEntry> entries;
    for (auto _ : state) {
        ParseMenuText(text.data(), entries);
        // Freeing the records is the list's destruction at exit, not parsing.
        state.PauseTiming();
        if (entries.Count() != expected) state.SkipWithError("menu gave a wrong number of entries");
        entries.Remove(-1, -1);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kTextSize);
    state.counters["entries"] = expected;
}

}  // namespace

BENCHMARK(ParsePlainText)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(DecodeAndParsePlainText)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(MemchrPlainText)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(ParseMenu)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);

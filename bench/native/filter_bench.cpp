// The existence filter over 60,000 entries, every second one missing, against
// 60,000 that all exist, with a stand-in for the file search: a check that
// reads the whole path, as the system's would, and finds it missing when it
// starts with "-". The filter removes in one walk; one that walked the list
// again for each entry it dropped would take thousands of times longer.
#include "catalogue/program_entry.h"
#include "collections/indexed_list.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>

namespace {

const int32_t kEntries = 60000;

bool Missing(const ProgramEntry& entry) {
    uint32_t hash = 2166136261u;
    for (const char* at = entry.path; *at; ++at) hash = (hash ^ uint8_t(*at)) * 16777619u;
    benchmark::DoNotOptimize(hash);
    return entry.path[0] == '-';
}

void FilterEntries(benchmark::State& state) {
    const bool halfMissing = state.range(0) != 0;
    int32_t kept = 0;
    for (auto _ : state) {
        state.PauseTiming();
        IndexedList<ProgramEntry>* entries = new IndexedList<ProgramEntry>;
        ProgramEntry entry;
        for (int32_t i = 0; i < kEntries; ++i) {
            std::memset(&entry, 0, sizeof entry);
            std::snprintf(entry.path, sizeof entry.path, "%sC:\\Programme\\Werkzeug %d\\werkzeug.exe",
                          halfMissing && i % 2 ? "-" : "", int(i));
            entries->Append(entry);
        }
        state.ResumeTiming();
        entries->RemoveWhere(Missing);
        kept = entries->Count();
        state.PauseTiming();
        delete entries;
        state.ResumeTiming();
    }
    if (kept != (halfMissing ? kEntries / 2 : kEntries)) state.SkipWithError("the filter kept the wrong entries");
}

}  // namespace

BENCHMARK(FilterEntries)->Arg(0)->Arg(1)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true);

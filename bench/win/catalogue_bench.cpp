// How much catalogue building costs beyond the file-system calls it cannot
// avoid. A temporary folder gets 100 menu files of 100 entries each, half of
// them naming files that do not exist; BuildCatalogue over it is timed
// against a baseline that only makes those calls: the "*.spi" search, one
// open, size query, read and close per file, and one search per entry.
// Prints both times and their ratio, and PASS when the ratio stays within
// the allowed overhead (exit code 1 otherwise). Optional arguments: the
// number of menu files and of timed runs, to see how the overhead grows.
//
// Then the existence filter at scale: 60,000 entries with every second one
// missing against 60,000 that all exist. A filter that walked the list again
// for each entry it drops would take many times longer for the first.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/win/menu_workload.h"
#include "bench/win/timing.h"
#include "catalogue/catalogue.h"
#include "tests/support/scratch_directory.h"

namespace {

int kFiles = 100;
const int kEntriesPerFile = 100;
const int kTargets = 500;    // existing files the surviving entries point at
int kRepeats = 9;
const double kAllowedRatio = 1.25;

// The calls any catalogue builder has to make, and nothing else. Returns the
// number of paths found so the work cannot be left out.
int Baseline(const std::vector<std::string>& entryPaths, std::vector<char>& buffer) {
    WIN32_FIND_DATAW wideFound;
    std::vector<std::wstring> names;
    HANDLE search = FindFirstFileW(L"*.spi", &wideFound);
    if (search != INVALID_HANDLE_VALUE) {
        do names.emplace_back(wideFound.cFileName);
        while (FindNextFileW(search, &wideFound));
        FindClose(search);
    }
    for (const std::wstring& name : names) {
        HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) continue;
        DWORD size = GetFileSize(file, nullptr);
        if (size != INVALID_FILE_SIZE && size <= buffer.size()) {
            DWORD read = 0;
            ReadFile(file, buffer.data(), size, &read, nullptr);
        }
        CloseHandle(file);
    }
    WIN32_FIND_DATAA found;
    int exists = 0;
    for (const std::string& path : entryPaths) {
        HANDLE entry = FindFirstFileA(path.c_str(), &found);
        if (entry == INVALID_HANDLE_VALUE) continue;
        FindClose(entry);
        ++exists;
    }
    return exists;
}

int Catalogue(int& files) {
    IndexedList<PathBuffer> paths;
    IndexedList<ProgramEntry> entries;
    BuildCatalogue(paths, entries);
    files = paths.Count();
    return entries.Count();
}

const int kLargeFiles = 600;  // of kEntriesPerFile entries each
const int kLargeRepeats = 3;
const double kAllowedLargeRatio = 1.5;

// The median time of BuildCatalogue over a folder of its own of 60,000
// entries; -1 when it kept the wrong number of them.
double LargeCatalogueSeconds(bool halfMissing) {
    ScratchDirectory folder;  // current while it lives
    MenuWorkload workload = MakeMenuWorkload(folder, kLargeFiles, kEntriesPerFile, kTargets, halfMissing);
    std::vector<double> times;
    for (int round = 0; round < kLargeRepeats; ++round) {
        LARGE_INTEGER t0, t1;
        int files = 0;
        QueryPerformanceCounter(&t0);
        int kept = Catalogue(files);
        QueryPerformanceCounter(&t1);
        if (kept != workload.existing) return -1;
        times.push_back(Seconds(t0, t1));
    }
    return Median(times);
}

// Whether the filter stays linear.
bool LargeCatalogue() {
    double all = LargeCatalogueSeconds(false);
    double half = LargeCatalogueSeconds(true);
    std::printf("60,000 entries: all present %.2f s, every second missing %.2f s (medians of %d)\n", all, half,
                kLargeRepeats);
    bool sound = all > 0 && half > 0;
    if (!sound) std::printf("the wrong number of entries was kept\n");
    return JudgeRatio("existence filter, 60,000 entries", sound ? half / all : 0, kAllowedLargeRatio, sound,
                      kJudgedOnEveryBuild);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) kFiles = std::max(1, std::atoi(argv[1]));
    if (argc > 2) kRepeats = std::max(1, std::atoi(argv[2]));
    ScratchDirectory root;  // current until the end of main
    MenuWorkload workload = MakeMenuWorkload(root, kFiles, kEntriesPerFile, kTargets);
    const std::vector<std::string>& entryPaths = workload.entryPaths;
    const int existing = workload.existing;
    std::vector<char> buffer(1 << 20);
    std::vector<double> catalogueTimes, baselineTimes;
    bool consistent = true;
    // One untimed round of each first, so both start with warm caches.
    for (int round = -1; round < kRepeats; ++round) {
        LARGE_INTEGER t0, t1, t2;
        int files = 0;
        QueryPerformanceCounter(&t0);
        int kept = Catalogue(files);
        QueryPerformanceCounter(&t1);
        int found = Baseline(entryPaths, buffer);
        QueryPerformanceCounter(&t2);
        if (kept != existing || found != existing || files != kFiles) consistent = false;
        if (round < 0) continue;
        catalogueTimes.push_back(Seconds(t0, t1));
        baselineTimes.push_back(Seconds(t1, t2));
    }

    double catalogue = Median(catalogueTimes);
    double baseline = Median(baselineTimes);
    double ratio = catalogue / baseline;
    std::printf("workload: %d menu files x %d entries, %d existing, %d runs each\n", kFiles,
                kEntriesPerFile, existing, kRepeats);
    std::printf("BuildCatalogue: median %.1f ms, min %.1f ms\n", catalogue * 1e3,
                Minimum(catalogueTimes) * 1e3);
    std::printf("baseline calls: median %.1f ms, min %.1f ms\n", baseline * 1e3,
                Minimum(baselineTimes) * 1e3);
    std::printf("ratio (medians): %.3f, min/min: %.3f\n", ratio,
                Minimum(catalogueTimes) / Minimum(baselineTimes));
    if (!consistent) std::printf("the catalogue or the baseline found the wrong number of entries\n");
    bool passed = JudgeRatio("catalogue building against the bare calls", ratio, kAllowedRatio, consistent,
                             kJudgedOnEveryBuild);
    return LargeCatalogue() && passed ? 0 : 1;
}

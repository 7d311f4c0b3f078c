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
// missing against 60,000 that all exist, each beside its bare calls.
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

// Times BuildCatalogue and its bare calls over `workload` (in the current
// folder, `files` menu files), `repeats` times each, after one untimed round
// of each so that both start with warm caches. False when either found the
// wrong number of entries or files.
bool TimeAgainstBaseline(const MenuWorkload& workload, int files, int repeats, std::vector<double>& catalogueTimes,
                         std::vector<double>& baselineTimes) {
    std::vector<char> buffer(1 << 20);
    bool consistent = true;
    for (int round = -1; round < repeats; ++round) {
        LARGE_INTEGER t0, t1, t2;
        int filesRead = 0;
        QueryPerformanceCounter(&t0);
        int kept = Catalogue(filesRead);
        QueryPerformanceCounter(&t1);
        int found = Baseline(workload.entryPaths, buffer);
        QueryPerformanceCounter(&t2);
        if (kept != workload.existing || found != workload.existing || filesRead != files) consistent = false;
        if (round < 0) continue;
        catalogueTimes.push_back(Seconds(t0, t1));
        baselineTimes.push_back(Seconds(t1, t2));
    }
    return consistent;
}

// The median times of BuildCatalogue, and of its bare calls, over a folder
// of its own of 60,000 entries; false when either found the wrong number.
bool TimeLargeCatalogue(bool halfMissing, double& catalogue, double& bare) {
    ScratchDirectory folder;  // current while it lives
    MenuWorkload workload = MakeMenuWorkload(folder, kLargeFiles, kEntriesPerFile, kTargets, halfMissing);
    std::vector<double> catalogueTimes, bareTimes;
    bool consistent = TimeAgainstBaseline(workload, kLargeFiles, kLargeRepeats, catalogueTimes, bareTimes);
    catalogue = Median(catalogueTimes);
    bare = Median(bareTimes);
    return consistent;
}

// Whether the filter stays linear: 60,000 entries with every second one
// missing may take at most 1.5 times as long as 60,000 present, beyond what
// the bare calls themselves cost more. The file system may charge more for a
// file it does not find than for one it finds (Wine does: it reads the whole
// folder to rule out another case), and no catalogue can do better than its
// calls; a filter that walked the list again for each entry it drops would
// cost many times more than they.
bool LargeCatalogue() {
    double all = 0, half = 0, bareAll = 0, bareHalf = 0;
    bool sound = TimeLargeCatalogue(false, all, bareAll);
    sound = TimeLargeCatalogue(true, half, bareHalf) && sound;
    std::printf("60,000 entries, medians of %d: all present %.2f s, every second missing %.2f s, ratio %.3f;\n"
                "  their bare calls %.2f s and %.2f s, ratio %.3f\n",
                kLargeRepeats, all, half, half / all, bareAll, bareHalf, bareHalf / bareAll);
    if (!sound) std::printf("the catalogue or the bare calls found the wrong number of entries\n");
    return JudgeRatio("existence filter, 60,000 entries, half missing against all present, beyond the bare calls",
                      (half / all) / (bareHalf / bareAll), kAllowedLargeRatio, sound, kJudgedOnEveryBuild);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) kFiles = std::max(1, std::atoi(argv[1]));
    if (argc > 2) kRepeats = std::max(1, std::atoi(argv[2]));
    ScratchDirectory root;  // current until the end of main
    MenuWorkload workload = MakeMenuWorkload(root, kFiles, kEntriesPerFile, kTargets);
    std::vector<double> catalogueTimes, baselineTimes;
    bool consistent = TimeAgainstBaseline(workload, kFiles, kRepeats, catalogueTimes, baselineTimes);

    double catalogue = Median(catalogueTimes);
    double baseline = Median(baselineTimes);
    double ratio = catalogue / baseline;
    std::printf("workload: %d menu files x %d entries, %d existing, %d runs each\n", kFiles,
                kEntriesPerFile, workload.existing, kRepeats);
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

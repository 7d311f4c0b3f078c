// What menucheck costs beside the launcher's own catalogue building. A
// temporary folder gets 100 menu files of 100 entries each, half of them
// naming files that do not exist; the check of that folder, its report
// written to a file as when redirected, is timed against BuildCatalogue on
// the same folder, one run each after one untimed round of both. Prints both
// times and their ratio, and PASS when the ratio stays within the limit
// (exit code 1 otherwise).
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench/win/menu_workload.h"
#include "bench/win/timing.h"
#include "catalogue/catalogue.h"
#include "menucheck/output.h"
#include "menucheck/report.h"
#include "tests/support/scratch_directory.h"

namespace {

const int kFiles = 100;
const int kEntriesPerFile = 100;
const int kTargets = 500;
const double kAllowedRatio = 1.5;

// Time of one BuildCatalogue over the current directory; `kept` gets the
// number of entries it keeps.
double TimeCatalogue(int& kept) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    IndexedList<PathBuffer> paths;
    IndexedList<ProgramEntry> entries;
    BuildCatalogue(paths, entries);
    kept = entries.Count();
    QueryPerformanceCounter(&end);
    return Seconds(start, end);
}

// Time of one check of the current directory with its report written to
// `reportPath`; `report` gets the report's text.
double TimeCheck(const std::string& reportPath, CheckStatus& status, std::string& report) {
    HANDLE file = CreateFileA(reportPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    Output out;
    OpenOutput(out, file);
    status = CheckMenuFolder(out);
    Flush(out);
    QueryPerformanceCounter(&end);
    CloseHandle(file);

    report = ReadWholeFile(reportPath);
    return Seconds(start, end);
}

}  // namespace

int main() {
    char temp[MAX_PATH], reportPath[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    GetTempFileNameA(temp, "mcb", 0, reportPath);
    int status = 1;
    {
        ScratchDirectory root;  // current while it lives
        MenuWorkload workload = MakeMenuWorkload(root, kFiles, kEntriesPerFile, kTargets);
        int kept = 0;
        CheckStatus checked;
        std::string report;
        TimeCatalogue(kept);  // warm the caches for both
        TimeCheck(reportPath, checked, report);
        double catalogue = TimeCatalogue(kept);
        double check = TimeCheck(reportPath, checked, report);

        const std::string expectedLast = "Ergebnis: " + std::to_string(kFiles * kEntriesPerFile) +
                                         " Eintr\xE4ge in " + std::to_string(kFiles) + " Men\xFC" "dateien, " +
                                         std::to_string(workload.existing) + " werden angezeigt.\r\n";
        bool consistent = kept == workload.existing && checked == kCheckFindings &&
                          report.size() >= expectedLast.size() &&
                          report.compare(report.size() - expectedLast.size(), expectedLast.size(), expectedLast) == 0;
        double ratio = check / catalogue;
        std::printf("workload: %d menu files x %d entries, %d existing, one run each\n", kFiles,
                    kEntriesPerFile, workload.existing);
        std::printf("BuildCatalogue: %.1f ms\n", catalogue * 1e3);
        std::printf("menucheck, report to a file (%zu bytes): %.1f ms\n", report.size(), check * 1e3);
        if (!consistent) std::printf("the catalogue or the report counted the wrong entries\n");
        if (JudgeRatio("menucheck against catalogue building", ratio, kAllowedRatio, consistent,
                       kJudgedOnEveryBuild))
            status = 0;
    }
    DeleteFileA(reportPath);
    return status;
}

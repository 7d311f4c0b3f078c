// Start-to-dialog time of the launcher against the bare dialog program built
// from the same template and resources: from CreateProcess until the dialog
// "Start" is visible on screen. The two are started in turn, so both see the
// same state of the machine, and each dialog is closed with "Abbrechen"
// before the next start. The launcher reads a menu of a few entries in a
// scratch folder. Prints both medians and their ratio, and PASS when the
// ratio stays within the allowed overhead (exit code 1 otherwise).
// Optional argument: the number of timed rounds.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/win/timing.h"
#include "tests/e2e/dialog_window.h"
#include "tests/support/scratch_directory.h"

namespace {

int kRounds = 21;
const double kAllowedRatio = 1.15;
const DWORD kTimeoutMs = 30000;

// Starts `program` in `directory`, waits for its dialog to be visible and
// returns the seconds that took, then closes the dialog and waits for the
// process to end. A negative result: the dialog never appeared.
double TimeToDialog(const char* program, const std::string& directory) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::string commandLine = std::string("\"") + program + "\"";
    LARGE_INTEGER start, shown;
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(program, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        directory.c_str(), &startup, &info)) {
        return -1;
    }
    CloseHandle(info.hThread);
    HWND dialog = nullptr;
    DWORD began = GetTickCount();
    while (!dialog && GetTickCount() - began < kTimeoutMs) {
        dialog = FindVisibleWindow(info.dwProcessId, L"#32770", L"Start");
        if (!dialog) Sleep(1);
    }
    QueryPerformanceCounter(&shown);
    if (dialog) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    if (WaitForSingleObject(info.hProcess, kTimeoutMs) != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hProcess);
    return dialog ? Seconds(start, shown) : -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) kRounds = std::max(1, std::atoi(argv[1]));
    ScratchDirectory folder;
    folder.WriteFile("programme.spi", "*p*C:\\windows*n*Windows*e*\r\n"
                                      "*p*C:\\windows\\system32*n*System32*e*\r\n"
                                      "*p*C:\\nicht\\vorhanden.exe*n*Fehlt*e*\r\n");
    std::vector<double> launcherTimes, bareTimes;
    bool failed = false;
    // One untimed round of each first, so both start with warm caches.
    for (int round = -1; round < kRounds && !failed; ++round) {
        // Alternate which goes first, so neither always follows the other.
        bool launcherFirst = round % 2 == 0;
        double first = TimeToDialog(launcherFirst ? LAUNCHER_EXE : BARE_DIALOG_EXE, folder.Path());
        double second = TimeToDialog(launcherFirst ? BARE_DIALOG_EXE : LAUNCHER_EXE, folder.Path());
        double launcher = launcherFirst ? first : second;
        double bare = launcherFirst ? second : first;
        if (launcher < 0 || bare < 0) failed = true;
        if (round < 0) continue;
        launcherTimes.push_back(launcher);
        bareTimes.push_back(bare);
    }
    if (failed) {
        std::printf("FAIL: a dialog did not appear within %lu s\n", kTimeoutMs / 1000);
        return 1;
    }
    double launcher = Median(launcherTimes);
    double bare = Median(bareTimes);
    double ratio = launcher / bare;
    std::printf("start to visible dialog, %d-bit, %d rounds: launcher median %.1f ms, bare dialog "
                "median %.1f ms, ratio %.3f\n",
                int(sizeof(void*) * 8), kRounds, launcher * 1e3, bare * 1e3, ratio);
    return JudgeRatio("start to visible dialog against a bare dialog", ratio, kAllowedRatio, true,
                      kJudgedOnEveryBuild)
               ? 0
               : 1;
}

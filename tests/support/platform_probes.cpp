#include "tests/support/platform_probes.h"

#include <windows.h>

#include <string>

namespace {

// Runs `probe` and returns its exit code, or -1 when it could not be run.
int RunProbe(const char* probe) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::string commandLine = std::string("\"") + probe + "\"";
    if (!CreateProcessA(probe, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info)) {
        return -1;
    }
    CloseHandle(info.hThread);
    DWORD code = DWORD(-1);
    if (WaitForSingleObject(info.hProcess, 60000) == WAIT_OBJECT_0) GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hProcess);
    return int(code);
}

const bool k32Bit = sizeof(void*) == 4;

}  // namespace

bool AnsiWindowTextDamaged() {
    static bool damaged = k32Bit && RunProbe(ANSI_TEXT_PROBE_EXE) == 1;
    return damaged;
}

bool GdiMissing() {
    static bool missing = k32Bit && RunProbe(GDI_PROBE_EXE) == 1;
    return missing;
}

#include "tests/support/platform_probes.h"

#include <windows.h>

#include "tests/support/program_run.h"

namespace {

// Runs `probe` and returns its exit code, or -1 when it could not be run or
// did not end within a minute.
int RunProbe(const char* probe) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    return int(RunProgramToEnd(probe, "", "", startup, 0, 60000));
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

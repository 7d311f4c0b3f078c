#include "tests/support/window_text.h"

#include <windows.h>

#include <cstdio>

namespace {

int skippedChecks;
std::string firstSkipped;

// Runs the probe beside this test's build and returns its exit code, or -1
// when it could not be run.
int RunProbe() {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::string commandLine = "\"" ANSI_TEXT_PROBE_EXE "\"";
    if (!CreateProcessA(ANSI_TEXT_PROBE_EXE, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info)) {
        return -1;
    }
    CloseHandle(info.hThread);
    DWORD code = DWORD(-1);
    if (WaitForSingleObject(info.hProcess, 60000) == WAIT_OBJECT_0) GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hProcess);
    return int(code);
}

bool HasHighBytes(const std::string& text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) return true;
    }
    return false;
}

// The text with bytes of 0x80 or more written as \xNN, for a log.
std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            out += escape;
        }
    }
    return out;
}

}  // namespace

bool AnsiWindowTextDamaged() {
    if (sizeof(void*) != 4) return false;  // 64-bit: every check runs
    static int verdict = RunProbe();
    return verdict == 1;
}

bool WindowTextCheckable(const std::string& expected) {
    if (!HasHighBytes(expected) || !AnsiWindowTextDamaged()) return true;
    if (skippedChecks++ == 0) firstSkipped = Escaped(expected);
    return false;
}

std::string TakeSkippedWindowTextChecks() {
    if (skippedChecks == 0) return std::string();
    char reason[512];
    std::snprintf(reason, sizeof reason,
                  "%d check(s) of non-ASCII window text skipped, first \"%s\": in this 32-bit "
                  "process the platform reads ANSI window text back with U+FFFD for bytes of "
                  "0x80 or more (ansi_text_probe); every other check of this test ran",
                  skippedChecks, firstSkipped.c_str());
    skippedChecks = 0;
    firstSkipped.clear();
    return reason;
}

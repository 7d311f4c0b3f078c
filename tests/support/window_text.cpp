#include "tests/support/window_text.h"

#include <windows.h>

#include <cstdio>

#include "tests/support/platform_probes.h"

namespace {

int skippedChecks;
std::string firstSkipped;

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

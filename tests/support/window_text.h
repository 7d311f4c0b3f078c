// Checking ANSI window text where the platform may damage it.
//
// Under wine64's WoW64 mode, a 32-bit process's ANSI window text (window
// creation, SetWindowTextA, SetDlgItemTextA, a dialog template's control
// texts) reads back with U+FFFD for every byte of 0x80 or more, while list
// box strings and message boxes keep theirs. The program does nothing wrong
// there, so such checks are skipped, and only there: ansi_text_probe decides,
// and a 64-bit test never asks it.
#pragma once

#include <string>

// True when this test is a 32-bit process and the probe found the damage.
bool AnsiWindowTextDamaged();

// False, and the check counted as skipped, when `expected` holds a byte of
// 0x80 or more and AnsiWindowTextDamaged(); otherwise true.
bool WindowTextCheckable(const std::string& expected);

// Why checks were skipped since the last call, or empty when none were;
// resets the count. For a fixture's TearDown:
//   std::string skipped = TakeSkippedWindowTextChecks();
//   if (!skipped.empty()) GTEST_SKIP() << skipped;
std::string TakeSkippedWindowTextChecks();

// EXPECT_EQ(actual, expected) for window text read back in ANSI.
#define EXPECT_ANSI_WINDOW_TEXT(actual, expected) \
    if (!WindowTextCheckable(expected)) {         \
    } else                                        \
        EXPECT_EQ(actual, expected)

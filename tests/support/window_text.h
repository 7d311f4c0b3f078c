// Checking ANSI window text where the platform may damage it (see
// AnsiWindowTextDamaged). The program does nothing wrong there, so such
// checks are skipped, and only there.
#pragma once

#include <string>

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

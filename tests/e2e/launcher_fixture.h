// Shared ground of the end-to-end tests: a scratch directory to hold menu
// files and recorder copies, and the real launcher started in it.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "resources/resource.h"
#include "tests/e2e/dialog_window.h"
#include "tests/e2e/launcher_process.h"
#include "tests/support/menu_text.h"
#include "tests/support/scratch_directory.h"

// Wine may take many seconds to show a first window in a fresh session;
// these only bound the waits, they are not expectations.
const DWORD kWindowTimeoutMs = 20000;
const DWORD kExitTimeoutMs = 15000;
const DWORD kLaunchTimeoutMs = 20000;


// The ANSI text as the launcher shows it, widened for comparing with what a
// window reports.
inline std::wstring Widen(const std::string& ansi) {
    if (ansi.empty()) return std::wstring();
    int length = MultiByteToWideChar(CP_ACP, 0, ansi.data(), int(ansi.size()), nullptr, 0);
    std::wstring wide(size_t(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), int(ansi.size()), &wide[0], length);
    return wide;
}

class LauncherTest : public ::testing::Test {
protected:
    void TearDown() override { launcher_.reset(); }

    // In the scratch directory, or with `inherited`, in the test's own current one.
    void StartLauncher(const std::string& executable = LAUNCHER_EXE, bool inherited = false) {
        launcher_.reset(new LauncherProcess(executable, inherited ? std::string() : scratch_.Path()));
        ASSERT_TRUE(launcher_->Started()) << "could not start " << executable;
    }

    HWND WaitForStartDialog() const {
        return WaitForVisibleWindow(launcher_->Id(), L"#32770", L"Start", kWindowTimeoutMs);
    }

    // Exit code of the launcher, or -1 when it is still running after the wait.
    long ExitCode() const {
        DWORD code = 0;
        return launcher_->WaitForExit(kExitTimeoutMs, &code) ? long(code) : -1;
    }

    ScratchDirectory scratch_;
    std::unique_ptr<LauncherProcess> launcher_;  // ends before the directory goes
};

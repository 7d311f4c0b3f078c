// The logo at the display's DPI, on the modal dialog as WinMain runs it.
// Wine reads the DPI (LogPixels under HKCU\Control Panel\Desktop) once, when
// a process starts, so each DPI is measured in a child run of this same
// executable, started after the value is set; the value is put back as it
// was as soon as the child has ended, since other test programs share the
// prefix.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "catalogue/program_entry.h"
#include "collections/indexed_list.h"
#include "resources/resource.h"
#include "tests/support/program_run.h"
#include "tests/support/scratch_directory.h"
#include "ui/scaled_logo.h"
#include "ui/start_dialog.h"

namespace {

const char kDpiVariable[] = "SCALED_LOGO_TEST_DPI";

// ---- The child: one modal dialog at the DPI it was started with ------------

struct LogoSeen {
    HBITMAP original = nullptr;  // the control's bitmap before initialisation
    HBITMAP shown = nullptr;     // its bitmap once the dialog is initialised
    BITMAP originalSize = {}, shownSize = {};
    RECT control = {};  // the control's client area, which fits its bitmap
};
LogoSeen logoSeen;

HBITMAP ImageOf(HWND logo, BITMAP& size) {
    HBITMAP image = reinterpret_cast<HBITMAP>(SendMessageA(logo, STM_GETIMAGE, IMAGE_BITMAP, 0));
    if (image) GetObjectA(image, sizeof size, &size);
    return image;
}

// Looks at the logo around the real initialisation, then presses
// "Abbrechen" through the message queue so the dialog ends in its own way.
INT_PTR CALLBACK WatchingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_INITDIALOG) return StartDialogProc(dialog, message, wParam, lParam);
    HWND logo = FindLogoControl(dialog);
    logoSeen.original = ImageOf(logo, logoSeen.originalSize);
    INT_PTR result = StartDialogProc(dialog, message, wParam, lParam);
    logoSeen.shown = ImageOf(logo, logoSeen.shownSize);
    GetClientRect(logo, &logoSeen.control);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return result;
}

// Runs only in the child, which the parent starts with this test's name and
// the DPI it set in kDpiVariable.
TEST(DISABLED_LogoInChild, ShownAtTheDisplayDpiAndFreedWithTheDialog) {
    const char* wanted = std::getenv(kDpiVariable);
    ASSERT_NE(wanted, nullptr);
    const int dpi = std::atoi(wanted);
    HDC screen = GetDC(nullptr);
    ASSERT_EQ(GetDeviceCaps(screen, LOGPIXELSX), dpi) << "LogPixels did not take";
    ASSERT_EQ(GetDeviceCaps(screen, LOGPIXELSY), dpi);
    ReleaseDC(nullptr, screen);

    ProgramEntry entry = {};
    std::strcpy(entry.path, "C:\\Programme\\Zeichnen\\zeichnen.exe");
    std::strcpy(entry.name, "Zeichnen");
    IndexedList<ProgramEntry> entries;
    ASSERT_TRUE(entries.Append(entry));
    StartDialogSetup setup = {&entries, nullptr};  // nothing is opened
    EXPECT_EQ(DialogBoxParamA(GetModuleHandleA(nullptr), IDD_START, nullptr, WatchingDialogProc,
                              reinterpret_cast<LPARAM>(&setup)),
              1)
        << "ended by \"Abbrechen\"";

    EXPECT_EQ(logoSeen.originalSize.bmWidth, 91);
    EXPECT_EQ(logoSeen.originalSize.bmHeight, 37);
    if (dpi == 96) {
        EXPECT_EQ(logoSeen.shown, logoSeen.original) << "at 96 DPI the original bitmap itself stays";
    } else {
        EXPECT_NE(logoSeen.shown, logoSeen.original);
        EXPECT_NEAR(logoSeen.shownSize.bmWidth, 91 * dpi / 96.0, 1);
        EXPECT_NEAR(logoSeen.shownSize.bmHeight, 37 * dpi / 96.0, 1);
    }
    EXPECT_EQ(logoSeen.control.right, logoSeen.shownSize.bmWidth) << "the control fits its bitmap";
    EXPECT_EQ(logoSeen.control.bottom, logoSeen.shownSize.bmHeight);
    EXPECT_EQ(GetObjectType(logoSeen.shown), 0u) << "the logo shown outlived the dialog";
    EXPECT_EQ(GetObjectType(logoSeen.original), 0u) << "the template's logo outlived the dialog";
}

// ---- The parent ---------------------------------------------------------------

const char kDesktopKey[] = "Control Panel\\Desktop";

// The user's LogPixels as found, put back on destruction: the value
// restored, or deleted again if there was none.
class LogPixelsSetting {
public:
    explicit LogPixelsSetting(DWORD dpi) {
        if (RegCreateKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                            nullptr, &key_, nullptr) != ERROR_SUCCESS) {
            key_ = nullptr;
            return;
        }
        DWORD size = sizeof previous_;
        DWORD type = 0;
        hadValue_ = RegQueryValueExA(key_, "LogPixels", nullptr, &type, reinterpret_cast<BYTE*>(&previous_),
                                     &size) == ERROR_SUCCESS &&
                    type == REG_DWORD && size == sizeof previous_;
        set_ = RegSetValueExA(key_, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi) ==
               ERROR_SUCCESS;
    }
    ~LogPixelsSetting() {
        if (!key_) return;
        if (hadValue_)
            RegSetValueExA(key_, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&previous_),
                           sizeof previous_);
        else
            RegDeleteValueA(key_, "LogPixels");
        RegCloseKey(key_);
    }
    LogPixelsSetting(const LogPixelsSetting&) = delete;
    LogPixelsSetting& operator=(const LogPixelsSetting&) = delete;
    bool IsSet() const { return set_; }

private:
    HKEY key_ = nullptr;
    DWORD previous_ = 0;
    bool hadValue_ = false;
    bool set_ = false;
};

// Runs the child test at `dpi`; true if it ran and passed. `output` gets
// what it printed.
bool ChildPassesAt(DWORD dpi, std::string& output) {
    char self[MAX_PATH] = {};
    if (!GetModuleFileNameA(nullptr, self, sizeof self)) return false;
    ScratchDirectory scratch;
    // The child writes its own report. It inherits nothing but NUL as its
    // standard handles: its first window may start Wine's desktop process,
    // which would inherit them and keep them open for the whole session.
    std::string reportPath = scratch.PathOf("child.xml");
    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    HANDLE nowhere = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 &inheritable, OPEN_EXISTING, 0, nullptr);
    if (nowhere == INVALID_HANDLE_VALUE) return false;

    std::string arguments = "--gtest_filter=DISABLED_LogoInChild.* --gtest_also_run_disabled_tests"
                            " --gtest_output=xml:" + reportPath;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nowhere;
    startup.hStdOutput = nowhere;
    startup.hStdError = nowhere;
    long exitCode = -1;
    SetEnvironmentVariableA(kDpiVariable, std::to_string(dpi).c_str());
    {
        LogPixelsSetting setting(dpi);
        // A dialog that does not end must not hold the setting forever.
        if (setting.IsSet()) exitCode = RunProgramToEnd(self, arguments, "", startup, 0, 60000);
    }
    SetEnvironmentVariableA(kDpiVariable, nullptr);
    CloseHandle(nowhere);

    output = ReadWholeFile(reportPath);
    output += "\n(child exit code " + std::to_string(exitCode) + ")";
    // A filter that matched nothing would pass too, so the one test must
    // have run.
    return exitCode == 0 && output.find("<testsuites tests=\"1\" failures=\"0\"") != std::string::npos;
}

TEST(ScaledLogo, At96DpiTheOriginalLogoIsKeptAndFreedWithTheDialog) {
    std::string output;
    EXPECT_TRUE(ChildPassesAt(96, output)) << output;
}

TEST(ScaledLogo, At144DpiTheLogoIsScaledTo137By56AndBothBitmapsAreFreed) {
    std::string output;
    EXPECT_TRUE(ChildPassesAt(144, output)) << output;
}

TEST(ScaledLogo, LogPixelsIsPutBackAfterTheChildRuns) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_QUERY_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    auto read = [&](DWORD& value) {
        DWORD size = sizeof value;
        return RegQueryValueExA(key, "LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) ==
               ERROR_SUCCESS;
    };
    DWORD before = 0, after = 0;
    bool hadBefore = read(before);
    std::string output;
    ChildPassesAt(144, output);
    bool hasAfter = read(after);
    RegCloseKey(key);
    EXPECT_EQ(hasAfter, hadBefore);
    if (hadBefore) EXPECT_EQ(after, before);
}

}  // namespace

// The logo at the display's DPI, on the modal dialog as WinMain runs it.
// Wine reads the DPI (LogPixels under HKCU\Control Panel\Desktop) once, when
// a process starts, so each DPI is measured in a child run of this same
// executable, started after the value is set; the value is put back as it
// was as soon as the child has ended, since other test programs share the
// prefix.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "catalogue/program_entry.h"
#include "collections/indexed_list.h"
#include "tests/support/scratch_directory.h"
#include "ui/scaled_logo.h"
#include "ui/start_dialog.h"

namespace {

const char kDpiVariable[] = "SCALED_LOGO_TEST_DPI";
const char kDesktopKey[] = "Control Panel\\Desktop";

// ---- The child: one modal dialog at the DPI it was started with ------------

std::string SizeOf(HBITMAP bitmap) {
    BITMAP size;
    if (!bitmap || GetObjectA(bitmap, sizeof size, &size) == 0) return "none";
    return std::to_string(size.bmWidth) + "x" + std::to_string(size.bmHeight);
}

struct LogoSeen {
    HBITMAP original = nullptr;  // the control's bitmap before initialisation
    HBITMAP shown = nullptr;     // its bitmap once the dialog is initialised
    std::string originalSize, shownSize;
    RECT control = {};  // the control's client area, which fits its bitmap
};
LogoSeen logoSeen;

HBITMAP ImageOf(HWND logo) {
    return reinterpret_cast<HBITMAP>(SendMessageA(logo, STM_GETIMAGE, IMAGE_BITMAP, 0));
}

// Looks at the logo around the real initialisation, then presses
// "Abbrechen" through the message queue so the dialog ends in its own way.
INT_PTR CALLBACK WatchingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_INITDIALOG) return StartDialogProc(dialog, message, wParam, lParam);
    HWND logo = FindLogoControl(dialog);
    logoSeen.original = ImageOf(logo);
    logoSeen.originalSize = SizeOf(logoSeen.original);
    INT_PTR result = StartDialogProc(dialog, message, wParam, lParam);
    logoSeen.shown = ImageOf(logo);
    logoSeen.shownSize = SizeOf(logoSeen.shown);
    GetClientRect(logo, &logoSeen.control);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return result;
}

// Runs only in the child (the parent asks for it by name); prints what it
// saw for the parent to judge.
TEST(DISABLED_LogoInChild, ShowAndEnd) {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    std::printf("logo: dpi %dx%d\n", GetDeviceCaps(screen, LOGPIXELSX), dpi);
    ReleaseDC(nullptr, screen);

    ProgramEntry entry = {};
    std::strcpy(entry.path, "C:\\Programme\\Zeichnen\\zeichnen.exe");
    std::strcpy(entry.name, "Zeichnen");
    IndexedList<ProgramEntry> entries;
    ASSERT_TRUE(entries.Append(entry));
    INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), "Start", nullptr, WatchingDialogProc,
                                     reinterpret_cast<LPARAM>(&entries));
    std::printf("logo: result %d\n", int(result));
    std::printf("logo: original %s\n", logoSeen.originalSize.c_str());
    std::printf("logo: shown %s\n", logoSeen.shownSize.c_str());
    std::printf("logo: kept %s\n", logoSeen.original == logoSeen.shown ? "yes" : "no");
    std::printf("logo: control %dx%d\n", int(logoSeen.control.right), int(logoSeen.control.bottom));
    // After the dialog: what is still a bitmap (type 7), what is gone (0).
    std::printf("logo: original after %lu\n", GetObjectType(logoSeen.original));
    std::printf("logo: shown after %lu\n", GetObjectType(logoSeen.shown));
    std::fflush(stdout);
}

// ---- The parent ---------------------------------------------------------------

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

// Runs the child at `dpi` and returns its "logo: " lines, without the
// prefix, one per line; empty if it could not be run.
std::string RunChildAt(DWORD dpi) {
    char self[MAX_PATH] = {};
    if (!GetModuleFileNameA(nullptr, self, sizeof self)) return "";
    ScratchDirectory scratch;
    std::string outputPath = scratch.PathOf("child.txt");
    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    HANDLE output = CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inheritable, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (output == INVALID_HANDLE_VALUE) return "";

    std::string commandLine = std::string("\"") + self +
                              "\" --gtest_filter=DISABLED_LogoInChild.* --gtest_also_run_disabled_tests";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = output;
    startup.hStdError = output;
    PROCESS_INFORMATION child = {};
    bool finished = false;
    {
        LogPixelsSetting setting(dpi);
        if (setting.IsSet() &&
            CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &child)) {
            // A dialog that does not end must not hold the setting forever.
            finished = WaitForSingleObject(child.hProcess, 60000) == WAIT_OBJECT_0;
            if (!finished) TerminateProcess(child.hProcess, 1);
            WaitForSingleObject(child.hProcess, 10000);
            CloseHandle(child.hThread);
            CloseHandle(child.hProcess);
        }
    }
    CloseHandle(output);
    if (!finished) return "";

    std::string lines;
    if (FILE* file = std::fopen(outputPath.c_str(), "rb")) {
        char line[512];
        while (std::fgets(line, sizeof line, file)) {
            std::string text(line);
            while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
            if (text.compare(0, 6, "logo: ") == 0) lines += text.substr(6) + "\n";
        }
        std::fclose(file);
    }
    return lines;
}

// The value after `what ` in the child's lines, or "missing".
std::string Seen(const std::string& lines, const std::string& what) {
    std::string prefix = what + " ";
    for (size_t start = 0; start < lines.size();) {
        size_t end = lines.find('\n', start);
        std::string line = lines.substr(start, end - start);
        if (line.compare(0, prefix.size(), prefix) == 0) return line.substr(prefix.size());
        start = end + 1;
    }
    return "missing";
}

// "137x56" as two numbers; false if it is not such a size.
bool ParseSize(const std::string& text, int& width, int& height) {
    return std::sscanf(text.c_str(), "%dx%d", &width, &height) == 2;
}

// What every run must show, whatever the DPI: the setting took, "Abbrechen"
// ended the dialog, the template's logo was 91x37, and no bitmap the dialog
// showed outlived it.
void ExpectEveryRun(const std::string& seen, int dpi) {
    std::string both = std::to_string(dpi) + "x" + std::to_string(dpi);
    EXPECT_EQ(Seen(seen, "dpi"), both) << "LogPixels did not take";
    EXPECT_EQ(Seen(seen, "result"), "1") << "ended by \"Abbrechen\"";
    EXPECT_EQ(Seen(seen, "original"), "91x37");
    EXPECT_EQ(Seen(seen, "shown after"), "0") << "the logo shown outlived the dialog";
    EXPECT_EQ(Seen(seen, "original after"), "0") << "the template's logo outlived the dialog";
}

TEST(ScaledLogo, At96DpiTheOriginalLogoIsKeptAndFreedWithTheDialog) {
    std::string seen = RunChildAt(96);
    ASSERT_FALSE(seen.empty()) << "the child run did not finish";
    SCOPED_TRACE(seen);
    ExpectEveryRun(seen, 96);
    EXPECT_EQ(Seen(seen, "kept"), "yes") << "at 96 DPI the original bitmap itself stays";
    EXPECT_EQ(Seen(seen, "shown"), "91x37");
    EXPECT_EQ(Seen(seen, "control"), "91x37");
}

TEST(ScaledLogo, At144DpiTheLogoIsScaledByOneAndAHalfAndBothBitmapsAreFreed) {
    std::string seen = RunChildAt(144);
    ASSERT_FALSE(seen.empty()) << "the child run did not finish";
    SCOPED_TRACE(seen);
    ExpectEveryRun(seen, 144);
    EXPECT_EQ(Seen(seen, "kept"), "no");
    int width = 0, height = 0;
    ASSERT_TRUE(ParseSize(Seen(seen, "shown"), width, height));
    EXPECT_NEAR(width, 137, 1);
    EXPECT_NEAR(height, 56, 1);
    EXPECT_EQ(Seen(seen, "control"), Seen(seen, "shown")) << "the control fits the scaled bitmap";
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
    RunChildAt(144);
    bool hasAfter = read(after);
    RegCloseKey(key);
    EXPECT_EQ(hasAfter, hadBefore);
    if (hadBefore) EXPECT_EQ(after, before);
}

}  // namespace

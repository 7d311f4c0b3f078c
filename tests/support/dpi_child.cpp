#include "tests/support/dpi_child.h"

#include <cstdlib>

#include "tests/support/program_run.h"
#include "tests/support/scratch_directory.h"

namespace {

const char kDpiVariable[] = "LAUNCHER_TEST_CHILD_DPI";
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

}  // namespace

bool ChildTestPassesAt(DWORD dpi, const std::string& filter, std::string& output) {
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

    std::string arguments = "--gtest_filter=" + filter + " --gtest_also_run_disabled_tests"
                            " --gtest_output=xml:" + reportPath;
    STARTUPINFOW startup = {};
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

int DpiSetByParent() {
    const char* dpi = std::getenv(kDpiVariable);
    return dpi ? std::atoi(dpi) : 0;
}

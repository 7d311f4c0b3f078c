// An entry that names a document is opened by the program its file type is
// registered with, the way the desktop opens it on a double click.
#include "tests/e2e/launcher_fixture.h"

namespace {

const char kExtension[] = ".lnchdoc";
const char kFileType[] = "LauncherTestDoc";

// Registers kExtension for the life of the object, opened by `program`.
class RegisteredFileType {
public:
    explicit RegisteredFileType(const std::string& program) {
        ok_ = SetDefault(kExtension, kFileType) &&
              SetDefault(std::string(kFileType) + "\\shell\\open\\command",
                         "\"" + program + "\" \"%1\"");
    }
    ~RegisteredFileType() {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, kExtension);
        RegDeleteKeyA(HKEY_CLASSES_ROOT, kExtension);
        RegDeleteTreeA(HKEY_CLASSES_ROOT, kFileType);
        RegDeleteKeyA(HKEY_CLASSES_ROOT, kFileType);
    }
    RegisteredFileType(const RegisteredFileType&) = delete;
    RegisteredFileType& operator=(const RegisteredFileType&) = delete;

    bool Ok() const { return ok_; }

private:
    static bool SetDefault(const std::string& keyName, const std::string& value) {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CLASSES_ROOT, keyName.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                            nullptr, &key, nullptr) != ERROR_SUCCESS) {
            return false;
        }
        LONG result = RegSetValueExA(key, nullptr, 0, REG_SZ,
                                     reinterpret_cast<const BYTE*>(value.c_str()),
                                     DWORD(value.size() + 1));
        RegCloseKey(key);
        return result == ERROR_SUCCESS;
    }

    bool ok_ = false;
};

using DocumentTest = LauncherTest;

TEST_F(DocumentTest, OkHandsTheDocumentToTheProgramRegisteredForItsType) {
    ASSERT_TRUE(InstallRecorder(scratch_.Path(), "viewer.exe"));
    RegisteredFileType fileType(scratch_.PathOf("viewer.exe"));
    ASSERT_TRUE(fileType.Ok());
    std::string document = scratch_.PathOf("brief.lnchdoc");
    scratch_.WriteFile("brief.lnchdoc", "Sehr geehrte Damen und Herren,\r\n");
    scratch_.WriteFile("dokumente.spi", MenuEntry(document, "Brief"));

    StartLauncher();
    HWND dialog = WaitForStartDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(TextOf(GetDlgItem(dialog, IDC_PATH_LABEL)), Widen(document));
    ClickButton(GetDlgItem(dialog, IDOK));
    EXPECT_EQ(ExitCode(), 0);

    std::vector<RecorderRun> runs = WaitForRecorderRuns(scratch_.Path(), 1, kLaunchTimeoutMs);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].program, "viewer.exe");
    ASSERT_EQ(runs[0].arguments.size(), 1u);
    EXPECT_TRUE(SamePath(runs[0].arguments[0], document)) << runs[0].arguments[0];
    EXPECT_TRUE(SamePath(runs[0].directory, scratch_.Path())) << runs[0].directory;
}

}  // namespace

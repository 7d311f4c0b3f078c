// The launcher dialog as a user meets it: the names offered, the path below
// them, and what each button and key opens or closes.
#include "tests/e2e/launcher_fixture.h"

#include <tlhelp32.h>

namespace {

class DialogTest : public LauncherTest {
protected:
    // A menu of three recorder copies with a missing entry among them; the
    // second is written relative to the current directory.
    void StartWithThreePrograms(const std::string& launcher = LAUNCHER_EXE) {
        ASSERT_TRUE(InstallRecorder(scratch_.Path(), "first.exe"));
        ASSERT_TRUE(InstallRecorder(scratch_.Path(), "second.exe"));
        ASSERT_TRUE(InstallRecorder(scratch_.Path(), "third.exe"));
        scratch_.WriteFile("programme.spi",
                           "Programme zum Testen\r\n" + MenuEntry(FirstPath(), "Erstes") +
                               MenuEntry(scratch_.PathOf("missing.exe"), "Fehlt") +
                               MenuEntry("second.exe", "Zweites") + MenuEntry(ThirdPath(), "Drittes"));
        StartLauncher(launcher);
        dialog_ = WaitForStartDialog();
        ASSERT_NE(dialog_, nullptr) << "the dialog did not appear";
        list_ = GetDlgItem(dialog_, IDC_PROGRAM_LIST);
        label_ = GetDlgItem(dialog_, IDC_PATH_LABEL);
        ASSERT_NE(list_, nullptr);
        ASSERT_NE(label_, nullptr);
    }

    std::string FirstPath() const { return scratch_.PathOf("first.exe"); }
    std::string ThirdPath() const { return scratch_.PathOf("third.exe"); }

    void ExpectOnlyRecorderRan(const std::string& program) {
        std::vector<RecorderRun> runs = WaitForRecorderRuns(scratch_.Path(), 1, kLaunchTimeoutMs);
        ASSERT_EQ(runs.size(), 1u);
        EXPECT_EQ(runs[0].program, program);
        EXPECT_TRUE(SamePath(runs[0].directory, scratch_.Path())) << runs[0].directory;
        EXPECT_TRUE(runs[0].arguments.empty());
    }

    HWND dialog_ = nullptr;
    HWND list_ = nullptr;
    HWND label_ = nullptr;
};

TEST_F(DialogTest, ShowsExistingEntriesInMenuOrderWithTheFirstSelected) {
    ASSERT_NO_FATAL_FAILURE(StartWithThreePrograms());
    std::vector<std::wstring> expected = {L"Erstes", L"Zweites", L"Drittes"};
    EXPECT_EQ(ListItems(list_), expected);
    EXPECT_EQ(ListSelection(list_), 0);
    EXPECT_EQ(TextOf(label_), Widen(FirstPath()));

    SelectListItem(list_, 2);
    EXPECT_EQ(TextOf(label_), Widen(ThirdPath()));
    SelectListItem(list_, 1);
    EXPECT_EQ(TextOf(label_), L"second.exe");
}

TEST_F(DialogTest, RunOpensTheSelectionAndStaysOpenThenOkOpensAndCloses) {
    ASSERT_NO_FATAL_FAILURE(StartWithThreePrograms());
    SelectListItem(list_, 1);
    ClickButton(GetDlgItem(dialog_, IDC_RUN));

    std::vector<RecorderRun> runs = WaitForRecorderRuns(scratch_.Path(), 1, kLaunchTimeoutMs);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].program, "second.exe");
    EXPECT_TRUE(SamePath(runs[0].directory, scratch_.Path())) << runs[0].directory;
    EXPECT_TRUE(runs[0].arguments.empty());

    ASSERT_TRUE(WaitUntilHandled(list_, kWindowTimeoutMs));
    EXPECT_TRUE(launcher_->Running());
    EXPECT_TRUE(IsWindowVisible(dialog_));
    EXPECT_EQ(ListSelection(list_), 1);
    EXPECT_EQ(TextOf(label_), L"second.exe");

    SelectListItem(list_, 2);
    ClickButton(GetDlgItem(dialog_, IDOK));
    EXPECT_EQ(ExitCode(), 0);
    runs = WaitForRecorderRuns(scratch_.Path(), 2, kLaunchTimeoutMs);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[1].program, "third.exe");
    EXPECT_TRUE(SamePath(runs[1].directory, scratch_.Path())) << runs[1].directory;
    // The launcher and the two programs, nothing else.
    EXPECT_EQ(launcher_->ProcessesStarted(), 3u);
}

// The full path of the module `name` in process `id`, or "" when it has none.
std::string ModulePath(DWORD id, const char* name) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, id);
    if (snapshot == INVALID_HANDLE_VALUE) return "?";
    MODULEENTRY32 module = {};
    module.dwSize = sizeof module;
    std::string path;
    for (BOOL more = Module32First(snapshot, &module); more && path.empty(); more = Module32Next(snapshot, &module)) {
        if (lstrcmpiA(module.szModule, name) == 0) path = module.szExePath;
    }
    CloseHandle(snapshot);
    return path;
}

// The launcher may run from a folder of strangers' files, such as a memory
// stick that holds it and its menus: libraries there named like the shell,
// or like those the shell loads by name, are never loaded. The shell itself
// is loaded only when something is opened.
TEST_F(DialogTest, OpensThroughTheShellLoadedLateFromTheSystemFolderOnly) {
    const char* const planted[] = {"shell32.dll", "shlwapi.dll", "shcore.dll"};
    for (const char* name : planted) ASSERT_TRUE(CopyFileA(PLANTED_LIBRARY, scratch_.PathOf(name).c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(LAUNCHER_EXE, scratch_.PathOf("launcher.exe").c_str(), FALSE));
    ASSERT_NO_FATAL_FAILURE(StartWithThreePrograms(scratch_.PathOf("launcher.exe")));
    EXPECT_EQ(ModulePath(launcher_->Id(), "shell32.dll"), "") << "loaded before anything was opened";

    ClickButton(GetDlgItem(dialog_, IDC_RUN));
    EXPECT_EQ(WaitForRecorderRuns(scratch_.Path(), 1, kLaunchTimeoutMs).size(), 1u);
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    EXPECT_TRUE(SamePath(ModulePath(launcher_->Id(), "shell32.dll"), std::string(system) + "\\shell32.dll"));
    for (const char* name : planted) {
        EXPECT_EQ(GetFileAttributesA(scratch_.PathOf(std::string(name) + ".loaded").c_str()), INVALID_FILE_ATTRIBUTES)
            << name << " was loaded from the menu folder";
    }
}

TEST_F(DialogTest, RunCanStartSeveralProgramsInTurn) {
    ASSERT_NO_FATAL_FAILURE(StartWithThreePrograms());
    ClickButton(GetDlgItem(dialog_, IDC_RUN));
    ASSERT_EQ(WaitForRecorderRuns(scratch_.Path(), 1, kLaunchTimeoutMs).size(), 1u);
    SelectListItem(list_, 2);
    ClickButton(GetDlgItem(dialog_, IDC_RUN));
    std::vector<RecorderRun> runs = WaitForRecorderRuns(scratch_.Path(), 2, kLaunchTimeoutMs);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].program, "first.exe");
    EXPECT_EQ(runs[1].program, "third.exe");

    ClickButton(GetDlgItem(dialog_, IDCANCEL));
    EXPECT_EQ(ExitCode(), 0);
    EXPECT_EQ(launcher_->ProcessesStarted(), 3u);
}

enum class CloseBy { CancelButton, EscapeKey, CloseBox };

class DialogCloseTest : public DialogTest, public ::testing::WithParamInterface<CloseBy> {};

TEST_P(DialogCloseTest, ClosesWithExitCodeZeroAndOpensNothing) {
    ASSERT_NO_FATAL_FAILURE(StartWithThreePrograms());
    SelectListItem(list_, 1);
    switch (GetParam()) {
    case CloseBy::CancelButton:
        ClickButton(GetDlgItem(dialog_, IDCANCEL));
        break;
    case CloseBy::EscapeKey: {
        HWND focus = FocusOf(dialog_);
        PressKey(focus ? focus : GetDlgItem(dialog_, IDOK), VK_ESCAPE);
        break;
    }
    case CloseBy::CloseBox:
        PostMessageW(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
    }
    EXPECT_EQ(ExitCode(), 0);
    // Whatever the shell opens is started before the launcher goes on, so
    // by its exit any launch would be counted.
    EXPECT_EQ(launcher_->ProcessesStarted(), 1u);
    EXPECT_TRUE(ReadRecorderLog(scratch_.Path()).empty());
}

INSTANTIATE_TEST_SUITE_P(EveryWay, DialogCloseTest,
                         ::testing::Values(CloseBy::CancelButton, CloseBy::EscapeKey, CloseBy::CloseBox),
                         [](const ::testing::TestParamInfo<CloseBy>& info) {
                             switch (info.param) {
                             case CloseBy::CancelButton: return std::string("CancelButton");
                             case CloseBy::EscapeKey: return std::string("EscapeKey");
                             default: return std::string("CloseBox");
                             }
                         });

TEST_F(DialogTest, KeyboardAloneReachesTheListAndEnterOpensTheSelectionAndCloses) {
    ASSERT_NO_FATAL_FAILURE(StartWithThreePrograms());
    ASSERT_EQ(FocusOf(dialog_), GetDlgItem(dialog_, IDOK)) << "OK is the first tab stop";

    // Tab order: OK, Abbrechen, the list.
    PressKey(FocusOf(dialog_), VK_TAB);
    ASSERT_TRUE(WaitUntilHandled(list_, kWindowTimeoutMs));
    PressKey(FocusOf(dialog_), VK_TAB);
    ASSERT_TRUE(WaitUntilHandled(list_, kWindowTimeoutMs));
    ASSERT_EQ(FocusOf(dialog_), list_);

    PressKey(list_, VK_DOWN);
    ASSERT_TRUE(WaitUntilHandled(list_, kWindowTimeoutMs));
    EXPECT_EQ(ListSelection(list_), 1);
    EXPECT_EQ(TextOf(label_), L"second.exe");

    // Enter in the list presses the default button, OK.
    PressKey(list_, VK_RETURN);
    EXPECT_EQ(ExitCode(), 0);
    ExpectOnlyRecorderRan("second.exe");
    EXPECT_EQ(launcher_->ProcessesStarted(), 2u);
}

TEST_F(DialogTest, EnterOnTheFocusedOkButtonOpensTheSelectionAndCloses) {
    ASSERT_NO_FATAL_FAILURE(StartWithThreePrograms());
    SelectListItem(list_, 1);
    HWND ok = GetDlgItem(dialog_, IDOK);
    ASSERT_EQ(FocusOf(dialog_), ok);
    PressKey(ok, VK_RETURN);
    EXPECT_EQ(ExitCode(), 0);
    ExpectOnlyRecorderRan("second.exe");
    EXPECT_EQ(launcher_->ProcessesStarted(), 2u);
}

TEST_F(DialogTest, DoubleClickOnlySelects) {
    ASSERT_NO_FATAL_FAILURE(StartWithThreePrograms());
    DoubleClickListItem(list_, 1);
    ASSERT_TRUE(WaitUntilHandled(list_, kWindowTimeoutMs));

    EXPECT_EQ(ListSelection(list_), 1);
    EXPECT_EQ(TextOf(label_), L"second.exe");
    EXPECT_TRUE(launcher_->Running());
    EXPECT_TRUE(IsWindowVisible(dialog_));
    // A launch happens inside the click's handling, which is over now.
    EXPECT_EQ(launcher_->ProcessesStarted(), 1u);

    ClickButton(GetDlgItem(dialog_, IDCANCEL));
    EXPECT_EQ(ExitCode(), 0);
    EXPECT_EQ(launcher_->ProcessesStarted(), 1u);
}

TEST_F(DialogTest, NamesKeepTheirWindowsCharacters) {
    // "Grüße" and "Übersicht" as the menu file's single bytes of Windows-1252.
    scratch_.WriteFile("umlaute.spi", MenuEntry("C:\\windows", "Gr\xFC\xDF" "e") +
                                          MenuEntry("C:\\windows\\system32", "\xDC" "bersicht"));
    StartLauncher();
    HWND dialog = WaitForStartDialog();
    ASSERT_NE(dialog, nullptr);
    std::vector<std::wstring> expected = {L"Gr\u00FC\u00DFe", L"\u00DCbersicht"};
    EXPECT_EQ(ListItems(GetDlgItem(dialog, IDC_PROGRAM_LIST)), expected);
    ClickButton(GetDlgItem(dialog, IDCANCEL));
    EXPECT_EQ(ExitCode(), 0);
}

// A menu saved as Notepad saves it today lists what its ANSI form lists, and
// an umlaut path opens. Paths with U+03A9 or U+0142, which Windows-1252
// lacks, are left out, though "?" would match "xmega.exe" and the best fit
// of U+0142 (l with a stroke) would name "lmega.exe".
TEST_F(DialogTest, MenusSavedAsUtf8OrUtf16ListTheNamesOfTheAnsiFileAndOpenUmlautPaths) {
    ASSERT_TRUE(InstallRecorder(scratch_.Path(), "Musik h\xF6ren.exe"));
    for (const char* name : {"xmega.exe", "lmega.exe"}) scratch_.WriteFile(name, "MZ");
    const std::wstring menu = L"Men\u00FC\r\n*p*Musik h\u00F6ren.exe*n*Dr\u00FCck mich*e*\r\n*p*fehlt.exe*n*Fehlt*e*";
    size_t runs = 0;
    for (SavedAs how : {SavedAs::kAnsi, SavedAs::kUtf8, SavedAs::kUtf8WithMark, SavedAs::kUtf16}) {
        const wchar_t* foreign = how == SavedAs::kAnsi ? L"" : L"*p*\u03A9mega.exe*n*\u03A9*p*\u0142mega.exe*n*\u0142";
        scratch_.WriteFile("menu.spi", MenuFileBytes(menu + foreign, how));
        StartLauncher();
        HWND dialog = WaitForStartDialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(ListItems(GetDlgItem(dialog, IDC_PROGRAM_LIST)), std::vector<std::wstring>{L"Dr\u00FCck mich"});
        ClickButton(GetDlgItem(dialog, IDOK));
        std::vector<RecorderRun> log = WaitForRecorderRuns(scratch_.Path(), ++runs, kLaunchTimeoutMs);
        ASSERT_EQ(log.size(), runs) << "saved as " << int(how);
        EXPECT_EQ(log.back().program, "Musik h\xF6ren.exe");
    }
}

}  // namespace

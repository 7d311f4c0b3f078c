// What the launcher shows, or does not show, when there is nothing to offer.
#include "tests/e2e/launcher_fixture.h"

namespace {

using StartupTest = LauncherTest;

TEST_F(StartupTest, WithoutMenuFilesOnlyTheErrorBoxAppearsAndExitCodeIsZero) {
    scratch_.WriteFile("notes.txt", MenuEntry("C:\\windows", "Windows"));  // not a menu file
    StartLauncher();

    HWND box = WaitForVisibleWindow(launcher_->Id(), L"#32770", L"Fehler", kWindowTimeoutMs);
    ASSERT_NE(box, nullptr) << "no error box";

    bool messageShown = false;
    int visibleButtons = 0;
    for (HWND child : ChildrenOf(box)) {
        if (ClassNameOf(child) == L"Static" && TextOf(child) == L"Keine g\u00fcltige Datei gefunden") {
            messageShown = true;
        }
        if (ClassNameOf(child) == L"Button" && IsWindowVisible(child)) ++visibleButtons;
    }
    EXPECT_TRUE(messageShown);
    EXPECT_EQ(visibleButtons, 1) << "the box offers only OK";
    EXPECT_EQ(FindVisibleWindow(launcher_->Id(), L"#32770", L"Start"), nullptr);
    EXPECT_EQ(TopLevelWindowsOf(launcher_->Id(), true).size(), 1u);

    ClickButton(GetDlgItem(box, IDOK));
    EXPECT_EQ(ExitCode(), 0);
    EXPECT_EQ(launcher_->ProcessesStarted(), 1u);
}

TEST_F(StartupTest, WhenEveryEntryNamesAMissingFileNoWindowEverAppears) {
    scratch_.WriteFile("first.spi", MenuEntry(scratch_.PathOf("gone.exe"), "Weg") +
                                        MenuEntry("also-gone.exe", "Auch weg"));
    scratch_.WriteFile("second.spi", MenuEntry("C:\\no\\such\\folder", "Nichts"));
    StartLauncher();

    // Watch the launcher's windows for its whole (bounded) life.
    size_t windowsSeen = 0;
    DWORD exitCode = 0;
    bool exited = false;
    DWORD start = GetTickCount();
    while (!(exited = launcher_->WaitForExit(0, &exitCode)) &&
           GetTickCount() - start < kWindowTimeoutMs) {
        windowsSeen += TopLevelWindowsOf(launcher_->Id(), true).size();
        Sleep(20);
    }
    ASSERT_TRUE(exited) << "the launcher kept running";
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(windowsSeen, 0u);
    EXPECT_EQ(launcher_->ProcessesStarted(), 1u);
}

}  // namespace

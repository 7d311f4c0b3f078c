// The launcher dialog in-process: the real template linked into this test,
// StartDialogProc driven through the dialog manager with mouse, keyboard and
// button messages, and a recorder in place of the shell, so that every
// opening is seen and nothing is started.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "catalogue/catalogue.h"
#include "catalogue/program_entry.h"
#include "collections/indexed_list.h"
#include "resources/resource.h"
#include "tests/support/menu_text.h"
#include "tests/support/scratch_directory.h"
#include "ui/start_dialog.h"

namespace {

std::vector<std::string> opened;  // the paths the dialog opened, in order

void RecordOpening(const char* path) { opened.push_back(path); }

ProgramEntry Entry(const char* path, const char* name) {
    ProgramEntry entry;
    std::memset(&entry, 0, sizeof entry);
    std::strncpy(entry.path, path, sizeof entry.path - 1);
    std::strncpy(entry.name, name, sizeof entry.name - 1);
    return entry;
}

// Names deliberately out of alphabetical order: a sorting list box would
// reorder them and detach positions from entries.
const char* const kPaths[] = {"C:\\Programme\\Zeichnen\\zeichnen.exe", "D:\\Briefe\\Angebot.doc",
                              "C:\\Spiele\\Musik h\xF6ren.cmd", "E:\\Fotos"};
const char* const kNames[] = {"Zeichnen", "Angebot", "Musik h\xF6ren", "Fotos"};
const int kEntryCount = 4;

void FillEntries(IndexedList<ProgramEntry>& entries) {
    for (int i = 0; i < kEntryCount; ++i) ASSERT_TRUE(entries.Append(Entry(kPaths[i], kNames[i])));
}

std::string LabelText(HWND dialog) {
    char text[300] = {};
    GetDlgItemTextA(dialog, IDC_PATH_LABEL, text, sizeof text);
    return text;
}

std::vector<std::string> ListedNames(HWND list) {
    std::vector<std::string> names;
    LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char name[100] = {};
        if (SendMessageA(list, LB_GETTEXTLEN, i, 0) < LRESULT(sizeof name))
            SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(name));
        names.push_back(name);
    }
    return names;
}

LPARAM ItemCentre(HWND list, int item) {
    RECT rect = {};
    SendMessageA(list, LB_GETITEMRECT, item, reinterpret_cast<LPARAM>(&rect));
    return MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

// A user's click on a name, as the list box receives it.
void ClickItem(HWND list, int item) {
    LPARAM at = ItemCentre(list, item);
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(list, WM_LBUTTONUP, 0, at);
}

void DoubleClickItem(HWND list, int item) {
    LPARAM at = ItemCentre(list, item);
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(list, WM_LBUTTONUP, 0, at);
    SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageA(list, WM_LBUTTONUP, 0, at);
}

void PressKey(HWND window, WPARAM key) { SendMessageA(window, WM_KEYDOWN, key, 1); }

// The dialog created modelessly and shown, so the test can look at it
// between user actions.
class OpenDialog : public ::testing::Test {
protected:
    void SetUp() override {
        opened.clear();
        FillEntries(entries);
        dialog = CreateDialogParamA(GetModuleHandleA(nullptr), IDD_START, nullptr, StartDialogProc,
                                    reinterpret_cast<LPARAM>(&setup));
        ASSERT_NE(dialog, nullptr) << "error " << GetLastError();
        ShowWindow(dialog, SW_SHOW);
        list = GetDlgItem(dialog, IDC_PROGRAM_LIST);
        ASSERT_NE(list, nullptr);
    }
    void TearDown() override {
        if (dialog) DestroyWindow(dialog);
    }
    IndexedList<ProgramEntry> entries;
    StartDialogSetup setup = {&entries, RecordOpening};
    HWND dialog = nullptr;
    HWND list = nullptr;
};

TEST_F(OpenDialog, ListsNamesInEntryOrderWithTheFirstSelectedAndItsPathShown) {
    std::vector<std::string> expected(kNames, kNames + kEntryCount);
    EXPECT_EQ(ListedNames(list), expected);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(LabelText(dialog), kPaths[0]);
    EXPECT_EQ(entries.Count(), kEntryCount) << "the dialog only reads the list";
    EXPECT_TRUE(opened.empty()) << "opening the dialog launches nothing";
}

TEST_F(OpenDialog, PathLabelFollowsClicksAndArrowKeys) {
    ClickItem(list, 2);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(LabelText(dialog), kPaths[2]);

    PressKey(list, VK_DOWN);
    EXPECT_EQ(LabelText(dialog), kPaths[3]);
    PressKey(list, VK_HOME);
    EXPECT_EQ(LabelText(dialog), kPaths[0]);
    PressKey(list, VK_END);
    EXPECT_EQ(LabelText(dialog), kPaths[3]);
    ClickItem(list, 1);
    EXPECT_EQ(LabelText(dialog), kPaths[1]);
    EXPECT_TRUE(opened.empty());
}

TEST_F(OpenDialog, SelectionChangeReportedByMessageUpdatesTheLabel) {
    // What the dialog does for itself at start-up, done here for the third
    // entry: select it, then report LBN_SELCHANGE of the list (0x103E8).
    SendMessageA(list, LB_SETCURSEL, 2, 0);
    EXPECT_EQ(LabelText(dialog), kPaths[0]) << "a selection set by message notifies nobody";
    SendMessageA(dialog, WM_COMMAND, 0x103E8, reinterpret_cast<LPARAM>(list));
    EXPECT_EQ(LabelText(dialog), kPaths[2]);
}

TEST_F(OpenDialog, RunOpensTheSelectedEntryAndKeepsTheDialogOpen) {
    ClickItem(list, 2);
    SendMessageA(GetDlgItem(dialog, IDC_RUN), BM_CLICK, 0, 0);
    EXPECT_EQ(opened, std::vector<std::string>{kPaths[2]});

    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(LabelText(dialog), kPaths[2]);

    // Several programs in turn, without reopening the dialog.
    ClickItem(list, 0);
    SendMessageA(GetDlgItem(dialog, IDC_RUN), BM_CLICK, 0, 0);
    EXPECT_EQ(opened, (std::vector<std::string>{kPaths[2], kPaths[0]}));
    EXPECT_TRUE(IsWindowVisible(dialog));
}

TEST_F(OpenDialog, RunWithNothingSelectedOpensTheFirstEntry) {
    SendMessageA(list, LB_SETCURSEL, WPARAM(-1), 0);
    ASSERT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);
    SendMessageA(GetDlgItem(dialog, IDC_RUN), BM_CLICK, 0, 0);
    EXPECT_EQ(opened, std::vector<std::string>{kPaths[0]});
}

TEST_F(OpenDialog, DoubleClickOnlySelects) {
    DoubleClickItem(list, 3);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 3);
    EXPECT_EQ(LabelText(dialog), kPaths[3]);
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(IsWindowVisible(dialog));
}

TEST_F(OpenDialog, ListNotificationsOtherThanSelectionChangeAreClaimedButIgnored) {
    SendMessageA(list, LB_SETCURSEL, 2, 0);  // the label still shows the first path
    const WORD notifications[] = {LBN_DBLCLK, LBN_SELCANCEL, LBN_SETFOCUS, LBN_KILLFOCUS, WORD(LBN_ERRSPACE)};
    for (WORD code : notifications) {
        SCOPED_TRACE(testing::Message() << "notification " << code);
        EXPECT_EQ(StartDialogProc(dialog, WM_COMMAND, MAKEWPARAM(IDC_PROGRAM_LIST, code),
                                  reinterpret_cast<LPARAM>(list)),
                  TRUE);
        EXPECT_EQ(LabelText(dialog), kPaths[0]);
    }
    EXPECT_EQ(StartDialogProc(dialog, WM_COMMAND, MAKEWPARAM(IDC_PROGRAM_LIST, LBN_SELCHANGE),
                              reinterpret_cast<LPARAM>(list)),
              TRUE);
    EXPECT_EQ(LabelText(dialog), kPaths[2]);
    EXPECT_TRUE(opened.empty());
}

TEST_F(OpenDialog, LeavesCommandsOfOtherControlsAndOtherMessagesToTheDialogManager) {
    EXPECT_EQ(StartDialogProc(dialog, WM_COMMAND, MAKEWPARAM(IDC_PATH_LABEL, STN_CLICKED), 0), FALSE);
    EXPECT_EQ(StartDialogProc(dialog, WM_COMMAND, MAKEWPARAM(4711, BN_CLICKED), 0), FALSE);
    EXPECT_EQ(StartDialogProc(dialog, WM_TIMER, 1, 0), FALSE);
    EXPECT_EQ(StartDialogProc(dialog, WM_CLOSE, 0, 0), FALSE);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(LabelText(dialog), kPaths[0]);
    EXPECT_TRUE(opened.empty());
}

// Drive roots and folders with a closing separator opened as written; a quoted path without its quotes.
TEST(PathsAsPeopleWriteThem, FromTheMenuFileToTheOpenerDrivesFoldersAndQuotedPathsAreKept) {
    ScratchDirectory dir;
    dir.WriteFile("menu.spi", PathsAsPeopleWriteThem());
    IndexedList<PathBuffer> paths;
    IndexedList<ProgramEntry> entries;
    ASSERT_TRUE(BuildCatalogue(paths, entries));
    opened.clear();
    StartDialogSetup setup = {&entries, RecordOpening};
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), IDD_START, nullptr, StartDialogProc, LPARAM(&setup));
    HWND list = GetDlgItem(dialog, IDC_PROGRAM_LIST);
    EXPECT_EQ(ListedNames(list), (std::vector<std::string>{"Editor", "Laufwerk C", "Windows", "Zitiert", "Ordner", "Schriften"}));
    for (int item : {1, 3, 5}) {
        SendMessageA(list, LB_SETCURSEL, item, 0);
        SendMessageA(GetDlgItem(dialog, IDC_RUN), BM_CLICK, 0, 0);
    }
    EXPECT_EQ(opened, (std::vector<std::string>{"C:\\", "C:\\windows\\notepad.exe", "C:/windows/Fonts/"}));
    DestroyWindow(dialog);
}

// ---- The modal dialog, as WinMain runs it ----------------------------------
// Buttons and keys on the modal dialog are driven from outside, on the real
// program, by the end-to-end tests. What only shows in-process is the result
// of a dialog that has nothing to show: it ends during its initialisation,
// so DialogBoxParamA returns at once (a fault here hangs the test until its
// time limit instead).

TEST(ModalDialog, EmptyOrMissingListEndsWithTwoBeforeAnythingIsShown) {
    opened.clear();
    IndexedList<ProgramEntry> empty;
    StartDialogSetup setup = {&empty, RecordOpening};
    EXPECT_EQ(DialogBoxParamA(GetModuleHandleA(nullptr), IDD_START, nullptr, StartDialogProc,
                              reinterpret_cast<LPARAM>(&setup)),
              2);
    EXPECT_EQ(DialogBoxParamA(GetModuleHandleA(nullptr), IDD_START, nullptr, StartDialogProc, 0), 2);
    EXPECT_TRUE(opened.empty());
}


// ShowStartDialog, the launcher's way in: it runs the template modally and
// names how the dialog ended. A thread timer plays the user who looks at the
// open dialog and presses "Abbrechen".
HWND shownDialog;
LRESULT shownItems;

void CALLBACK CancelOpenDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = FindWindowA("#32770", "Start");
    if (!dialog || GetWindowThreadProcessId(dialog, nullptr) != GetCurrentThreadId()) return;
    KillTimer(nullptr, timer);
    shownDialog = dialog;
    shownItems = SendMessageA(GetDlgItem(dialog, IDC_PROGRAM_LIST), LB_GETCOUNT, 0, 0);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

TEST(ShowStartDialog, RunsTheTemplateOverTheEntriesUntilClosed) {
    opened.clear();
    IndexedList<ProgramEntry> entries;
    FillEntries(entries);
    shownDialog = nullptr;
    shownItems = -1;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, CancelOpenDialog);
    ASSERT_NE(timer, 0u);
    StartDialogResult result = ShowStartDialog(GetModuleHandleA(nullptr), entries, RecordOpening);
    KillTimer(nullptr, timer);
    EXPECT_EQ(result, kStartDialogClosed);
    EXPECT_NE(shownDialog, nullptr);
    EXPECT_EQ(shownItems, kEntryCount);
    EXPECT_FALSE(IsWindow(shownDialog)) << "the dialog outlived the call";
    EXPECT_TRUE(opened.empty()) << "cancelling opened something";
}

TEST(ShowStartDialog, NamesAnEmptyListAndAMissingTemplate) {
    IndexedList<ProgramEntry> entries;
    EXPECT_EQ(ShowStartDialog(GetModuleHandleA(nullptr), entries, RecordOpening), kStartDialogNoEntries);
    FillEntries(entries);
    // kernel32 holds no dialog "START".
    EXPECT_EQ(ShowStartDialog(GetModuleHandleA("kernel32.dll"), entries, RecordOpening), kStartDialogFailed);
}

}  // namespace

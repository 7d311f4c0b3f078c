// The launcher dialog in-process: the real template linked into this test,
// StartDialogProc driven through the dialog manager with mouse, keyboard and
// button messages, and the shell's ShellExecuteA replaced by a recorder (the
// dialog looks it up in shell32 when it first opens something) so that every
// launch is seen with its exact arguments and nothing is started.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "catalogue/program_entry.h"
#include "collections/indexed_list.h"
#include "resources/resource.h"
#include "ui/start_dialog.h"

namespace {

struct ShellCall {
    HWND window;
    std::string verb;
    std::string file;
    bool parameters;  // non-null parameters were passed
    bool directory;   // a non-null working directory was passed
    INT show;
};

std::vector<ShellCall> shellCalls;
std::string shellLookedUpIn;  // the module ShellExecuteA was asked of

HINSTANCE WINAPI RecordShellExecute(HWND window, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                                    LPCSTR directory, INT show) {
    shellCalls.push_back({window, verb ? verb : "(null)", file ? file : "(null)", parameters != nullptr,
                          directory != nullptr, show});
    return reinterpret_cast<HINSTANCE>(INT_PTR(42));  // above 32: success
}

// Points this executable's import of `function` from `dll` at `replacement`.
bool ReplaceImport(const char* dll, const char* function, void* replacement) {
    BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    IMAGE_DOS_HEADER* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    IMAGE_NT_HEADERS* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    IMAGE_DATA_DIRECTORY imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress) return false;
    for (IMAGE_IMPORT_DESCRIPTOR* module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         module->Name; ++module) {
        if (_stricmp(reinterpret_cast<char*>(base + module->Name), dll) != 0) continue;
        IMAGE_THUNK_DATA* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->OriginalFirstThunk);
        IMAGE_THUNK_DATA* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            IMAGE_IMPORT_BY_NAME* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<char*>(byName->Name), function) != 0) continue;
            DWORD protection;
            if (!VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection))
                return false;
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
            return true;
        }
    }
    return false;
}

FARPROC realGetProcAddress;

// Hands out the recorder for ShellExecuteA and the real thing otherwise.
FARPROC WINAPI LookUpRecordingTheShell(HMODULE module, LPCSTR name) {
    if (HIWORD(reinterpret_cast<ULONG_PTR>(name)) != 0 && std::strcmp(name, "ShellExecuteA") == 0) {
        char path[MAX_PATH] = {};
        GetModuleFileNameA(module, path, MAX_PATH);
        shellLookedUpIn = path;
        return reinterpret_cast<FARPROC>(&RecordShellExecute);
    }
    typedef FARPROC(WINAPI * GetProcAddressFunction)(HMODULE, LPCSTR);
    return reinterpret_cast<GetProcAddressFunction>(realGetProcAddress)(module, name);
}

bool InterceptShell() {
    static bool replaced = [] {
        realGetProcAddress = GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetProcAddress");
        return realGetProcAddress &&
               ReplaceImport("kernel32.dll", "GetProcAddress", reinterpret_cast<void*>(&LookUpRecordingTheShell));
    }();
    shellCalls.clear();
    return replaced;
}

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
        ASSERT_TRUE(InterceptShell()) << "this test's import of GetProcAddress not found";
        FillEntries(entries);
        dialog = CreateDialogParamA(GetModuleHandleA(nullptr), "Start", nullptr, StartDialogProc,
                                    reinterpret_cast<LPARAM>(&entries));
        ASSERT_NE(dialog, nullptr) << "error " << GetLastError();
        ShowWindow(dialog, SW_SHOW);
        list = GetDlgItem(dialog, IDC_PROGRAM_LIST);
        ASSERT_NE(list, nullptr);
    }
    void TearDown() override {
        if (dialog) DestroyWindow(dialog);
    }
    IndexedList<ProgramEntry> entries;
    HWND dialog = nullptr;
    HWND list = nullptr;
};

TEST_F(OpenDialog, ListsNamesInEntryOrderWithTheFirstSelectedAndItsPathShown) {
    std::vector<std::string> expected(kNames, kNames + kEntryCount);
    EXPECT_EQ(ListedNames(list), expected);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(LabelText(dialog), kPaths[0]);
    EXPECT_EQ(entries.Count(), kEntryCount) << "the dialog only reads the list";
    EXPECT_TRUE(shellCalls.empty()) << "opening the dialog launches nothing";
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
    EXPECT_TRUE(shellCalls.empty());
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
    ASSERT_EQ(shellCalls.size(), 1u);
    EXPECT_EQ(shellCalls[0].window, nullptr);
    EXPECT_EQ(shellCalls[0].verb, "open");
    EXPECT_EQ(shellCalls[0].file, kPaths[2]);
    EXPECT_FALSE(shellCalls[0].parameters);
    EXPECT_FALSE(shellCalls[0].directory) << "launched programs start in the launcher's current directory";
    EXPECT_EQ(shellCalls[0].show, SW_SHOW);
    // Looked up when first needed, in the system folder's shell32 only.
    char shell32[MAX_PATH] = {};
    GetSystemDirectoryA(shell32, MAX_PATH);
    EXPECT_EQ(_stricmp(shellLookedUpIn.c_str(), (std::string(shell32) + "\\shell32.dll").c_str()), 0)
        << shellLookedUpIn;

    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(LabelText(dialog), kPaths[2]);

    // Several programs in turn, without reopening the dialog.
    ClickItem(list, 0);
    SendMessageA(GetDlgItem(dialog, IDC_RUN), BM_CLICK, 0, 0);
    ASSERT_EQ(shellCalls.size(), 2u);
    EXPECT_EQ(shellCalls[1].file, kPaths[0]);
    EXPECT_TRUE(IsWindowVisible(dialog));
}

TEST_F(OpenDialog, RunWithNothingSelectedOpensTheFirstEntry) {
    SendMessageA(list, LB_SETCURSEL, WPARAM(-1), 0);
    ASSERT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);
    SendMessageA(GetDlgItem(dialog, IDC_RUN), BM_CLICK, 0, 0);
    ASSERT_EQ(shellCalls.size(), 1u);
    EXPECT_EQ(shellCalls[0].file, kPaths[0]);
}

TEST_F(OpenDialog, DoubleClickOnlySelects) {
    DoubleClickItem(list, 3);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 3);
    EXPECT_EQ(LabelText(dialog), kPaths[3]);
    EXPECT_TRUE(shellCalls.empty());
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
    EXPECT_TRUE(shellCalls.empty());
}

TEST_F(OpenDialog, LeavesCommandsOfOtherControlsAndOtherMessagesToTheDialogManager) {
    EXPECT_EQ(StartDialogProc(dialog, WM_COMMAND, MAKEWPARAM(IDC_PATH_LABEL, STN_CLICKED), 0), FALSE);
    EXPECT_EQ(StartDialogProc(dialog, WM_COMMAND, MAKEWPARAM(4711, BN_CLICKED), 0), FALSE);
    EXPECT_EQ(StartDialogProc(dialog, WM_TIMER, 1, 0), FALSE);
    EXPECT_EQ(StartDialogProc(dialog, WM_CLOSE, 0, 0), FALSE);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(LabelText(dialog), kPaths[0]);
    EXPECT_TRUE(shellCalls.empty());
}

// ---- The modal dialog, as WinMain runs it ----------------------------------
// Buttons and keys on the modal dialog are driven from outside, on the real
// program, by the end-to-end tests. What only shows in-process is the result
// of a dialog that has nothing to show: it ends during its initialisation,
// so DialogBoxParamA returns at once (a fault here hangs the test until its
// time limit instead).

TEST(ModalDialog, EmptyOrMissingListEndsWithTwoBeforeAnythingIsShown) {
    ASSERT_TRUE(InterceptShell());
    IndexedList<ProgramEntry> empty;
    EXPECT_EQ(DialogBoxParamA(GetModuleHandleA(nullptr), "Start", nullptr, StartDialogProc,
                              reinterpret_cast<LPARAM>(&empty)),
              2);
    EXPECT_EQ(DialogBoxParamA(GetModuleHandleA(nullptr), "Start", nullptr, StartDialogProc, 0), 2);
    EXPECT_TRUE(shellCalls.empty());
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
    ASSERT_TRUE(InterceptShell());
    IndexedList<ProgramEntry> entries;
    FillEntries(entries);
    shownDialog = nullptr;
    shownItems = -1;
    UINT_PTR timer = SetTimer(nullptr, 0, 50, CancelOpenDialog);
    ASSERT_NE(timer, 0u);
    StartDialogResult result = ShowStartDialog(GetModuleHandleA(nullptr), entries);
    KillTimer(nullptr, timer);
    EXPECT_EQ(result, kStartDialogClosed);
    EXPECT_NE(shownDialog, nullptr);
    EXPECT_EQ(shownItems, kEntryCount);
    EXPECT_FALSE(IsWindow(shownDialog)) << "the dialog outlived the call";
    EXPECT_TRUE(shellCalls.empty()) << "cancelling opened something";
}

TEST(ShowStartDialog, NamesAnEmptyListAndAMissingTemplate) {
    IndexedList<ProgramEntry> entries;
    EXPECT_EQ(ShowStartDialog(GetModuleHandleA(nullptr), entries), kStartDialogNoEntries);
    FillEntries(entries);
    // kernel32 holds no dialog "START".
    EXPECT_EQ(ShowStartDialog(GetModuleHandleA("kernel32.dll"), entries), kStartDialogFailed);
}

}  // namespace

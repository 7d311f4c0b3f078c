// Finds the launcher's "Start" dialog of whichever process shows it, for
// scripts that demonstrate the launcher without a person at the screen.
//
//   dialog_probe show [seconds]   waits for the dialog (default 30 s), then
//                                 prints its names, its path label and its
//                                 place on screen as "geometry WxH+X+Y"
//   dialog_probe cancel           presses "Abbrechen"
//
// With the environment variable PROBE_DESKTOP set, it looks on that named
// desktop (a Wine virtual desktop started by "explorer /desktop=NAME,...")
// instead of its own.
//
// Output is UTF-8. Exit code 0 on success, 1 when there is no dialog.
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "resources/resource.h"
#include "tests/e2e/dialog_window.h"

namespace {

void Print(const std::wstring& text) {
    std::string bytes;
    if (!text.empty()) {
        int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0,
                                         nullptr, nullptr);
        bytes.resize(size_t(length));
        WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), &bytes[0], length, nullptr,
                            nullptr);
    }
    bytes += "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), DWORD(bytes.size()), &written, nullptr);
}

int Show(DWORD timeoutMs) {
    HWND dialog = WaitForVisibleWindow(0, L"#32770", L"Start", timeoutMs);
    if (!dialog) {
        Print(L"no dialog \"Start\" appeared");
        return 1;
    }
    Print(L"dialog: " + TextOf(dialog));
    for (const std::wstring& name : ListItems(GetDlgItem(dialog, IDC_PROGRAM_LIST))) Print(L"name: " + name);
    Print(L"path: " + TextOf(GetDlgItem(dialog, IDC_PATH_LABEL)));
    RECT frame = {};
    GetWindowRect(dialog, &frame);
    wchar_t geometry[80];
    swprintf(geometry, 80, L"geometry %ldx%ld+%ld+%ld", frame.right - frame.left,
             frame.bottom - frame.top, frame.left, frame.top);
    Print(geometry);
    return 0;
}

int Cancel() {
    HWND dialog = FindVisibleWindow(0, L"#32770", L"Start");
    if (!dialog) {
        Print(L"no dialog \"Start\" to close");
        return 1;
    }
    ClickButton(GetDlgItem(dialog, IDCANCEL));
    return 0;
}

}  // namespace

// Windows are only visible to threads on the same desktop, which may not
// have been created yet when the probe starts.
bool JoinDesktop(DWORD timeoutMs) {
    char name[256] = {};
    if (!GetEnvironmentVariableA("PROBE_DESKTOP", name, sizeof name)) return true;
    DWORD start = GetTickCount();
    for (;;) {
        HDESK desktop = OpenDesktopA(name, 0, FALSE, GENERIC_ALL);
        if (desktop) return SetThreadDesktop(desktop) != 0;
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(100);
    }
}

int main(int argc, char** argv) {
    DWORD timeoutMs = (argc >= 3 ? DWORD(std::atoi(argv[2])) : 30) * 1000;
    if (!JoinDesktop(timeoutMs)) {
        Print(L"cannot reach the desktop named by PROBE_DESKTOP");
        return 1;
    }
    if (argc >= 2 && std::strcmp(argv[1], "show") == 0) return Show(timeoutMs);
    if (argc >= 2 && std::strcmp(argv[1], "cancel") == 0) return Cancel();
    Print(L"usage: dialog_probe show [seconds] | dialog_probe cancel");
    return 2;
}

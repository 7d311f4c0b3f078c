#include "ui/shell_open.h"

#include <windows.h>

#include <cstring>

namespace {

typedef HINSTANCE(WINAPI* ShellExecuteFunction)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);

// shell32 is large, pulls in further libraries, and is needed only once the
// user opens something; imported, it would be loaded before the dialog
// appears. So it is loaded on the first opening, by its full path in the
// system folder, and kept for the rest of the run.
ShellExecuteFunction LoadShellExecute() {
    static ShellExecuteFunction shellExecute;
    if (shellExecute) return shellExecute;
    static const char kName[] = "\\shell32.dll";
    char path[MAX_PATH];
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length + sizeof kName > MAX_PATH) return nullptr;
    std::memcpy(path + length, kName, sizeof kName);
    HMODULE shell = LoadLibraryA(path);
    if (!shell) return nullptr;
    shellExecute = reinterpret_cast<ShellExecuteFunction>(
        reinterpret_cast<void*>(GetProcAddress(shell, "ShellExecuteA")));
    return shellExecute;
}

}  // namespace

void OpenWithShell(const char* path) {
    ShellExecuteFunction shellExecute = LoadShellExecute();
    if (shellExecute) shellExecute(nullptr, "open", path, nullptr, nullptr, SW_SHOW);
}

// The launcher's whole control flow: build the catalogue of the current
// directory, show it in the dialog, tear down. The exit code is always 0.
#include <windows.h>

#include "catalogue/catalogue.h"
#include "resources/resource.h"
#include "ui/shell_open.h"
#include "ui/start_dialog.h"

namespace {

// The launcher usually runs with a directory of someone else's files as its
// current directory (removable media, a download folder), so no DLL may be
// loaded from there. Both functions are missing on the oldest systems the
// launcher runs on (SetDllDirectoryA before XP SP1, SetDefaultDllDirectories
// before Vista with its update) and are therefore looked up, not imported.
void KeepDllsOutOfCurrentDirectory() {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (!kernel) return;
    typedef BOOL(WINAPI * SetDllDirectoryFunction)(LPCSTR);
    typedef BOOL(WINAPI * SetDefaultDllDirectoriesFunction)(DWORD);
    SetDllDirectoryFunction setDllDirectory = reinterpret_cast<SetDllDirectoryFunction>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDllDirectoryA")));
    SetDefaultDllDirectoriesFunction setDefaultDllDirectories =
        reinterpret_cast<SetDefaultDllDirectoriesFunction>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (setDllDirectory) setDllDirectory("");
    if (setDefaultDllDirectories) setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    KeepDllsOutOfCurrentDirectory();
    IndexedList<PathBuffer> paths;
    IndexedList<ProgramEntry> entries;
    if (BuildCatalogue(paths, entries)) {
        ShowStartDialog(instance, entries, OpenWithShell);  // how it ended does not change the exit code
    } else {
        char text[64], caption[16];
        LoadStringA(instance, IDS_NO_VALID_FILE, text, sizeof text);
        LoadStringA(instance, IDS_ERROR, caption, sizeof caption);
        MessageBoxA(nullptr, text, caption, MB_ICONERROR | MB_OK);
    }
    return 0;  // entries, then paths, are destroyed on the way out
}

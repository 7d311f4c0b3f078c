// The launcher's whole control flow: build the catalogue of the current
// directory, show it in the dialog, tear down. The exit code is always 0.
#include <windows.h>

#include "catalogue/catalogue.h"
#include "ui/start_dialog.h"

namespace {

// The launcher usually runs with a directory of someone else's files as its
// current directory (removable media, a download folder), so no DLL may be
// loaded from there. SetDefaultDllDirectories is missing on old systems and
// is therefore looked up rather than imported.
void KeepDllsOutOfCurrentDirectory() {
    SetDllDirectoryA("");
    typedef BOOL(WINAPI * SetDefaultDllDirectoriesFunction)(DWORD);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (!kernel) return;
    SetDefaultDllDirectoriesFunction setDefaultDllDirectories =
        reinterpret_cast<SetDefaultDllDirectoriesFunction>(
            reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (setDefaultDllDirectories) setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    KeepDllsOutOfCurrentDirectory();
    IndexedList<PathBuffer> paths;
    IndexedList<ProgramEntry> entries;
    if (BuildCatalogue(paths, entries)) {
        DialogBoxParamA(instance, "Start", nullptr, StartDialogProc, reinterpret_cast<LPARAM>(&entries));
    } else {
        MessageBoxA(nullptr, "Keine g\xFCltige Datei gefunden", "Fehler", MB_ICONERROR | MB_OK);
    }
    return 0;  // entries, then paths, are destroyed on the way out
}

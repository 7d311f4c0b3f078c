// The floor for the launcher's start-up: a program that shows the same
// dialog template, with the same resources and manifest, and does nothing
// else. Its list stays empty; "Abbrechen" or the close box ends it.
#include <windows.h>

#include "resources/resource.h"

namespace {

INT_PTR CALLBACK BareDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK)) {
        EndDialog(dialog, 1);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    DialogBoxParamA(instance, IDD_START, nullptr, BareDialogProc, 0);
    return 0;
}

// The launcher dialog "START": the entries' names in a list box, the selected
// entry's path below it, and buttons that open the selected entry.
#pragma once

#include <windows.h>

// Dialog procedure for the template "START". The initialisation parameter is
// the address of an IndexedList<ProgramEntry>, which the dialog only reads;
// a null or empty list ends the dialog with result 2 before it is shown.
INT_PTR CALLBACK StartDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

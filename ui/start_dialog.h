// The launcher dialog "START": the entries' names in a list box, the selected
// entry's path below it, and buttons that open the selected entry.
#pragma once

#include <windows.h>

#include "catalogue/program_entry.h"
#include "collections/indexed_list.h"

// How the dialog ended.
enum StartDialogResult {
    kStartDialogFailed = -1,   // the template could not be loaded or shown
    kStartDialogClosed = 1,    // "OK", "Abbrechen", Escape or the close box
    kStartDialogNoEntries = 2  // nothing to offer: the dialog was never shown
};

// Opens an entry's path: the launcher hands it to the shell.
typedef void (*OpenEntryFunction)(const char* path);

// What the dialog is started with: the entries it shows, which it only
// reads, and how it opens the one chosen.
struct StartDialogSetup {
    IndexedList<ProgramEntry>* entries;
    OpenEntryFunction open;
};

// Runs the dialog "START" of `instance` modally over `entries`, opening the
// chosen ones with `open`, and returns when the dialog has ended.
StartDialogResult ShowStartDialog(HINSTANCE instance, IndexedList<ProgramEntry>& entries,
                                  OpenEntryFunction open);

// Dialog procedure for the template "START". The initialisation parameter is
// the address of a StartDialogSetup, copied at once; a null setup, or a null
// or empty list, ends the dialog with kStartDialogNoEntries before it is
// shown.
INT_PTR CALLBACK StartDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

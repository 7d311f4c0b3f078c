#include "ui/start_dialog.h"

#include "catalogue/program_entry.h"
#include "collections/indexed_list.h"
#include "resources/resource.h"
#include "ui/scaled_logo.h"

namespace {

// Set at WM_INITDIALOG, read by every later command. Lookups move the list's
// cursor; the dialog never adds or removes entries.
IndexedList<ProgramEntry>* shownEntries;
OpenEntryFunction openEntry;

// The entry under the list box's selection; with nothing selected (-1) the
// list clamps to the first entry. Null only when there are no entries.
ProgramEntry* SelectedEntry(HWND dialog) {
    if (!shownEntries || shownEntries->Count() == 0) return nullptr;
    LRESULT selected = SendMessageA(GetDlgItem(dialog, IDC_PROGRAM_LIST), LB_GETCURSEL, 0, 0);
    return &shownEntries->At(int32_t(selected));
}

void OpenSelectedEntry(HWND dialog) {
    ProgramEntry* entry = SelectedEntry(dialog);
    // The launched program starts in the launcher's current directory,
    // where relative paths were checked.
    if (entry) openEntry(entry->path);
}

BOOL InitDialog(HWND dialog, LPARAM lParam) {
    const StartDialogSetup* setup = reinterpret_cast<const StartDialogSetup*>(lParam);
    shownEntries = setup ? setup->entries : nullptr;
    openEntry = setup ? setup->open : nullptr;
    if (!shownEntries || shownEntries->Count() == 0) {
        EndDialog(dialog, kStartDialogNoEntries);
        return TRUE;
    }
    ShowScaledLogo(dialog);
    HWND list = GetDlgItem(dialog, IDC_PROGRAM_LIST);
    for (int32_t i = 0; i < shownEntries->Count(); ++i) {
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shownEntries->At(i).name));
    }
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    // The same path as a user's selection change, so the label is filled by
    // one piece of code.
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_PROGRAM_LIST, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(list));
    return TRUE;  // the dialog manager focuses the first tab stop, "OK"
}

BOOL OnCommand(HWND dialog, WPARAM wParam) {
    switch (LOWORD(wParam)) {
    case IDOK:
        OpenSelectedEntry(dialog);
        EndDialog(dialog, kStartDialogClosed);
        return TRUE;
    case IDC_RUN:
        OpenSelectedEntry(dialog);
        return TRUE;
    case IDCANCEL:
        EndDialog(dialog, kStartDialogClosed);
        return TRUE;
    case IDC_PROGRAM_LIST:
        if (HIWORD(wParam) == LBN_SELCHANGE) {
            ProgramEntry* entry = SelectedEntry(dialog);
            if (entry) SetDlgItemTextA(dialog, IDC_PATH_LABEL, entry->path);
        }
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

INT_PTR CALLBACK StartDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return InitDialog(dialog, lParam);
    case WM_COMMAND:
        return OnCommand(dialog, wParam);
    case WM_DESTROY:
        FreeLogo(dialog);
        return FALSE;
    default:
        return FALSE;
    }
}

StartDialogResult ShowStartDialog(HINSTANCE instance, IndexedList<ProgramEntry>& entries,
                                  OpenEntryFunction open) {
    StartDialogSetup setup = {&entries, open};
    INT_PTR result = DialogBoxParamA(instance, IDD_START, nullptr, StartDialogProc,
                                     reinterpret_cast<LPARAM>(&setup));
    switch (result) {
    case kStartDialogClosed:
    case kStartDialogNoEntries:
        return StartDialogResult(result);
    default:
        return kStartDialogFailed;
    }
}

// The dialog's fixed texts at the display's DPI: each shows whole, on one
// line, in its control, measured with the control's own font at 96 and 144
// DPI, each DPI in a child run of this executable (tests/support/dpi_child.h).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "catalogue/program_entry.h"
#include "collections/indexed_list.h"
#include "resources/resource.h"
#include "tests/support/dpi_child.h"
#include "ui/start_dialog.h"

namespace {

// Runs only in the child, which the parent starts at the DPI it set.
TEST(DISABLED_FixedTextsInChild, EachFitsItsControlOnOneLine) {
    ASSERT_NE(DpiSetByParent(), 0);
    IndexedList<ProgramEntry> entries;
    ASSERT_TRUE(entries.Append(ProgramEntry()));  // with no entry the dialog ends at once
    StartDialogSetup setup = {&entries, nullptr};  // nothing is opened
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), IDD_START, nullptr, StartDialogProc,
                                     reinterpret_cast<LPARAM>(&setup));
    ASSERT_NE(dialog, nullptr);
    std::string seen;
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        char type[16] = {}, text[64] = {};
        GetClassNameA(control, type, sizeof type);
        DWORD style = DWORD(GetWindowLongA(control, GWL_STYLE));
        if (lstrcmpiA(type, "Static") != 0 || (style & SS_TYPEMASK) == SS_BITMAP ||
            GetDlgCtrlID(control) == IDC_PATH_LABEL) {
            continue;
        }
        GetWindowTextA(control, text, sizeof text);
        HDC dc = GetDC(control);
        HGDIOBJ font = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
        SIZE size = {};
        GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
        SelectObject(dc, font);
        ReleaseDC(control, dc);
        RECT client = {};
        GetClientRect(control, &client);
        EXPECT_LE(size.cx, client.right) << text;
        EXPECT_LE(size.cy, client.bottom) << text;
        seen += std::string(text) + "|";
    }
    DestroyWindow(dialog);
    EXPECT_NE(seen.find("|Version 1.0|"), std::string::npos) << seen;
}

// ---- The parent ---------------------------------------------------------------

const char kFilter[] = "DISABLED_FixedTextsInChild.*";

TEST(FixedTexts, FitTheirControlsAt96And144Dpi) {
    for (DWORD dpi : {96, 144}) {
        std::string output;
        EXPECT_TRUE(ChildTestPassesAt(dpi, kFilter, output)) << dpi << " DPI\n" << output;
    }
}

}  // namespace

// The logo and the fixed texts at the display's DPI, on the modal dialog as
// WinMain runs it, each DPI in a child run of this executable
// (tests/support/dpi_child.h).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "catalogue/program_entry.h"
#include "collections/indexed_list.h"
#include "resources/resource.h"
#include "tests/support/dpi_child.h"
#include "ui/scaled_logo.h"
#include "ui/start_dialog.h"

namespace {

// ---- The child: one modal dialog at the DPI it was started with ------------

struct LogoSeen {
    HBITMAP original = nullptr;  // the control's bitmap before initialisation
    HBITMAP shown = nullptr;     // its bitmap once the dialog is initialised
    BITMAP originalSize = {}, shownSize = {};
    RECT control = {};  // the control's client area, which fits its bitmap
};
LogoSeen logoSeen;
std::string textsCut;  // each fixed text that does not show whole, on one line

// Measures each fixed text with its control's own font; the path label's text is no fixed one.
void FindTextsCut(HWND dialog) {
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        char type[16] = {}, text[64] = {};
        GetClassNameA(control, type, sizeof type);
        if (lstrcmpiA(type, "Static") || control == FindLogoControl(dialog) || GetDlgCtrlID(control) == IDC_PATH_LABEL) continue;
        HDC dc = GetDC(control);
        HGDIOBJ font = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
        SIZE size = {};
        GetTextExtentPoint32A(dc, text, GetWindowTextA(control, text, sizeof text), &size);
        SelectObject(dc, font);
        ReleaseDC(control, dc);
        RECT client = {};
        GetClientRect(control, &client);
        if (size.cx > client.right || size.cy > client.bottom) textsCut += std::string(text) + "; ";
    }
}

HBITMAP ImageOf(HWND logo, BITMAP& size) {
    HBITMAP image = reinterpret_cast<HBITMAP>(SendMessageA(logo, STM_GETIMAGE, IMAGE_BITMAP, 0));
    if (image) GetObjectA(image, sizeof size, &size);
    return image;
}

// Looks at the logo around the real initialisation and at the texts, then
// presses "Abbrechen" through the message queue so the dialog ends in its
// own way.
INT_PTR CALLBACK WatchingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_INITDIALOG) return StartDialogProc(dialog, message, wParam, lParam);
    HWND logo = FindLogoControl(dialog);
    logoSeen.original = ImageOf(logo, logoSeen.originalSize);
    INT_PTR result = StartDialogProc(dialog, message, wParam, lParam);
    logoSeen.shown = ImageOf(logo, logoSeen.shownSize);
    GetClientRect(logo, &logoSeen.control);
    FindTextsCut(dialog);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return result;
}

// Runs only in the child, which the parent starts with this test's name and
// the DPI it set.
TEST(DISABLED_LogoInChild, ShownAtTheDisplayDpiAndFreedWithTheDialog) {
    const int dpi = DpiSetByParent();
    ASSERT_NE(dpi, 0);
    HDC screen = GetDC(nullptr);
    ASSERT_EQ(GetDeviceCaps(screen, LOGPIXELSX), dpi) << "LogPixels did not take";
    ASSERT_EQ(GetDeviceCaps(screen, LOGPIXELSY), dpi);
    ReleaseDC(nullptr, screen);

    ProgramEntry entry = {};
    std::strcpy(entry.path, "C:\\Programme\\Zeichnen\\zeichnen.exe");
    std::strcpy(entry.name, "Zeichnen");
    IndexedList<ProgramEntry> entries;
    ASSERT_TRUE(entries.Append(entry));
    StartDialogSetup setup = {&entries, nullptr};  // nothing is opened
    EXPECT_EQ(DialogBoxParamA(GetModuleHandleA(nullptr), IDD_START, nullptr, WatchingDialogProc,
                              reinterpret_cast<LPARAM>(&setup)),
              1)
        << "ended by \"Abbrechen\"";

    EXPECT_EQ(logoSeen.originalSize.bmWidth, 91);
    EXPECT_EQ(logoSeen.originalSize.bmHeight, 37);
    if (dpi == 96) {
        EXPECT_EQ(logoSeen.shown, logoSeen.original) << "at 96 DPI the original bitmap itself stays";
    } else {
        EXPECT_NE(logoSeen.shown, logoSeen.original);
        EXPECT_NEAR(logoSeen.shownSize.bmWidth, 91 * dpi / 96.0, 1);
        EXPECT_NEAR(logoSeen.shownSize.bmHeight, 37 * dpi / 96.0, 1);
    }
    EXPECT_EQ(logoSeen.control.right, logoSeen.shownSize.bmWidth) << "the control fits its bitmap";
    EXPECT_EQ(logoSeen.control.bottom, logoSeen.shownSize.bmHeight);
    EXPECT_EQ(GetObjectType(logoSeen.shown), 0u) << "the logo shown outlived the dialog";
    EXPECT_EQ(GetObjectType(logoSeen.original), 0u) << "the template's logo outlived the dialog";
    EXPECT_EQ(textsCut, "") << "\"Version 1.0\" and the other fixed texts show whole";
}

// ---- The parent ---------------------------------------------------------------

const char kFilter[] = "DISABLED_LogoInChild.*";

TEST(ScaledLogo, At96DpiTheOriginalLogoIsKeptAndFreedAndEveryFixedTextShowsWhole) {
    std::string output;
    EXPECT_TRUE(ChildTestPassesAt(96, kFilter, output)) << output;
}

TEST(ScaledLogo, At144DpiTheLogoIsScaledTo137By56AndFreedAndEveryFixedTextShowsWhole) {
    std::string output;
    EXPECT_TRUE(ChildTestPassesAt(144, kFilter, output)) << output;
}

TEST(ScaledLogo, LogPixelsIsPutBackAfterTheChildRuns) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_QUERY_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    auto read = [&](DWORD& value) {
        DWORD size = sizeof value;
        return RegQueryValueExA(key, "LogPixels", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) ==
               ERROR_SUCCESS;
    };
    DWORD before = 0, after = 0;
    bool hadBefore = read(before);
    std::string output;
    ChildTestPassesAt(144, kFilter, output);
    bool hasAfter = read(after);
    RegCloseKey(key);
    EXPECT_EQ(hasAfter, hadBefore);
    if (hadBefore) EXPECT_EQ(after, before);
}

}  // namespace

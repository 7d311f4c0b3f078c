#include "ui/scaled_logo.h"

// The logo carries no identifier of its own (-1, like the other decoration
// controls), so it is found as the dialog's one static bitmap control.
HWND FindLogoControl(HWND dialog) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[8] = {};
        GetClassNameA(child, className, sizeof className);
        if (lstrcmpiA(className, "Static") == 0 &&
            (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP)
            return child;
    }
    return nullptr;
}

namespace {

HBITMAP SetLogo(HWND control, HBITMAP bitmap) {
    return reinterpret_cast<HBITMAP>(
        SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
}

}  // namespace

void ShowScaledLogo(HWND dialog) {
    HDC screen = GetDC(dialog);
    if (!screen) return;
    int dpiX = GetDeviceCaps(screen, LOGPIXELSX);
    int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(dialog, screen);
    if (dpiX <= 0 || dpiY <= 0 || (dpiX == 96 && dpiY == 96)) return;

    HWND control = FindLogoControl(dialog);
    if (!control) return;
    HBITMAP original = reinterpret_cast<HBITMAP>(SendMessageA(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP size;
    if (!original || GetObjectA(original, sizeof size, &size) == 0) return;
    int width = MulDiv(size.bmWidth, dpiX, 96);
    int height = MulDiv(size.bmHeight, dpiY, 96);
    if (width <= 0 || height <= 0) return;
    HBITMAP scaled = static_cast<HBITMAP>(CopyImage(original, IMAGE_BITMAP, width, height, 0));
    if (!scaled) return;
    // The control hands the bitmap it showed back to us, so it is ours to free.
    HBITMAP previous = SetLogo(control, scaled);
    if (previous) DeleteObject(previous);
}

void FreeLogo(HWND dialog) {
    HWND control = FindLogoControl(dialog);
    if (!control) return;
    // Wine's static control never frees a bitmap, not even the one it loaded
    // from the template; other versions may free what they loaded. Taken out
    // of the control first, the bitmap has exactly one owner everywhere.
    HBITMAP shown = SetLogo(control, nullptr);
    if (shown) DeleteObject(shown);
}

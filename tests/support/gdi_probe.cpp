// Tells whether programs of this build can use GDI here: the screen's DPI
// and the size of a word in the default font. Under wine64's WoW64 mode
// (Wine 8.0) a 32-bit process gets neither: GetDeviceCaps answers 0 and no
// font is found, so its windows work but show no text and its bitmaps
// cannot be measured. Built for each Windows build, like ansi_text_probe.
//
// Exit code: 0 GDI answers; 1 it does not (printed).
#include <windows.h>

#include <cstdio>

int main() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    SIZE size = {};
    BOOL measured = GetTextExtentPoint32A(screen, "Start", 5, &size);
    ReleaseDC(nullptr, screen);
    if (dpi > 0 && measured && size.cx > 0 && size.cy > 0) {
        std::printf("GDI: %d DPI, \"Start\" is %ldx%ld pixels\n", dpi, size.cx, size.cy);
        return 0;
    }
    std::printf("no GDI: %d DPI, text %s\n", dpi, measured ? "of no size" : "not measured");
    return 1;
}

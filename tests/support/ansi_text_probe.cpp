// Tells whether this platform keeps the ANSI text of a window intact: creates
// a window with the text "\xFC" (u umlaut in Windows-1252) and reads it back
// in wide form. Built for each Windows build, so the 32-bit copy probes what
// 32-bit programs get.
//
// Exit code: 0 the text came back as U+00FC; 1 it came back as anything
// else (printed); 2 no window could be created.
#include <windows.h>

#include <cstdio>

int main() {
    HWND window = CreateWindowExA(0, "STATIC", "\xFC", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    if (!window) {
        std::printf("no window (error %lu)\n", GetLastError());
        return 2;
    }
    wchar_t text[8] = {};
    int length = GetWindowTextW(window, text, 8);
    DestroyWindow(window);
    if (length == 1 && text[0] == 0x00FC) {
        std::printf("intact: U+00FC\n");
        return 0;
    }
    std::printf("damaged: %d character(s), first U+%04X\n", length, unsigned(text[0]));
    return 1;
}

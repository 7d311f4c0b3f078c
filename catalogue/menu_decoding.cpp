#include "catalogue/menu_decoding.h"

#include <windows.h>

#include <limits.h>

#include <cstring>
#include <new>

namespace {

// True when `ansi` turns back into exactly `wide`: then no character got a
// look-alike or the default character, which is what WC_NO_BEST_FIT_CHARS
// would check, only here at the speed of the plain conversions.
bool TurnsBack(const char* ansi, int length, const WCHAR* wide, int count) {
    WCHAR few[16];
    WCHAR* back = count <= 16 ? few : new (std::nothrow) WCHAR[size_t(count)];
    if (!back) return false;
    bool same = MultiByteToWideChar(CP_ACP, 0, ansi, length, back, count) == count &&
                std::memcmp(back, wide, size_t(count) * sizeof *back) == 0;
    if (back != few) delete[] back;
    return same;
}

}  // namespace

size_t WideUnits(const uint16_t* text) {
    size_t units = 0;
    while (text[units]) ++units;
    return units;
}

size_t WideToAnsi(const uint16_t* units, size_t count, char* ansi, size_t room, bool& defaultUsed) {
    if (count == 0) return 0;
    if (count > INT_MAX) return kConversionFailed;
    if (room > INT_MAX) room = INT_MAX;
    const WCHAR* wide = reinterpret_cast<const WCHAR*>(units);
    int written = WideCharToMultiByte(CP_ACP, 0, wide, int(count), ansi, int(room), nullptr, nullptr);
    if (written <= 0) return kConversionFailed;
    if (TurnsBack(ansi, written, wide, int(count))) return size_t(written);
    // Where the ANSI code page is UTF-8 (an option of Windows 10) only a lone
    // surrogate fails to turn back, and the call below would refuse its flag.
    if (GetACP() == CP_UTF8) {
        defaultUsed = true;
        return size_t(written);
    }
    // Without WC_NO_BEST_FIT_CHARS U+0142 (l with a stroke) would become "l":
    // a path could then name another file that exists.
    BOOL used = FALSE;
    written = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, int(count), ansi, int(room), "?", &used);
    if (written <= 0) return kConversionFailed;
    defaultUsed = used != FALSE;
    return size_t(written);
}

MenuFileStatus DecodeMenuFile(MenuFileText& file, MenuDecoding& decoding) {
    CPINFO info;
    AnsiCodePage codePage = {WideToAnsi, GetCPInfo(CP_ACP, &info) && info.MaxCharSize > 0 ? info.MaxCharSize : 4u};
    size_t size = file.size;
    bool decoded = DecodeMenuText(file.text, size, codePage, MAXDWORD - 3, decoding);
    file.size = uint32_t(size);
    return decoded ? kMenuFileRead : kMenuFileNotBuffered;
}

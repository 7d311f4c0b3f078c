#include "catalogue/menu_decoding.h"

#include <windows.h>

#include <limits.h>

namespace {

size_t WideToAnsi(const uint16_t* wide, size_t count, char* ansi, size_t room, bool& defaultUsed) {
    if (count == 0) return 0;
    if (count > INT_MAX) return kConversionFailed;
    if (room > INT_MAX) room = INT_MAX;
    // Where the ANSI code page is UTF-8 (an option of Windows 10), every
    // character has a form, and the call refuses the flag and the default.
    const bool utf8 = GetACP() == CP_UTF8;
    // Without WC_NO_BEST_FIT_CHARS U+0142 (l with a stroke) would become "l":
    // a path could then name another file that exists.
    BOOL used = FALSE;
    int written = WideCharToMultiByte(CP_ACP, utf8 ? 0 : WC_NO_BEST_FIT_CHARS,
                                      reinterpret_cast<const WCHAR*>(wide), int(count), ansi, int(room),
                                      utf8 ? nullptr : "?", utf8 ? nullptr : &used);
    if (written <= 0) return kConversionFailed;
    defaultUsed = used != FALSE;
    return size_t(written);
}

}  // namespace

MenuFileStatus DecodeMenuFile(MenuFileText& file, MenuDecoding& decoding) {
    CPINFO info;
    AnsiCodePage codePage = {WideToAnsi, GetCPInfo(CP_ACP, &info) && info.MaxCharSize > 0 ? info.MaxCharSize : 4u};
    size_t size = file.size;
    bool decoded = DecodeMenuText(file.text, size, codePage, MAXDWORD - 3, decoding);
    file.size = uint32_t(size);
    return decoded ? kMenuFileRead : kMenuFileNotBuffered;
}

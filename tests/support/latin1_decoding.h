// The decoding step for the portable tests and the fuzzer: ISO 8859-1 stands
// in for the system's code page, any unit above U+00FF becomes "?".
#pragma once

#include <stdint.h>
#include <string.h>

#include "catalogue/menu_encoding.h"

inline size_t Latin1FromWide(const uint16_t* wide, size_t count, char* ansi, size_t room, bool& defaultUsed) {
    for (size_t i = 0; i < count && count <= room; ++i) {
        ansi[i] = wide[i] <= 0xFF ? char(wide[i]) : '?';
        defaultUsed = defaultUsed || wide[i] > 0xFF;
    }
    return count <= room ? count : kConversionFailed;
}

// `size` bytes in a new[] block with three zero bytes after them, as
// ReadMenuFile leaves them, through DecodeMenuText. Null when it failed.
inline char* DecodeWithLatin1(const char* bytes, size_t& size, MenuDecoding& decoding, size_t limit = SIZE_MAX) {
    char* text = static_cast<char*>(memcpy(new char[size + 3](), bytes, size));
    DecodeMenuText(text, size, AnsiCodePage{Latin1FromWide, 1}, limit, decoding);
    return text;
}

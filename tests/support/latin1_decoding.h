// The decoding step for the portable tests and the fuzzer, where the system's
// code page is not at hand: ISO 8859-1 stands in for it, whose 256 bytes are
// U+0000..U+00FF. Any other unit becomes "?" as the system writes it.
#pragma once

#include <stdint.h>
#include <string.h>

#include "catalogue/menu_encoding.h"

inline size_t Latin1FromWide(const uint16_t* wide, size_t count, char* ansi, size_t room, bool& defaultUsed) {
    if (count > room) return kConversionFailed;
    for (size_t i = 0; i < count; ++i) {
        ansi[i] = wide[i] <= 0xFF ? char(wide[i]) : '?';
        if (wide[i] > 0xFF) defaultUsed = true;
    }
    return count;
}

// `size` bytes handed on as ReadMenuFile does (a new[] block with three zero
// bytes after them) through DecodeMenuText; `size` becomes the decoded size.
// The caller delete[]s the result, which is null when decoding failed.
inline char* DecodeWithLatin1(const char* bytes, size_t& size, MenuDecoding& decoding, size_t limit = SIZE_MAX) {
    char* text = new char[size + 3]();
    if (size) memcpy(text, bytes, size);
    const AnsiCodePage latin1 = {Latin1FromWide, 1};
    DecodeMenuText(text, size, latin1, limit, decoding);
    return text;
}

#include "catalogue/menu_encoding.h"

#include <cstring>
#include <new>

namespace {

// The first byte at or after `at` that is not ASCII, or `end`. ANSI menus pay
// this scan on every start, so it looks at 128 bytes at a time, in words of
// the processor's width, which the compiler may widen further.
const unsigned char* SkipAscii(const unsigned char* at, const unsigned char* end) {
    const size_t kHighBits = ~size_t(0) / 0xFF * 0x80;
    while (end - at >= 128) {
        size_t any = 0;
        for (size_t k = 0; k < 128; k += sizeof any) {
            size_t word;
            std::memcpy(&word, at + k, sizeof word);
            any |= word;
        }
        if (any & kHighBits) break;
        at += 128;
    }
    while (at < end && *at < 0x80) ++at;
    return at;
}

}  // namespace

size_t Utf8Sequence(const unsigned char* at, const unsigned char* end, size_t& taken) {
    const unsigned char lead = *at;
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    taken = 1;
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // shorter forms of U+0000..U+07FF
        if (lead == 0xED) high = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;   // shorter forms of U+0000..U+FFFF
        if (lead == 0xF4) high = 0x8F;  // beyond U+10FFFF
    } else {
        return 0;  // a continuation byte, C0, C1 or F5..FF
    }
    for (; taken < length; ++taken) {
        if (at + taken == end || at[taken] < low || at[taken] > high) return 0;
        low = 0x80;
        high = 0xBF;
    }
    return length;
}

namespace {

// UTF-16 units of the UTF-8 in [at, end), never more than its bytes.
size_t WideFromUtf8(const unsigned char* at, const unsigned char* end, uint16_t* wide) {
    uint16_t* out = wide;
    while (at < end) {
        if (*at < 0x80) {
            *out++ = *at++;
            continue;
        }
        size_t taken;
        size_t length = Utf8Sequence(at, end, taken);
        if (length == 0) {
            *out++ = 0xFFFD;
            at += taken;
            continue;
        }
        uint32_t code = at[0] & (0x7F >> length);
        for (size_t k = 1; k < length; ++k) code = (code << 6) | (at[k] & 0x3F);
        at += length;
        if (code < 0x10000) {
            *out++ = uint16_t(code);
        } else {
            code -= 0x10000;
            *out++ = uint16_t(0xD800 + (code >> 10));
            *out++ = uint16_t(0xDC00 + (code & 0x3FF));
        }
    }
    return size_t(out - wide);
}

bool IsHighSurrogate(uint16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(uint16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The conversion again, one character at a time, marking in `lost` the bytes
// of each character that had no ANSI form. Only texts holding such a
// character pay for it.
size_t ConvertMarkingLost(const uint16_t* wide, size_t units, const AnsiCodePage& codePage, char* ansi,
                          size_t room, unsigned char* lost) {
    size_t written = 0;
    for (size_t i = 0; i < units;) {
        if (wide[i] < 0x80) {  // ASCII is itself in every ANSI code page
            if (written == room) return kConversionFailed;
            ansi[written++] = char(wide[i++]);
            continue;
        }
        size_t count = IsHighSurrogate(wide[i]) && i + 1 < units && IsLowSurrogate(wide[i + 1]) ? 2 : 1;
        bool defaultUsed = false;
        size_t part = codePage.convert(wide + i, count, ansi + written, room - written, defaultUsed);
        if (part > room - written) return kConversionFailed;
        for (size_t k = written; defaultUsed && k < written + part; ++k) lost[k / 8] |= uint8_t(1u << (k % 8));
        written += part;
        i += count;
    }
    return written;
}

// The ANSI block for `units` UTF-16 units: text, three zero bytes, and the
// lost marks when a character had no ANSI form. Null when it does not fit.
char* AnsiFromWide(const uint16_t* wide, size_t units, const AnsiCodePage& codePage, size_t limit,
                   size_t& size, const unsigned char*& lost) {
    size_t room = units > limit / codePage.maxBytesPerUnit ? limit : units * codePage.maxBytesPerUnit;
    char* block = new (std::nothrow) char[room + 3];
    if (!block) return nullptr;
    bool defaultUsed = false;
    size = units ? codePage.convert(wide, units, block, room, defaultUsed) : 0;
    lost = nullptr;
    if (size <= room && defaultUsed) {
        delete[] block;
        size_t marks = room / 8 + 1;
        block = new (std::nothrow) char[room + 3 + marks];
        if (!block) return nullptr;
        unsigned char* lostMarks = reinterpret_cast<unsigned char*>(block + room + 3);
        std::memset(lostMarks, 0, marks);
        size = ConvertMarkingLost(wide, units, codePage, block, room, lostMarks);
        lost = lostMarks;
    }
    if (size > room) {
        delete[] block;
        return nullptr;
    }
    // The conversion may have used any of its room; the text ends here.
    std::memset(block + size, 0, 3);
    return block;
}

}  // namespace

EncodingFound DetectEncoding(const char* text, size_t size) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    EncodingFound found = {kAnsi, 0, 0};
    if (size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) found.encoding = kUtf16Le;
    if (size >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF) found.encoding = kUtf16Be;
    if (found.encoding != kAnsi) {
        found.mark = 2;
        return found;
    }
    if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        found.encoding = kUtf8;
        found.mark = 3;
        return found;
    }
    const unsigned char* end = bytes + size;
    bool sequenceSeen = false;
    for (const unsigned char* at = SkipAscii(bytes, end); at < end; at = SkipAscii(at, end)) {
        size_t taken;
        size_t length = Utf8Sequence(at, end, taken);
        if (length == 0) return found;
        if (!sequenceSeen) found.evidence = size_t(at - bytes);
        sequenceSeen = true;
        at += length;
    }
    if (sequenceSeen) found.encoding = kUtf8;
    return found;
}

bool DecodeMenuText(char*& text, size_t& size, const AnsiCodePage& codePage, size_t limit,
                    MenuDecoding& decoding) {
    decoding.found = DetectEncoding(text, size);
    decoding.lost = nullptr;
    const EncodingFound& found = decoding.found;
    if (found.encoding == kAnsi) return true;

    const unsigned char* from = reinterpret_cast<const unsigned char*>(text) + found.mark;
    const size_t length = size - found.mark;
    // UTF-8 never gives more units than bytes; UTF-16 drops an odd last byte.
    size_t units = found.encoding == kUtf8 ? length : length / 2;
    uint16_t* wide = new (std::nothrow) uint16_t[units + 1];
    char* ansi = nullptr;
    if (wide) {
        if (found.encoding == kUtf8) {
            units = WideFromUtf8(from, from + length, wide);
        } else {
            const int high = found.encoding == kUtf16Be ? 0 : 1;
            for (size_t i = 0; i < units; ++i) wide[i] = uint16_t(from[2 * i + high] << 8 | from[2 * i + 1 - high]);
        }
        ansi = AnsiFromWide(wide, units, codePage, limit, size, decoding.lost);
        delete[] wide;
    }
    delete[] text;
    text = ansi;
    if (!ansi) size = 0;
    return ansi != nullptr;
}

bool HasLostCharacter(const unsigned char* lost, size_t from, size_t length) {
    if (!lost) return false;
    for (size_t k = from; k < from + length; ++k) {
        if (lost[k / 8] & (1u << (k % 8))) return true;
    }
    return false;
}

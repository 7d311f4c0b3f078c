// How a menu file was saved, and the step that turns its bytes into what the
// parser reads: text in the system's ANSI code page. Today's editors save
// UTF-8 or UTF-16; such files are converted. Every other file is taken byte
// for byte. Portable: the system's conversion to its code page is handed in.
#pragma once

#include <stddef.h>
#include <stdint.h>

enum TextEncoding {
    kAnsi,     // single bytes in the ANSI code page, taken as they are
    kUtf8,     // a UTF-8 byte-order mark, or multi-byte sequences and nothing invalid
    kUtf16Le,  // a UTF-16 little-endian byte-order mark (Notepad's "Unicode")
    kUtf16Be   // a UTF-16 big-endian byte-order mark
};

struct EncodingFound {
    TextEncoding encoding;
    size_t mark;      // bytes of the byte-order mark; the decoded text leaves it out
    // Where the file shows its encoding: 0 for a mark, else the first
    // multi-byte sequence. Only ASCII comes before it, so the decoded text
    // has it at the same offset.
    size_t evidence;
};

// How `bytes` (the whole file, NULs included) were saved. Without a mark,
// UTF-8 must be valid throughout by RFC 3629 (no lead byte C0, C1 or F5 to
// FF, no overlong form, no surrogate, no sequence cut off by the end) and
// hold at least one multi-byte sequence. So a German ANSI text, whose
// umlauts stand alone as in "f\xFCr", is never taken for UTF-8.
EncodingFound DetectEncoding(const char* bytes, size_t size);

// The length of the well-formed UTF-8 sequence at `at` (RFC 3629), 1 for
// ASCII, or 0 when there is none; then `taken` is how many bytes one U+FFFD
// stands for: the lead and the continuation bytes that still fitted it.
// Reads nothing at or after `end`.
size_t Utf8Sequence(const unsigned char* at, const unsigned char* end, size_t& taken);

const size_t kConversionFailed = SIZE_MAX;

// The system's conversion of `count` UTF-16 units to its ANSI code page,
// into `ansi`, at most `room` bytes. A character without an ANSI form becomes
// "?" and sets `defaultUsed`; no look-alike is ever put in its place. Returns
// the bytes written, or kConversionFailed (also when `room` is too small).
typedef size_t (*WideToAnsiFunction)(const uint16_t* wide, size_t count, char* ansi, size_t room,
                                     bool& defaultUsed);

struct AnsiCodePage {
    WideToAnsiFunction convert;
    size_t maxBytesPerUnit;  // the longest ANSI form of one UTF-16 unit
};

struct MenuDecoding {
    EncodingFound found;
    // One bit per byte of the decoded text, set where it is the "?" of a
    // character without an ANSI form; null when there is no such character.
    // It lives in the text's block and goes with it.
    const unsigned char* lost;
};

// `text` is a new[] block holding `size` bytes of a menu file and three zero
// bytes after them, as ReadMenuFile gives it. A UTF-8 or UTF-16 file is
// replaced by a new block: its ANSI text (the mark dropped, line breaks and
// all else kept, so lines stay where they were) and three zero bytes. Invalid
// UTF-8 becomes U+FFFD, the replacement character; an odd last byte of
// UTF-16 is dropped; a NUL character ends the text as a NUL byte would.
// False, with `text` freed and null, when memory runs out or the ANSI text
// would exceed `limit` bytes.
bool DecodeMenuText(char*& text, size_t& size, const AnsiCodePage& codePage, size_t limit,
                    MenuDecoding& decoding);

// True when `lost` (may be null) marks a byte in [from, from + length).
bool HasLostCharacter(const unsigned char* lost, size_t from, size_t length);

// libFuzzer target for ParseMenuText and the scanner beneath it. The input
// becomes a menu text at the very end of its own heap block, so ASan sees any
// read past its NUL; every record must then have terminated, zero-filled
// fields, there can be no more records than "*p*" markers in the text, and
// the scanner's spans must lie inside the text, in order, one per record at
// least (entries whose path does not fit have a span but no record). Then the
// input is a file's bytes through the decoding step (ISO 8859-1 for the
// system's code page), which must leave ANSI as it is, end the text with three
// zero bytes and mark only "?", and its text is checked the same way (entries
// whose path has a character without an ANSI form have no record either).
// menucheck's checks of the text and of each path must stay inside the same bytes.
#include "catalogue/menu_parser.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "menucheck/text_checks.h"
#include "tests/support/latin1_decoding.h"

namespace {

bool ZeroFilled(const char* field, size_t width) {
    size_t length = strnlen(field, width);
    if (length == width) return false;
    for (size_t i = length; i < width; ++i) {
        if (field[i] != '\0') return false;
    }
    return true;
}

// Overlapping ones included: an upper bound on the entries a text can open.
int32_t OpeningMarkers(const char* text) {
    int32_t markers = 0;
    for (const char* at = text; (at = std::strstr(at, "*p*")) != nullptr; ++at) ++markers;
    return markers;
}

void CheckParse(const char* text, const unsigned char* lost) {
    IndexedList<ProgramEntry> entries;
    ParseMenuText(text, entries, lost);

    if (entries.Count() > OpeningMarkers(text)) std::abort();
    for (int32_t i = 0; i < entries.Count(); ++i) {
        const ProgramEntry& entry = entries.At(i);
        if (!ZeroFilled(entry.path, sizeof entry.path)) std::abort();
        if (!ZeroFilled(entry.name, sizeof entry.name)) std::abort();
    }

    const size_t length = std::strlen(text);
    MenuScanner scanner;
    StartMenuScan(scanner, text);
    MenuEntrySpan span;
    int32_t spans = 0;
    size_t previousEnd = 0;
    while (ScanMenuEntry(scanner, span)) {
        if (!HasLostCharacter(lost, span.path, span.pathLength)) ++spans;
        if (span.opening < previousEnd || span.path != span.opening + 3) std::abort();
        if (span.path + span.pathLength > span.name) std::abort();
        previousEnd = span.name + span.nameLength;
        if (previousEnd > length) std::abort();
        if (span.closedBy == '\0' ? previousEnd != length : text[previousEnd + 1] != span.closedBy) std::abort();
        if (ClassifyMissingPath(text + span.path, span.pathLength) >= kCauseCount) std::abort();
    }
    if (spans < entries.Count()) std::abort();
    if (FindCapitalMarker(text, 0, length) > length || FindDamagedUtf8(text, length) > length) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    char* text = static_cast<char*>(std::malloc(size + 1));
    if (!text) return 0;
    if (size) std::memcpy(text, data, size);
    text[size] = '\0';
    CheckParse(text, nullptr);

    size_t decodedSize = size;
    MenuDecoding decoding;
    char* decoded = DecodeWithLatin1(text, decodedSize, decoding);
    if (!decoded || decodedSize > size) std::abort();
    if (decoding.found.encoding == kAnsi && (decoding.lost || std::memcmp(decoded, text, size) != 0)) std::abort();
    for (size_t k = 0; k < decodedSize; ++k) {
        if (HasLostCharacter(decoding.lost, k, 1) && decoded[k] != '?') std::abort();
    }
    if (decoded[decodedSize] || decoded[decodedSize + 1] || decoded[decodedSize + 2]) std::abort();
    CheckParse(decoded, decoding.lost);
    delete[] decoded;
    std::free(text);
    return 0;
}

// libFuzzer target for ParseMenuText and the scanner beneath it. The input
// becomes a menu text at the very end of its own heap block, so ASan sees any
// read past its NUL; every record must then have terminated, zero-filled
// fields, there can be no more records than "*p*" markers in the text, and
// the scanner's spans must lie inside the text, in order, one per record at
// least (entries whose path does not fit have a span but no record).
#include "catalogue/menu_parser.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    char* text = static_cast<char*>(std::malloc(size + 1));
    if (!text) return 0;
    if (size) std::memcpy(text, data, size);
    text[size] = '\0';

    IndexedList<ProgramEntry> entries;
    ParseMenuText(text, entries);

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
        ++spans;
        if (span.opening < previousEnd || span.path != span.opening + 3) std::abort();
        if (span.path + span.pathLength > span.name) std::abort();
        previousEnd = span.name + span.nameLength;
        if (previousEnd > length) std::abort();
        if (span.closedBy == '\0' ? previousEnd != length : text[previousEnd + 1] != span.closedBy) std::abort();
    }
    if (spans < entries.Count()) std::abort();
    std::free(text);
    return 0;
}

// libFuzzer target for ParseMenuText. The input becomes a menu text at the
// very end of its own heap block, so ASan sees any read past its NUL; every
// record must then have terminated, zero-filled fields, and there can be no
// more records than "*p*" markers in the text.
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
    std::free(text);
    return 0;
}

#include "menucheck/text_checks.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "catalogue/menu_encoding.h"

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsAsciiLetter(char c) { return LowerAscii(c) >= 'a' && LowerAscii(c) <= 'z'; }

// True when the `length` bytes at `text` begin with `prefix` (lower case) in any case.
bool StartsWithAnyCase(const char* text, size_t length, const char* prefix) {
    size_t k = 0;
    while (prefix[k] && k < length && LowerAscii(text[k]) == prefix[k]) ++k;
    return prefix[k] == '\0';
}

// The number of line ends in the `size` bytes at `text`; the offset of the
// last byte of each goes to `ends` when it is given.
size_t FindLineEnds(const char* text, size_t size, size_t* ends) {
    size_t count = 0;
    for (size_t at = 0; at < size; ++at) {
        if (text[at] != '\r' && text[at] != '\n') continue;
        if (text[at] == '\r' && at + 1 < size && text[at + 1] == '\n') ++at;
        if (ends) ends[count] = at;
        ++count;
    }
    return count;
}

}  // namespace

size_t FindCapitalMarker(const char* text, size_t from, size_t end) {
    for (size_t at = from; at < end;) {
        const char* star = static_cast<const char*>(std::memchr(text + at, '*', end - at));
        if (!star) break;
        at = size_t(star - text);
        if (end - at < 3) break;
        char letter = star[1];
        if (star[2] == '*' && (letter == 'P' || letter == 'N' || letter == 'E')) return at;
        at += star[2] == '*' && (letter == 'p' || letter == 'n' || letter == 'e') ? 3 : 1;
    }
    return end;
}

bool TakesMarker(const char* field, size_t length, char letter) {
    return length >= 3 && field[0] == '*' && field[1] == letter && field[2] == '*';
}

size_t FindDamagedUtf8(const char* text, size_t size) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    size_t sequences = 0, invalid = 0, first = size;
    for (size_t at = 0; at < size;) {
        size_t taken;
        size_t length = Utf8Sequence(bytes + at, bytes + size, taken);
        if (length > 1) ++sequences;
        if (length == 0 && invalid++ == 0) first = at;
        at += length ? length : 1;
    }
    return sequences > invalid && invalid > 0 ? first : size;
}

PathCause ClassifyMissingPath(const char* path, size_t length) {
    const char* percent = static_cast<const char*>(std::memchr(path, '%', length));
    if (percent && length - size_t(percent - path) > 2 && percent[1] != '%' &&
        std::memchr(percent + 2, '%', length - size_t(percent - path) - 2)) {
        return kCauseVariable;
    }
    static const char* const kSchemes[] = {"http:", "https:", "ftp:", "mailto:", "file:"};
    for (const char* scheme : kSchemes) {
        if (StartsWithAnyCase(path, length, scheme)) return kCauseUrl;
    }
    if (length > 0 && (path[0] == ' ' || path[0] == '\t')) return kCauseLeadingBlank;
    // The launcher has taken one pair of quotes off already, so any left are
    // too many (a path written in two pairs among them).
    if (std::memchr(path, '"', length)) return kCauseStrayQuote;
    bool drive = length >= 2 && IsAsciiLetter(path[0]) && path[1] == ':';
    if (drive && length == 2) return kCauseBareDrive;
    bool absolute = (drive && length > 2 && IsSeparator(path[2])) ||
                    (length >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]));
    return absolute ? kCauseNone : kCauseRelative;
}

bool HasWildcard(const char* path, size_t length) {
    size_t start = length >= 4 && std::memcmp(path, "\\\\?\\", 4) == 0 ? 4 : 0;
    for (size_t i = start; i < length; ++i) {
        if (path[i] == '?' || path[i] == '*') return true;
    }
    return false;
}

bool IsInSystemFolder(const char* path, size_t length) {
    static const char kFolder[] = "system32";
    const size_t folderLength = sizeof kFolder - 1;
    for (size_t at = 0; at + folderLength <= length; ++at) {
        if (at > 0 && !IsSeparator(path[at - 1])) continue;
        size_t end = at + folderLength;
        if (end < length && !IsSeparator(path[end])) continue;
        size_t k = 0;
        while (k < folderLength && LowerAscii(path[at + k]) == kFolder[k]) ++k;
        if (k == folderLength) return true;
    }
    return false;
}

bool BuildLineIndex(LineIndex& index, const char* text, size_t size) {
    index.count = FindLineEnds(text, size, nullptr);
    index.feeds = index.count ? new (std::nothrow) size_t[index.count] : nullptr;
    if (index.count && !index.feeds) return false;
    FindLineEnds(text, size, index.feeds);
    return true;
}

uint32_t LineOf(const LineIndex& index, size_t offset) {
    // A line end belongs to the line it ends.
    return uint32_t(std::lower_bound(index.feeds, index.feeds + index.count, offset) - index.feeds) + 1;
}

void FreeLineIndex(LineIndex& index) {
    delete[] index.feeds;
    index.feeds = nullptr;
}

#include "menucheck/text_checks.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

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
    for (size_t at = from; at + 3 <= end; ++at) {
        const char* star = static_cast<const char*>(std::memchr(text + at, '*', end - at));
        if (!star) break;
        at = size_t(star - text);
        if (at + 3 > end) break;
        char letter = star[1];
        if ((letter == 'P' || letter == 'N' || letter == 'E') && star[2] == '*') return at;
    }
    return end;
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

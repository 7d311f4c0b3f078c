#include "catalogue/device_name.h"

#include <cstring>

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool IsDeviceStem(const char* stem, size_t length) {
    static const char* const kDevices[] = {"con", "prn", "aux", "nul"};
    static const char* const kNumbered[] = {"com", "lpt"};
    char lower[4];
    if (length < 3 || length > 4) return false;
    for (size_t i = 0; i < length; ++i) lower[i] = LowerAscii(stem[i]);
    if (length == 3) {
        for (const char* device : kDevices) {
            if (std::memcmp(lower, device, 3) == 0) return true;
        }
        return false;
    }
    for (const char* device : kNumbered) {
        if (std::memcmp(lower, device, 3) == 0 && lower[3] >= '1' && lower[3] <= '9') return true;
    }
    return false;
}

}  // namespace

bool NamesDevice(const char* path, size_t length) {
    size_t start = length;
    while (start > 0 && path[start - 1] != '\\' && path[start - 1] != '/' && path[start - 1] != ':') --start;
    // The device is the part before the first dot; blanks before it do not count.
    size_t end = start;
    while (end < length && path[end] != '.') ++end;
    while (end > start && path[end - 1] == ' ') --end;
    return IsDeviceStem(path + start, end - start);
}

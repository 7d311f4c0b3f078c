#include "menucheck/output.h"

#include <cstring>

namespace {

void Write(Output& out, const char* bytes, size_t length) {
    while (length > 0) {
        if (out.used == sizeof out.buffer) Flush(out);
        size_t part = sizeof out.buffer - out.used;
        if (part > length) part = length;
        std::memcpy(out.buffer + out.used, bytes, part);
        out.used += part;
        bytes += part;
        length -= part;
    }
}

void WriteDetail(Output& out, Detail detail) {
    const char* end = detail.bytes + detail.length;
    const char* run = detail.bytes;
    for (const char* at = run; at < end; ++at) {
        if (static_cast<unsigned char>(*at) >= 0x20) continue;
        Write(out, run, size_t(at - run));
        Write(out, "\xB7", 1);
        run = at + 1;
    }
    Write(out, run, size_t(end - run));
}

}  // namespace

void OpenOutput(Output& out, HANDLE handle) {
    DWORD mode;
    out.handle = handle;
    out.console = GetConsoleMode(handle, &mode) != 0;
    out.used = 0;
}

void Flush(Output& out) {
    const char* bytes = out.buffer;
    size_t length = out.used;
    out.used = 0;
    if (out.console) {
        WCHAR wide[sizeof out.buffer];
        int count = MultiByteToWideChar(CP_ACP, 0, bytes, int(length), wide, int(sizeof out.buffer));
        DWORD written;
        if (count > 0) WriteConsoleW(out.handle, wide, DWORD(count), &written, nullptr);
        return;
    }
    while (length > 0) {
        DWORD written = 0;
        if (!WriteFile(out.handle, bytes, DWORD(length), &written, nullptr) || written == 0) return;
        bytes += written;
        length -= written;
    }
}

Detail DetailOf(const char* text) {
    Detail detail = {text, std::strlen(text)};
    return detail;
}

Detail DetailOf(const char* bytes, size_t length) {
    Detail detail = {bytes, length};
    return detail;
}

void Say(Output& out, UINT id, Detail first, Detail second, Detail third) {
    char text[1024];
    int length = LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
    const Detail details[] = {first, second, third};
    int run = 0;
    for (int at = 0; at < length; ++at) {
        if (text[at] != '%' || at + 1 >= length || text[at + 1] < '1' || text[at + 1] > '3') continue;
        Write(out, text + run, size_t(at - run));
        WriteDetail(out, details[text[at + 1] - '1']);
        run = at + 2;
        ++at;
    }
    Write(out, text + run, size_t(length - run));
}

void EndLine(Output& out) {
    Write(out, "\r\n", 2);
}

// Menu text as the tests write it.
#pragma once

#include <windows.h>

#include <string>

// One menu entry, closed and followed by a line break as people write them.
inline std::string MenuEntry(const std::string& path, const std::string& name) {
    return "*p*" + path + "*n*" + name + "*e*\r\n";
}

// The encodings an editor saves a menu in.
enum class SavedAs { kAnsi, kUtf8, kUtf8WithMark, kUtf16Le, kUtf16Be };

// The bytes of `text` saved as `how`; ANSI in the system's code page, with
// "?" for a character without an ANSI form.
inline std::string MenuFileBytes(const std::wstring& text, SavedAs how) {
    if (how == SavedAs::kUtf16Le || how == SavedAs::kUtf16Be) {
        std::string bytes = how == SavedAs::kUtf16Le ? "\xFF\xFE" : "\xFE\xFF";
        for (wchar_t unit : text) {
            char low = char(unit & 0xFF), high = char(unit >> 8);
            bytes += how == SavedAs::kUtf16Le ? std::string{low, high} : std::string{high, low};
        }
        return bytes;
    }
    UINT codePage = how == SavedAs::kAnsi ? CP_ACP : CP_UTF8;
    int length = WideCharToMultiByte(codePage, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(size_t(length), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), int(text.size()), &bytes[0], length, nullptr, nullptr);
    return (how == SavedAs::kUtf8WithMark ? "\xEF\xBB\xBF" : "") + bytes;
}

// Menu text as the tests write it.
#pragma once

#include <windows.h>

#include <string>

// One menu entry, closed and followed by a line break as people write them.
inline std::string MenuEntry(const std::string& path, const std::string& name) {
    return "*p*" + path + "*n*" + name + "*e*\r\n";
}

// Paths as a menu author wrote them: six shown (a drive root and a quoted file among them), ten missing, each for a reason.
inline std::string PathsAsPeopleWriteThem() {
    return MenuEntry("C:\\windows\\notepad.exe", "Editor") + MenuEntry("C:\\", "Laufwerk C") + MenuEntry("C:\\windows\\", "Windows") +
           MenuEntry("\"C:\\windows\\notepad.exe\"", "Zitiert") + MenuEntry("%WINDIR%\\notepad.exe", "Variable") +
           MenuEntry("C:\\windows\\notepad.exe liesmich.txt", "Mit Parameter") + MenuEntry(" C:\\windows\\notepad.exe", "Blank") +
           MenuEntry("http://example.com", "URL") + MenuEntry("C:", "Laufwerk") + MenuEntry("C:\\\"a\".exe", "Halb zitiert") +
           MenuEntry("fehlt.exe", "Relativ") + MenuEntry("C:\\windows\\notepad.exe\\", "Datei als Ordner") +
           MenuEntry("C:\\fehlt\\*.exe", "Platzhalter") + MenuEntry("C:\\windows", "Ordner") +
           MenuEntry("C:/windows/Fonts/", "Schriften") + MenuEntry("C:\\windows liesmich.txt", "Ordner mit Blank");
}

// The encodings Notepad saves a menu in.
enum class SavedAs { kAnsi, kUtf8, kUtf8WithMark, kUtf16 };

// The bytes of `text` saved as `how` (ANSI: the system's code page).
inline std::string MenuFileBytes(const std::wstring& text, SavedAs how) {
    if (how == SavedAs::kUtf16) return "\xFF\xFE" + std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    std::string bytes(text.size() * 3, '\0');
    bytes.resize(size_t(WideCharToMultiByte(how == SavedAs::kAnsi ? CP_ACP : CP_UTF8, 0, text.data(), int(text.size()),
                                            &bytes[0], int(bytes.size()), nullptr, nullptr)));
    return (how == SavedAs::kUtf8WithMark ? "\xEF\xBB\xBF" : "") + bytes;
}

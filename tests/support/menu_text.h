// Menu text as the tests write it.
#pragma once

#include <string>

// One menu entry, closed and followed by a line break as people write them.
inline std::string MenuEntry(const std::string& path, const std::string& name) {
    return "*p*" + path + "*n*" + name + "*e*\r\n";
}

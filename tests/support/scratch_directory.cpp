#include "tests/support/scratch_directory.h"

#include <cstdio>
#include <cstdlib>

namespace {

std::string CurrentDirectory() {
    char buffer[MAX_PATH];
    DWORD length = GetCurrentDirectoryA(MAX_PATH, buffer);
    return std::string(buffer, length < MAX_PATH ? length : 0);
}

void Fail(const char* what, const std::string& path) {
    std::fprintf(stderr, "ScratchDirectory: %s failed for %s (error %lu)\n", what, path.c_str(),
                 GetLastError());
    std::abort();
}

}  // namespace

ScratchDirectory::ScratchDirectory() : previous_(CurrentDirectory()) {
    char temp[MAX_PATH];
    if (!GetTempPathA(MAX_PATH, temp)) Fail("GetTempPathA", "");
    static unsigned serial;
    for (;;) {
        char name[MAX_PATH];
        std::snprintf(name, sizeof name, "%slaunchertest-%lu-%u", temp, GetCurrentProcessId(), ++serial);
        if (CreateDirectoryA(name, nullptr)) {
            path_ = name;
            break;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) Fail("CreateDirectoryA", name);
    }
    if (!SetCurrentDirectoryA(path_.c_str())) Fail("SetCurrentDirectoryA", path_);
}

ScratchDirectory::~ScratchDirectory() {
    SetCurrentDirectoryA(previous_.c_str());
    RemoveTree(path_);
}

void ScratchDirectory::WriteFile(const std::string& name, const std::string& bytes) const {
    std::string full = PathOf(name);
    HANDLE file = CreateFileA(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) Fail("CreateFileA", full);
    DWORD written = 0;
    BOOL ok = ::WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(file);
    if (!ok || written != bytes.size()) Fail("WriteFile", full);
}

void ScratchDirectory::MakeDirectory(const std::string& name) const {
    std::string full = PathOf(name);
    if (!CreateDirectoryA(full.c_str(), nullptr)) Fail("CreateDirectoryA", full);
}

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string child = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(child.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

std::string ReadWholeFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::string();
    std::string bytes;
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0) bytes.append(chunk, read);
    CloseHandle(file);
    return bytes;
}

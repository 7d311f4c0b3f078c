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

// `path` with the long-path prefix, which takes the wide calls past 259 bytes.
std::wstring LongPath(const std::string& path) {
    wchar_t wide[MAX_PATH];
    int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
    return L"\\\\?\\" + std::wstring(wide, length > 0 ? size_t(length - 1) : 0);
}

void WriteBytes(HANDLE file, const std::string& bytes, const std::string& name) {
    if (file == INVALID_HANDLE_VALUE) Fail("CreateFile", name);
    DWORD written = 0;
    BOOL ok = ::WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
    CloseHandle(file);
    if (!ok || written != bytes.size()) Fail("WriteFile", name);
}

// Deletes a directory tree, whatever the names in it.
void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            std::wstring child = path + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(child.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(path.c_str());
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
    RemoveTree(LongPath(path_));
}

void ScratchDirectory::WriteFile(const std::string& name, const std::string& bytes) const {
    std::string full = PathOf(name);
    WriteBytes(CreateFileA(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr),
               bytes, full);
}

void ScratchDirectory::MakeDirectory(const std::string& name) const {
    std::string full = PathOf(name);
    if (!CreateDirectoryA(full.c_str(), nullptr)) Fail("CreateDirectoryA", full);
}

void ScratchDirectory::WriteFile(const std::wstring& name, const std::string& bytes) const {
    std::wstring full = LongPath(path_) + L"\\" + name;
    WriteBytes(CreateFileW(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr),
               bytes, path_ + "\\(a wide name)");
}

void ScratchDirectory::MakeDirectory(const std::wstring& name) const {
    if (!CreateDirectoryW((LongPath(path_) + L"\\" + name).c_str(), nullptr)) Fail("CreateDirectoryW", path_ + "\\(a wide name)");
}

void ScratchDirectory::Enter(const std::wstring& name) const {
    // Without the prefix: the current directory takes no long-path form.
    if (!SetCurrentDirectoryW((LongPath(path_).substr(4) + L"\\" + name).c_str())) Fail("SetCurrentDirectoryW", path_ + "\\(a wide name)");
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

// A fresh directory under the system's temporary folder, made current for the
// life of the object and removed (with everything in it) afterwards. Tests of
// code that works on "the current directory" run inside one of these.
#pragma once

#include <windows.h>

#include <string>

class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    // Full path of the directory, without a trailing backslash.
    const std::string& Path() const { return path_; }
    // Full path of `name` inside the directory.
    std::string PathOf(const std::string& name) const { return path_ + "\\" + name; }

    // Writes `bytes` to `name` (relative to the directory), replacing it.
    void WriteFile(const std::string& name, const std::string& bytes) const;
    void MakeDirectory(const std::string& name) const;
    // The same for names the ANSI calls cannot reach (not in the code page, full path over 259 bytes).
    void WriteFile(const std::wstring& name, const std::string& bytes) const;
    void MakeDirectory(const std::wstring& name) const;
    // Makes `name` (relative to the directory) the current directory.
    void Enter(const std::wstring& name) const;

private:
    std::string path_;
    std::string previous_;
};

// The bytes of the file at `path`, read with full sharing (another process
// may still be writing it); empty when it cannot be opened.
std::string ReadWholeFile(const std::string& path);

// Stands in for whatever the launcher opens. It shows no window; it appends
// one line to "recorder.log" beside its own executable and exits. The tests
// copy it under several names into their scratch directory, so the log ends
// up there too, and each line tells which copy ran, where and with what.
//
// Line format (ANSI, tab-separated, CRLF-terminated):
//   <own file name> TAB <current directory> [TAB <argument>]...
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

std::string OwnPath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

std::string CurrentDirectory() {
    char path[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, path);
    return path;
}

// Another copy may be appending at the same moment; the file is opened
// with sharing, and a transient refusal is retried a bounded number of times.
void AppendLine(const std::string& logPath, const std::string& line) {
    for (int attempt = 0; attempt < 200; ++attempt) {
        HANDLE log = CreateFileA(logPath.c_str(), FILE_APPEND_DATA,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (log != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(log, line.data(), DWORD(line.size()), &written, nullptr);
            CloseHandle(log);
            return;
        }
        Sleep(10);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    std::string own = OwnPath();
    std::string::size_type slash = own.find_last_of("\\/");
    std::string directory = slash == std::string::npos ? std::string(".") : own.substr(0, slash);
    std::string name = slash == std::string::npos ? own : own.substr(slash + 1);

    std::string line = name + "\t" + CurrentDirectory();
    for (int i = 1; i < __argc; ++i) line += std::string("\t") + __argv[i];
    line += "\r\n";
    AppendLine(directory + "\\recorder.log", line);
    return 0;
}

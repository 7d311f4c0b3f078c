#include "tests/e2e/console_run.h"

#include "tests/support/program_run.h"
#include "tests/support/scratch_directory.h"

namespace {

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// The rows of the console screen buffer `screen` down to the last one that
// holds anything, each without its trailing blanks.
std::vector<std::wstring> ReadScreenRows(HANDLE screen) {
    std::vector<std::wstring> rows;
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!GetConsoleScreenBufferInfo(screen, &info)) return rows;
    std::wstring row(size_t(info.dwSize.X), L' ');
    for (SHORT y = 0; y <= info.dwCursorPosition.Y && y < info.dwSize.Y; ++y) {
        DWORD read = 0;
        COORD at = {0, y};
        if (!ReadConsoleOutputCharacterW(screen, &row[0], DWORD(row.size()), at, &read)) break;
        std::wstring text = row.substr(0, read);
        text.erase(text.find_last_not_of(L' ') + 1);
        rows.push_back(text);
    }
    while (!rows.empty() && rows.back().empty()) rows.pop_back();
    return rows;
}

}  // namespace

ConsoleRun RunConsoleProgram(const std::string& executable, const std::string& arguments,
                             const std::string& directory, DWORD timeoutMs) {
    ConsoleRun run = {-1, std::string(), {}};
    char folder[MAX_PATH], path[MAX_PATH];
    if (!GetTempPathA(MAX_PATH, folder) || !GetTempFileNameA(folder, "out", 0, path)) return run;
    SECURITY_ATTRIBUTES inherited = {sizeof inherited, nullptr, TRUE};
    HANDLE output = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                &inherited, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (output == INVALID_HANDLE_VALUE) return run;

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = output;
    // No console at all, as when the output is redirected in a script: a
    // console of its own would start Wine's console host, which inherits
    // the output file and the folder and outlives the program.
    run.exitCode = RunProgramToEnd(executable, arguments, directory, startup, DETACHED_PROCESS, timeoutMs);
    CloseHandle(output);
    run.output = ReadWholeFile(path);
    run.lines = SplitLines(run.output);
    DeleteFileA(path);
    return run;
}

ConsoleWindowRun RunInConsoleWindow(const std::string& executable, const std::string& arguments,
                                    const std::string& directory, DWORD timeoutMs) {
    ConsoleWindowRun run = {-1, {}};
    // The test's own standard handles (ctest's pipes) come back afterwards.
    HANDLE saved[] = {GetStdHandle(STD_INPUT_HANDLE), GetStdHandle(STD_OUTPUT_HANDLE),
                      GetStdHandle(STD_ERROR_HANDLE)};
    FreeConsole();
    if (AllocConsole()) {
        HANDLE screen = CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr);
        if (screen != INVALID_HANDLE_VALUE) {
            STARTUPINFOW startup = {};
            startup.cb = sizeof startup;
            // No handles given: the program finds the console as its output.
            run.exitCode = RunProgramToEnd(executable, arguments, directory, startup, 0, timeoutMs);
            run.rows = ReadScreenRows(screen);
            CloseHandle(screen);
        }
        FreeConsole();
    }
    SetStdHandle(STD_INPUT_HANDLE, saved[0]);
    SetStdHandle(STD_OUTPUT_HANDLE, saved[1]);
    SetStdHandle(STD_ERROR_HANDLE, saved[2]);
    return run;
}

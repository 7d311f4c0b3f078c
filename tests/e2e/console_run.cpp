#include "tests/e2e/console_run.h"

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

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = output;
    PROCESS_INFORMATION info = {};
    std::string commandLine = "\"" + executable + "\"" + (arguments.empty() ? "" : " " + arguments);
    // No console at all, as when the output is redirected in a script: a
    // console of its own would start Wine's console host, which inherits
    // the output file and the folder and outlives the program.
    if (CreateProcessA(executable.c_str(), &commandLine[0], nullptr, nullptr, TRUE, DETACHED_PROCESS,
                       nullptr, directory.c_str(), &startup, &info)) {
        CloseHandle(info.hThread);
        DWORD code = 0;
        if (WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0 &&
            GetExitCodeProcess(info.hProcess, &code)) {
            run.exitCode = long(code);
        } else {
            TerminateProcess(info.hProcess, 1);
        }
        CloseHandle(info.hProcess);
    }
    CloseHandle(output);
    run.output = ReadWholeFile(path);
    run.lines = SplitLines(run.output);
    DeleteFileA(path);
    return run;
}

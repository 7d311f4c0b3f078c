#include "tests/support/program_run.h"

long RunProgramToEnd(const std::string& executable, const std::string& arguments, const std::string& directory,
                     STARTUPINFOA& startup, DWORD creationFlags, DWORD timeoutMs) {
    long exitCode = -1;
    PROCESS_INFORMATION info = {};
    std::string commandLine = "\"" + executable + "\"" + (arguments.empty() ? "" : " " + arguments);
    BOOL inheritHandles = (startup.dwFlags & STARTF_USESTDHANDLES) != 0;
    if (CreateProcessA(executable.c_str(), &commandLine[0], nullptr, nullptr, inheritHandles, creationFlags,
                       nullptr, directory.empty() ? nullptr : directory.c_str(), &startup, &info)) {
        CloseHandle(info.hThread);
        DWORD code = 0;
        if (WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0 &&
            GetExitCodeProcess(info.hProcess, &code)) {
            exitCode = long(code);
        } else {
            TerminateProcess(info.hProcess, 1);
        }
        CloseHandle(info.hProcess);
    }
    return exitCode;
}

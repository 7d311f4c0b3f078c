#include "tests/support/program_run.h"

namespace {

std::wstring Widened(const std::string& text, UINT codePage) {
    std::wstring wide(text.size() + 1, L'\0');
    wide.resize(size_t(MultiByteToWideChar(codePage, 0, text.c_str(), -1, &wide[0], int(wide.size())) - 1));
    return wide;
}

}  // namespace

long RunProgramToEnd(const std::string& executable, const std::string& arguments, const std::string& directory,
                     STARTUPINFOW& startup, DWORD creationFlags, DWORD timeoutMs) {
    long exitCode = -1;
    PROCESS_INFORMATION info = {};
    std::wstring commandLine = L"\"" + Widened(executable, CP_ACP) + L"\"" +
                               (arguments.empty() ? L"" : L" " + Widened(arguments, CP_UTF8));
    std::wstring folder = Widened(directory, CP_ACP);
    BOOL inheritHandles = (startup.dwFlags & STARTF_USESTDHANDLES) != 0;
    if (CreateProcessW(Widened(executable, CP_ACP).c_str(), &commandLine[0], nullptr, nullptr, inheritHandles,
                       creationFlags, nullptr, folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
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

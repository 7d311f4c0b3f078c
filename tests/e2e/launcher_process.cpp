#include "tests/e2e/launcher_process.h"

#include <cctype>

#include "tests/support/scratch_directory.h"

namespace {

// Wine starts its desktop process on the first use of the desktop, handing
// it the standard error of the process that asked. Started from a test under
// ctest, it would keep ctest's output pipe open for as long as the Wine
// session lasts, and ctest would wait for it. Starting it here, with the
// standard handles pointing nowhere, avoids that; starting it before the
// launcher keeps it out of the launcher's job.
void StartDesktopWithoutOurOutput() {
    static bool started;
    if (started) return;
    started = true;
    HANDLE nowhere = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    SetStdHandle(STD_INPUT_HANDLE, nowhere);
    SetStdHandle(STD_OUTPUT_HANDLE, nowhere);
    SetStdHandle(STD_ERROR_HANDLE, nowhere);
    GetDesktopWindow();
    SetStdHandle(STD_INPUT_HANDLE, input);
    SetStdHandle(STD_OUTPUT_HANDLE, output);
    SetStdHandle(STD_ERROR_HANDLE, error);
    if (nowhere != INVALID_HANDLE_VALUE) CloseHandle(nowhere);
}

}  // namespace

LauncherProcess::LauncherProcess(const std::string& executable, const std::string& directory) {
    StartDesktopWithoutOurOutput();

    job_ = CreateJobObjectA(nullptr, nullptr);
    if (!job_) return;
    // No standard handles: the launcher and whatever it opens must not hold
    // the test runner's output open.
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    PROCESS_INFORMATION info = {};
    std::string commandLine = "\"" + executable + "\"";
    if (!CreateProcessA(executable.c_str(), &commandLine[0], nullptr, nullptr, FALSE,
                        CREATE_SUSPENDED, nullptr, directory.empty() ? nullptr : directory.c_str(), &startup, &info)) {
        return;
    }
    if (!AssignProcessToJobObject(job_, info.hProcess)) {
        TerminateProcess(info.hProcess, 1);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
        return;
    }
    ResumeThread(info.hThread);
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
}

LauncherProcess::~LauncherProcess() {
    if (process_) {
        if (Running()) TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 10000);
        CloseHandle(process_);
    }
    if (job_) {
        TerminateJobObject(job_, 1);
        // Let the launched copies go away before their directory is removed.
        for (int i = 0; i < 100; ++i) {
            JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
            if (!QueryInformationJobObject(job_, JobObjectBasicAccountingInformation, &accounting,
                                           sizeof accounting, nullptr) ||
                accounting.ActiveProcesses == 0) {
                break;
            }
            Sleep(50);
        }
        CloseHandle(job_);
    }
}

bool LauncherProcess::WaitForExit(DWORD timeoutMs, DWORD* exitCode) const {
    if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return false;
    return GetExitCodeProcess(process_, exitCode) != 0;
}

bool LauncherProcess::Running() const {
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

DWORD LauncherProcess::ProcessesStarted() const {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
    if (!QueryInformationJobObject(job_, JobObjectBasicAccountingInformation, &accounting,
                                   sizeof accounting, nullptr)) {
        return 0;
    }
    return accounting.TotalProcesses;
}

namespace {

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::string::size_type start = 0;
    for (;;) {
        std::string::size_type tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) return fields;
        start = tab + 1;
    }
}

}  // namespace

std::vector<RecorderRun> ReadRecorderLog(const std::string& directory) {
    std::string bytes = ReadWholeFile(directory + "\\recorder.log");
    std::vector<RecorderRun> runs;
    std::string::size_type start = 0;
    // A line still being written has no line end yet and is left for later.
    for (std::string::size_type end; (end = bytes.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
        std::vector<std::string> fields = SplitTabs(bytes.substr(start, end - start));
        RecorderRun run;
        run.program = fields[0];
        if (fields.size() > 1) run.directory = fields[1];
        run.arguments.assign(fields.begin() + (fields.size() > 1 ? 2 : 1), fields.end());
        runs.push_back(run);
    }
    return runs;
}

std::vector<RecorderRun> WaitForRecorderRuns(const std::string& directory, size_t count,
                                             DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        std::vector<RecorderRun> runs = ReadRecorderLog(directory);
        if (runs.size() >= count || GetTickCount() - start >= timeoutMs) return runs;
        Sleep(50);
    }
}

bool InstallRecorder(const std::string& directory, const std::string& name) {
    return CopyFileA(RECORDER_EXE, (directory + "\\" + name).c_str(), FALSE) != 0;
}

bool SamePath(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i] == '/' ? '\\' : a[i];
        char y = b[i] == '/' ? '\\' : b[i];
        if (std::tolower(static_cast<unsigned char>(x)) != std::tolower(static_cast<unsigned char>(y))) {
            return false;
        }
    }
    return true;
}

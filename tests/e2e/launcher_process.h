// The real launcher.exe as a child of the test, and what it started.
//
// The launcher runs inside a job object, so every process it opens through
// the shell joins the job: the job's count of processes tells, without
// waiting for anything, whether the launcher started something. Destroying
// the object ends the launcher and everything it started, so a test that
// fails halfway leaves nothing running.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class LauncherProcess {
public:
    // Starts `executable` with `directory` as its current directory (empty:
    // the test's own, which may be a folder the ANSI calls cannot name).
    LauncherProcess(const std::string& executable, const std::string& directory);
    ~LauncherProcess();
    LauncherProcess(const LauncherProcess&) = delete;
    LauncherProcess& operator=(const LauncherProcess&) = delete;

    bool Started() const { return process_ != nullptr; }
    DWORD Id() const { return id_; }

    // Waits up to `timeoutMs` for the process to end; false if it did not.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode) const;
    bool Running() const;

    // Processes that ever belonged to the job, the launcher included.
    DWORD ProcessesStarted() const;

private:
    HANDLE job_ = nullptr;
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

// One line of recorder.log: which copy of the recorder ran, in which
// current directory, with which arguments.
struct RecorderRun {
    std::string program;
    std::string directory;
    std::vector<std::string> arguments;
};

// The complete lines of `directory`\recorder.log, oldest first.
std::vector<RecorderRun> ReadRecorderLog(const std::string& directory);

// Polls the log until it holds at least `count` lines or `timeoutMs` ran out.
std::vector<RecorderRun> WaitForRecorderRuns(const std::string& directory, size_t count,
                                             DWORD timeoutMs);

// Copies the recorder into `directory` under `name`; false on failure.
bool InstallRecorder(const std::string& directory, const std::string& name);

// Case-insensitive equality, as Windows compares paths.
bool SamePath(const std::string& a, const std::string& b);

// A console program of ours run to its end, with what it printed.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct ConsoleRun {
    long exitCode;        // -1: it could not be started or did not end in time
    std::string output;   // standard output and standard error, as written
    std::vector<std::string> lines;  // `output` split at its line ends
};

// Runs `executable` with `arguments` in `directory`, its output redirected
// to a temporary file (so it is not a console), and waits up to `timeoutMs`.
ConsoleRun RunConsoleProgram(const std::string& executable, const std::string& arguments,
                             const std::string& directory, DWORD timeoutMs);

// What a console program of ours left in a console window, row by row, with
// trailing blanks removed.
struct ConsoleWindowRun {
    long exitCode;                   // -1: no console, not started or not ended in time
    std::vector<std::wstring> rows;  // the window's rows down to its last written one
};

// Runs `executable` with `arguments` in `directory` in a console window of
// the test's own, as when a user starts it from a command prompt, and reads
// back the characters it wrote there.
ConsoleWindowRun RunInConsoleWindow(const std::string& executable, const std::string& arguments,
                                    const std::string& directory, DWORD timeoutMs);

// Running a program of ours to its end, with a time limit.
#pragma once

#include <windows.h>

#include <string>

// Starts `executable` with `arguments` (UTF-8, so that they may name what
// the ANSI code page cannot) in `directory` (empty: the caller's),
// with the standard handles of `startup` and the `creationFlags` given. The
// caller's handles are inherited only when `startup` hands standard handles
// over. Waits up to `timeoutMs`, ends the program if it is still running,
// and returns its exit code, or -1 if it could not be started or did not
// end in time.
long RunProgramToEnd(const std::string& executable, const std::string& arguments, const std::string& directory,
                     STARTUPINFOW& startup, DWORD creationFlags, DWORD timeoutMs);

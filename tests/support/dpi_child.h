// A test at another display DPI. Wine reads the DPI (LogPixels under
// HKCU\Control Panel\Desktop) once, when a process starts, so the test runs in
// a child run of the same executable, started after the value is set; the
// value is put back as soon as the child has ended. Other test programs
// share the prefix, so those that use this run serially (RUN_SERIAL).
#pragma once

#include <windows.h>

#include <string>

// Runs the one disabled test that `filter` selects (e.g.
// "DISABLED_LogoInChild.*") in a child run of this executable at `dpi`;
// true if it ran and passed. `output` gets the child's report.
bool ChildTestPassesAt(DWORD dpi, const std::string& filter, std::string& output);

// In that child: the DPI its parent set, or 0 in any other run.
int DpiSetByParent();

// The program's version, in one place: the dialog's version line, the
// version resource and scripts/release (which reads LAUNCHER_VERSION_TEXT
// from here for the archive's name) all take it from this file.
#pragma once

#define LAUNCHER_VERSION_MAJOR 1
#define LAUNCHER_VERSION_MINOR 0
#define LAUNCHER_VERSION_TEXT "1.0"

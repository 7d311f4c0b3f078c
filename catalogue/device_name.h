// Names that Windows gives to devices in every folder. Portable; no Windows
// calls.
#pragma once

#include <stddef.h>

// True when the last part of `path` (of `length` bytes) names a device (CON,
// PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9, any case), with or without an
// extension: Windows finds such a name in every folder, and opening it opens
// the device, never a file.
bool NamesDevice(const char* path, size_t length);

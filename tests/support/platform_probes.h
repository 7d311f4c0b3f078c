// Faults of the platform the Windows tests run on, each decided by a probe
// program of the test's own build (tests/support/*_probe.cpp). Under wine64's
// WoW64 mode (Wine 8.0) 32-bit processes meet two of them. A test skips the
// checks a fault makes impossible, with the reason, and only when the probe
// finds the fault in a 32-bit process: a 64-bit test never asks.
#pragma once

// ANSI window text (window creation, SetWindowTextA, SetDlgItemTextA, a
// dialog template's control texts) reads back with U+FFFD for every byte of
// 0x80 or more; list box strings and message boxes keep theirs.
bool AnsiWindowTextDamaged();

// GDI does not answer: GetDeviceCaps gives 0 and no font is found.
bool GdiMissing();

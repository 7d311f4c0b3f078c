// The dialog's logo at the display's DPI. A static bitmap control shows its
// bitmap at the bitmap's own pixel size, so on a scaled display the logo
// would look small in its box while everything else grows with the font.
#pragma once

#include <windows.h>

// The dialog's logo control, or null if it has none.
HWND FindLogoControl(HWND dialog);

// Replaces the bitmap of the dialog's logo control by a copy scaled by the
// display's DPI over 96, and frees the original. At 96 DPI, or when anything
// fails, the original stays. Call once while the dialog initialises.
void ShowScaledLogo(HWND dialog);

// Takes the logo's bitmap, original or scaled, out of its control and frees
// it. Call when the dialog is destroyed.
void FreeLogo(HWND dialog);

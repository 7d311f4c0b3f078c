// The step both programs take right after ReadMenuFile: a menu saved as
// UTF-8 or UTF-16 becomes text in the system's ANSI code page.
#pragma once

#include "catalogue/catalogue.h"
#include "catalogue/menu_encoding.h"

// The system's conversion of `count` UTF-16 units to its ANSI code page, as
// WideToAnsiFunction says: never a look-alike, and `defaultUsed` set when a
// character has no ANSI form.
size_t WideToAnsi(const uint16_t* units, size_t count, char* ansi, size_t room, bool& defaultUsed);

// The UTF-16 units of `text` before its NUL. Counted by hand: wcslen would be
// an msvcrt.dll import beyond those Windows 2000 is known to have.
size_t WideUnits(const uint16_t* text);

// Replaces `file`'s text by its ANSI form (DecodeMenuText with the system's
// code page) when it was saved as UTF-8 or UTF-16; leaves any other file as
// it was read. kMenuFileNotBuffered, with the text freed, when the converted
// text finds no memory or would be larger than a file ReadMenuFile reads.
MenuFileStatus DecodeMenuFile(MenuFileText& file, MenuDecoding& decoding);

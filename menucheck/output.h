// menucheck's output: German texts from the string table with details filled
// in, buffered, and written so that umlauts come out right both in a
// console window and in a file or pipe.
#pragma once

#include <windows.h>

#include <stddef.h>

struct Output {
    HANDLE handle;
    bool console;   // a console window: written as Unicode, so its code page does not matter
    size_t used;
    char buffer[4096];
};

// Writes to `handle`; ANSI bytes unless it is a console.
void OpenOutput(Output& out, HANDLE handle);
void Flush(Output& out);

// A piece of text filled into a string-table text; not NUL-terminated.
struct Detail {
    const char* bytes;
    size_t length;
};
Detail DetailOf(const char* text);
Detail DetailOf(const char* bytes, size_t length);

// Writes the string-table text `id`, with %1 to %3 replaced by the details.
// Control bytes inside a detail (a line break in a name) are shown as a
// middle dot, so every report line stays one line.
void Say(Output& out, UINT id, Detail first = Detail(), Detail second = Detail(),
         Detail third = Detail());

void EndLine(Output& out);

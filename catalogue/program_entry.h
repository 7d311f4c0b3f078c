// The two records the start-up lists hold: one offered program, and the full
// path of one menu file. Both are zero-filled before text is copied in, so
// the fill, not the copy, terminates every field.
#pragma once

struct ProgramEntry {
    char path[260];  // what the shell opens; at most 259 bytes of text
    char name[50];   // what the list shows; at most 49 bytes of text
};
static_assert(sizeof(ProgramEntry) == 310, "ProgramEntry is two packed fixed-size fields");

struct PathBuffer {
    char text[260];  // the platform's longest path, terminating NUL included
};
static_assert(sizeof(PathBuffer) == 260, "PathBuffer is one longest path");

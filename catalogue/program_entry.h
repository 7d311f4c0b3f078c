// One offered program, as the entry list holds it. It is zero-filled before
// text is copied in, so the fill, not the copy, terminates both fields.
#pragma once

struct ProgramEntry {
    char path[260];  // what the shell opens; at most 259 bytes of text
    char name[50];   // what the list shows; at most 49 bytes of text
};
static_assert(sizeof(ProgramEntry) == 310, "ProgramEntry is two packed fixed-size fields");

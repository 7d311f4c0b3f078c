// The benchmarks' folder of menu files: `files` menu files of
// `entriesPerFile` entries each, every second entry naming a file that does
// not exist (unless `halfMissing` is false), the others naming one of
// `targets` small files.
#pragma once

#include <string>
#include <vector>

#include "tests/support/scratch_directory.h"

struct MenuWorkload {
    std::vector<std::string> entryPaths;  // every entry's path, in the order written
    int existing = 0;                     // entries whose path exists
};

MenuWorkload MakeMenuWorkload(const ScratchDirectory& root, int files, int entriesPerFile, int targets,
                              bool halfMissing = true);

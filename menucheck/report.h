// The check itself: the menu files of the current directory read with the
// launcher's own code, and for each entry what the launcher will show and
// why anything is missing.
#pragma once

#include "menucheck/output.h"

// menucheck's exit codes.
enum CheckStatus {
    kCheckClean = 0,     // every entry is shown, no warning
    kCheckFindings = 1,  // an entry is not shown, or there is a warning
    kCheckNoMenu = 2     // no menu file (also used by main for bad arguments)
};

// Reports on the menu files of the current directory, as the launcher would
// read them if started there, ending with the "Ergebnis:" line.
CheckStatus CheckMenuFolder(Output& out);

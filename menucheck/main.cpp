// menucheck [Ordner]: tells the author of a menu, entry by entry, what the
// launcher will show when started in that folder, and why anything is
// missing. Writes nothing but its report.
#include <windows.h>

#include <cstring>

#include "menucheck/output.h"
#include "menucheck/report.h"
#include "resources/resource.h"

namespace {

bool IsHelp(const char* argument) {
    return std::strcmp(argument, "/?") == 0 || std::strcmp(argument, "-h") == 0 ||
           std::strcmp(argument, "--help") == 0;
}

bool IsOption(const char* argument) {
    return argument[0] == '-' || argument[0] == '/';
}

// Says `id` (with `detail`) on standard error and gives the exit code for a
// call that cannot be carried out.
int Refuse(UINT id, const char* detail) {
    Output errors;
    OpenOutput(errors, GetStdHandle(STD_ERROR_HANDLE));
    Say(errors, id, DetailOf(detail));
    EndLine(errors);
    Flush(errors);
    return kCheckNoMenu;
}

}  // namespace

int main(int argc, char** argv) {
    const char* folder = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (!IsHelp(argv[i])) continue;
        Output out;
        OpenOutput(out, GetStdHandle(STD_OUTPUT_HANDLE));
        Say(out, IDS_USAGE);
        EndLine(out);
        Flush(out);
        return 0;
    }
    for (int i = 1; i < argc; ++i) {
        if (IsOption(argv[i])) return Refuse(IDS_UNKNOWN_OPTION, argv[i]);
        if (folder) return Refuse(IDS_TOO_MANY_FOLDERS, "");
        folder = argv[i];
    }
    // Entries' relative paths are looked up from the folder, as the launcher
    // started there would.
    if (folder && !SetCurrentDirectoryA(folder)) return Refuse(IDS_NO_SUCH_FOLDER, folder);

    Output out;
    OpenOutput(out, GetStdHandle(STD_OUTPUT_HANDLE));
    CheckStatus status = CheckMenuFolder(out);
    Flush(out);
    return status;
}

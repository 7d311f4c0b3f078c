// menucheck [Ordner]: tells the author of a menu, entry by entry, what the
// launcher will show when started in that folder, and why anything is
// missing. Writes nothing but its report.
#include <windows.h>

#include <cwchar>

#include "catalogue/menu_decoding.h"
#include "menucheck/output.h"
#include "menucheck/report.h"
#include "resources/resource.h"

namespace {

bool IsHelp(const wchar_t* argument) {
    return std::wcscmp(argument, L"/?") == 0 || std::wcscmp(argument, L"-h") == 0 ||
           std::wcscmp(argument, L"--help") == 0;
}

bool IsOption(const wchar_t* argument) {
    return argument[0] == L'-' || argument[0] == L'/';
}

// Says `id` (with `detail`, "?" for a character without an ANSI form) on
// standard error and gives the exit code for a call that cannot be carried
// out.
int Refuse(UINT id, const wchar_t* detail) {
    char ansi[1024];
    const uint16_t* wide = reinterpret_cast<const uint16_t*>(detail);
    bool lost = false;
    size_t length = WideToAnsi(wide, WideUnits(wide), ansi, sizeof ansi, lost);
    Output errors;
    OpenOutput(errors, GetStdHandle(STD_ERROR_HANDLE));
    Say(errors, id, DetailOf(ansi, length == kConversionFailed ? 0 : length));
    EndLine(errors);
    Flush(errors);
    return kCheckNoMenu;
}

}  // namespace

// The arguments come wide: the C runtime's ANSI ones are a best fit, which
// turns a folder named "men\u0103" into its look-alike "mena".
int wmain(int argc, wchar_t** argv) {
    const wchar_t* folder = nullptr;
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
        if (folder) return Refuse(IDS_TOO_MANY_FOLDERS, L"");
        folder = argv[i];
    }
    // Entries' relative paths are looked up from the folder, as the launcher
    // started there would.
    if (folder && !SetCurrentDirectoryW(folder)) return Refuse(IDS_NO_SUCH_FOLDER, folder);
    // Checking an entry on an empty drive shows no "no disk" box.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);

    Output out;
    OpenOutput(out, GetStdHandle(STD_OUTPUT_HANDLE));
    CheckStatus status = CheckMenuFolder(out);
    Flush(out);
    return status;
}

// Opening an entry's path with the shell's "open" verb.
#pragma once

// Hands `path` to ShellExecuteA with the verb "open", no window, no
// parameters and no working directory (so the launcher's current directory
// applies), shown normally. A launch the shell cannot carry out, or a shell
// that cannot be loaded, goes unreported.
void OpenWithShell(const char* path);

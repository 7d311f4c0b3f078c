# Wine settings shared by scripts/test, scripts/bench and scripts/demo.
# Source it from the repository's top folder.
#
# One wine64 serves both Windows builds: 64-bit programs natively, 32-bit
# ones in its WoW64 mode with the i386 DLLs that scripts/setup lays out in
# build/wow64. Each build folder has its own prefix; UseWinePrefixOf picks it.

WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEDLLPATH="$PWD/build/wow64"

# Selects the prefix of build/<preset> (win64 or win32) for what follows.
UseWinePrefixOf() {
  export WINEPREFIX="$PWD/build/$1/wineprefix"
}
UseWinePrefixOf win64

# Creates the current prefix once (about ten seconds).
EnsureWinePrefix() {
  if [[ ! -f "$WINEDLLPATH/i386-windows/user32.dll" ]]; then
    echo "wine.sh: Wine's i386 DLLs are missing from $WINEDLLPATH (package libwine:i386); run scripts/setup" >&2
    return 1
  fi
  [[ -f "$WINEPREFIX/system.reg" ]] && return 0
  mkdir -p "$WINEPREFIX"
  # A hung first start must not hold a run; wineserver -k ends what is left.
  timeout 300 "$WINE" wineboot -i >/dev/null 2>&1 || true
  timeout 60 "$WINESERVER" -w || "$WINESERVER" -k
}

# Runs a command inside a virtual display, with one wineserver for the whole
# run. Wine's background services are started first with their output sent
# elsewhere: started by the command's first Wine program, they would inherit
# its pipes and keep a caller such as ctest waiting after the work is done.
RunInWineSession() {
  xvfb-run -a bash -c '"$0" -p; timeout 300 "$1" wineboot </dev/null >/dev/null 2>&1; shift; "$@"; status=$?; "$0" -k; exit $status' \
    "$WINESERVER" "$WINE" "$@"
}

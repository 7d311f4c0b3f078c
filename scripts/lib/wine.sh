# Wine settings shared by scripts/test, scripts/bench and scripts/demo.
# Source it from the repository's top folder.

WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
export WINEPREFIX="$PWD/build/win64/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

# Creates the tests' own Wine prefix once (about ten seconds).
EnsureWinePrefix() {
  [[ -f "$WINEPREFIX/system.reg" ]] && return 0
  mkdir -p "$WINEPREFIX"
  "$WINE" wineboot -i >/dev/null 2>&1 || true
  "$WINESERVER" -w
}

# Runs a command inside a virtual display, with one wineserver for the whole
# run. Wine's background services are started first with their output sent
# elsewhere: started by the command's first Wine program, they would inherit
# its pipes and keep a caller such as ctest waiting after the work is done.
RunInWineSession() {
  xvfb-run -a bash -c '"$0" -p; "$1" wineboot </dev/null >/dev/null 2>&1; shift; "$@"; status=$?; "$0" -k; exit $status' \
    "$WINESERVER" "$WINE" "$@"
}

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

# Wine for scripts/test, scripts/bench and scripts/demo. Source it from the
# repository's top folder; it defines functions and the two Wine programs,
# and changes nothing else until UseWinePrefixOf is called.
#
# wine64 runs the x86-64 build; a 32-bit exe it hands to Debian's 32-bit
# Wine (wine32) by itself, so the shipped build runs in a real 32-bit Wine
# process. Each build folder has its own prefix, which serves both.

source scripts/lib/i386.sh

WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver

# Selects the prefix of build/<preset> (win64 or win32) for what follows, with
# the settings every Wine run here has (scripts/lib/wine.env, which the
# tests' CMake file reads too).
UseWinePrefixOf() {
  export WINEPREFIX="$PWD/build/$1/wineprefix"
  local setting
  while read -r setting; do
    [[ -n "$setting" ]] && export "${setting?}"
  done <scripts/lib/wine.env
}

# Creates the current prefix once (about ten seconds). A prefix made while
# i386 programs could not run has no 32-bit system DLLs, and every 32-bit
# program in it fails ("could not load kernel32.dll"): it is made anew.
EnsureWinePrefix() {
  if [[ -f "$WINEPREFIX/system.reg" ]]; then
    [[ -f "$WINEPREFIX/drive_c/windows/syswow64/kernel32.dll" ]] && return 0
    echo "wine: $WINEPREFIX has no 32-bit system DLLs; making it anew"
    rm -rf "$WINEPREFIX"
  fi
  mkdir -p "$WINEPREFIX"
  # A hung first start must not hold a run; wineserver -k ends what is left.
  timeout 300 "$WINE" wineboot -i >/dev/null 2>&1 || true
  timeout 60 "$WINESERVER" -w || "$WINESERVER" -k
}

# The inside of RunInWineSession, in its virtual display: one wineserver for
# the whole command. Wine's background services are started first with
# their output sent elsewhere: started by the command's first Wine program,
# they would inherit its pipes and keep a caller such as ctest waiting after
# the work is done.
RunWithWineServer() {
  "$WINESERVER" -p
  timeout 300 "$WINE" wineboot </dev/null >/dev/null 2>&1
  local status=0
  "$@" || status=$?
  "$WINESERVER" -k
  return $status
}

# Runs a command inside a virtual display with its own wineserver.
RunInWineSession() {
  xvfb-run -a bash -c 'source scripts/lib/wine.sh && RunWithWineServer "$@"' wine-session "$@"
}

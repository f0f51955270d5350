#!/bin/sh
# Creates the private Wine prefix the tests and the demo use, once, for the Windows build
# that scripts/windows-arch.sh chooses, with settings that keep runs fast and steady (no
# window manager waits, no crash dialog).
set -eu
: "${WINEPREFIX:?WINEPREFIX must be set}"
export WINEPREFIX WINEDEBUG=-all
stamp="$WINEPREFIX/.ambrevo-ready"
[ -f "$stamp" ] && exit 0

wine_run="$(cd "$(dirname "$0")" && pwd)/wine-run"
mkdir -p "$WINEPREFIX"
echo "Preparing the Wine prefix $WINEPREFIX (about 30 s, once)" >&2
xvfb-run -a sh -c '
    wine_run=$1
    "$wine_run" wineboot -i >/dev/null 2>&1
    "$wine_run" reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    "$wine_run" reg add "HKCU\\Software\\Wine\\WineDbg" /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    "$wine_run" reg add "HKCU\\Software\\Wine\\DllOverrides" /v winemenubuilder.exe /t REG_SZ /d "" /f >/dev/null 2>&1
    "$wine_run" --server -w' sh "$wine_run"
touch "$stamp"

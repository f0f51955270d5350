#!/bin/sh
# Builds the demo disc into build/demo (setup.exe and the files its items open) and runs
# it under Wine: in a window when a display is present, otherwise on a virtual screen,
# saving a screenshot to build/demo/screenshot.png. The player is that of the Windows
# build scripts/windows-arch.sh chooses (WINDOWS_ARCH).
set -eu
cd "$(dirname "$0")/.."
arch=$(scripts/windows-arch.sh -q)
: "${WINEPREFIX:=$PWD/build/wineprefix-$arch}"
export WINEPREFIX

demo=build/demo
rm -rf "$demo"
mkdir -p "$demo"
cp -R examples/demo/disc/. "$demo/"
build/native/ambrevo-pack build examples/demo/package.toml \
    --player "build/$arch/ambrevo.exe" -o "$demo/setup.exe"
build/native/ambrevo-pack list "$demo/setup.exe"

export WINEDEBUG="${WINEDEBUG:--all},+debugstr"
if [ -n "${DISPLAY:-}" ]; then
    scripts/wine-run --arch "$arch" "$demo/setup.exe"
else
    xvfb-run -a -s "-screen 0 1024x768x24" sh -c "
        scripts/wine-run --arch '$arch' '$demo/setup.exe' & player=\$!
        sleep 6
        import -window root '$demo/screenshot.png'
        kill \$player 2>/dev/null || true
        wait"
    echo "Screenshot: $demo/screenshot.png"
fi

#!/bin/sh
# Builds the demo disc into build/demo (setup.exe and the files its items open) and runs it
# under Wine: in a window when a display is present, otherwise on a virtual screen, where it
# waits for the menu window, saves a screenshot to build/demo/screenshot.png and fails when
# no menu window appears. The player is that of the Windows build scripts/windows-arch.sh
# chooses (WINDOWS_ARCH).
set -eu
cd "$(dirname "$0")/.."

# Without a display the whole script runs again on a virtual screen, in screenshot mode.
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1024x768x24" \
        env AMBREVO_DEMO_SCREENSHOT=1 "$PWD/scripts/run-demo.sh"
fi

arch=$(scripts/windows-arch.sh -q)
: "${WINEPREFIX:=$PWD/build/wineprefix-$arch}"
export WINEPREFIX
MENU_SECONDS=30  # for the menu window to appear, Wine's start-up included

demo=build/demo
rm -rf "$demo"
mkdir -p "$demo"
cp -R examples/demo/disc/. "$demo/"
build/native/ambrevo-pack build examples/demo/package.toml \
    --player "build/$arch/ambrevo.exe" -o "$demo/setup.exe"
build/native/ambrevo-pack list "$demo/setup.exe"

export WINEDEBUG="${WINEDEBUG:--all},+debugstr"
if [ -z "${AMBREVO_DEMO_SCREENSHOT:-}" ]; then
    exec scripts/wine-run --arch "$arch" "$demo/setup.exe"
fi

fail() {
    echo "run-demo: $*" >&2
    exit 1
}

# The visible windows of a process, one "id width height name" a line.
windows_of() {
    for window in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null || true); do
        geometry=$(xdotool getwindowgeometry --shell "$window" 2>/dev/null) || continue
        eval "$geometry"
        echo "$window $WIDTH $HEIGHT $(xdotool getwindowname "$window" 2>/dev/null || true)"
    done
}

# The menu window is the player's window of the first menu's size; a message box in its
# place is no menu.
menu_size=$(identify -format '%w %h' examples/demo/pictures/main-background.png)
scripts/wine-run --arch "$arch" "$demo/setup.exe" &
player=$!
deadline=$(($(date +%s) + MENU_SECONDS))
menu=
while [ -z "$menu" ]; do
    if ! kill -0 "$player" 2>/dev/null; then
        status=0
        wait "$player" || status=$?
        fail "the player ended (exit code $status) without showing its menu window"
    fi
    if [ "$(date +%s)" -gt "$deadline" ]; then
        shown=$(windows_of "$player" | cut -d' ' -f4- | paste -sd, -)
        kill "$player" 2>/dev/null || true
        wait "$player" 2>/dev/null || true
        fail "no menu window of the player within $MENU_SECONDS s" \
            "(its windows: ${shown:-none})"
    fi
    menu=$(windows_of "$player" | awk -v size="$menu_size" '$2 " " $3 == size { print $1; exit }')
    [ -n "$menu" ] || sleep 0.2
done

sleep 2  # the menu's first paint and the start of its animations
import -window root "$demo/screenshot.png"
kill -0 "$player" 2>/dev/null || fail "the player ended while the screenshot was taken"
kill "$player"
wait "$player" 2>/dev/null || true
echo "Screenshot: $demo/screenshot.png (menu window $menu)"

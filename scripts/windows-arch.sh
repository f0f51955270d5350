#!/bin/sh
# Prints the Windows build this host can test under Wine: "win32" where the kernel runs
# 32-bit x86 programs and Wine's 32-bit side is installed, "win64" where the kernel refuses
# them (Wine's 32-bit loader cannot start there) or the 32-bit Wine could not be installed
# (scripts/install-deps.sh). WINDOWS_ARCH, when set, is the answer. The check runs a 32-bit
# program, the only reliable test: kernel versions and configurations say nothing useful.
# Says why on standard error in one line, unless -q is given. With --host it prints only
# what the kernel can run (or WINDOWS_ARCH), for the install script.
set -eu

say() { [ "${1:-}" = "-q" ] || echo "$2" >&2; }

# A whole i386 Linux program of 93 bytes: one loadable segment whose code is exit(0).
write_probe() {
    printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000' >"$1"
    printf '\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000' >>"$1"
    printf '\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000' >>"$1"
    printf '\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010' >>"$1"
    printf '\000\200\004\010\135\000\000\000\135\000\000\000\005\000\000\000' >>"$1"
    printf '\000\020\000\000\270\001\000\000\000\061\333\315\200' >>"$1"
    chmod +x "$1"
}

# For the tests: writes the probe program to FILE and ends.
if [ "${1:-}" = "--write-probe" ]; then
    write_probe "$2"
    exit 0
fi

case "${WINDOWS_ARCH:-}" in
    win32|win64)
        [ "${1:-}" = "--host" ] && { echo "$WINDOWS_ARCH"; exit 0; }
        say "${1:-}" "Windows build under Wine: $WINDOWS_ARCH (set by WINDOWS_ARCH)"
        echo "$WINDOWS_ARCH"
        exit 0
        ;;
    "") ;;
    *) echo "WINDOWS_ARCH must be win32 or win64, not \"$WINDOWS_ARCH\"" >&2; exit 2 ;;
esac

probe=$(mktemp "${TMPDIR:-/tmp}/ambrevo-i386-probe.XXXXXX")
trap 'rm -f "$probe"' EXIT
write_probe "$probe"

unavailable="$(cd "$(dirname "$0")" && pwd)/../build/wine32-unavailable"
if "$probe" 2>/dev/null; then
    if [ "${1:-}" = "--host" ]; then
        echo win32
    elif [ -f "$unavailable" ] &&
        ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed"; then
        say "${1:-}" "Windows build under Wine: win64 ($(cat "$unavailable"); the 32-bit player's behaviour is tested through the 64-bit build)"
        echo win64
    else
        say "${1:-}" "Windows build under Wine: win32 (this host runs 32-bit programs; WINDOWS_ARCH=win64 overrides)"
        echo win32
    fi
else
    [ "${1:-}" = "--host" ] && { echo win64; exit 0; }
    say "${1:-}" "Windows build under Wine: win64 (this host cannot run 32-bit programs; the 32-bit player's behaviour is tested through the 64-bit build)"
    echo win64
fi

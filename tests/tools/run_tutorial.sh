#!/bin/sh
# Runs the tutorial of the authoring notes as written: every ```toml NAME block is written
# to NAME and every ```sh block is run, one after the other in document order, in an empty folder, with
# ambrevo-pack on the PATH and a stand-in for the bare player as ambrevo.exe. Any command
# that fails fails the test, so the tutorial cannot go stale.
# Usage: run_tutorial.sh AUTHORING.md AMBREVO-PACK
set -eu
doc=$1
tool=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"
ln -s "$tool" "$work/bin/ambrevo-pack"

# The headers of a 32-bit Windows program: "MZ", the pointer to "PE\0\0" at 0x40, i386.
{
    printf 'MZ'; head -c 58 /dev/zero; printf '\100\000\000\000'
    printf 'PE\000\000\114\001'; head -c 18 /dev/zero; printf '\013\001'
    head -c 222 /dev/zero; printf 'stand-in player'
} > "$work/ambrevo.exe"

awk '
    /^## / { inside = ($0 == "## Tutorial: a small disc from nothing") }
    !inside { next }
    /^```toml [^ ]+$/ { print "cat > " $2 " <<'"'"'END_OF_FILE'"'"'"; mode = "file"; next }
    /^```sh$/ { mode = "sh"; next }
    /^```/ { if (mode == "file") print "END_OF_FILE"; mode = ""; next }
    mode != "" { print }
' "$doc" > "$work/steps.sh"

test -s "$work/steps.sh" || { echo "no tutorial commands found in $doc" >&2; exit 1; }
cd "$work"
PATH="$work/bin:$PATH" sh -eux steps.sh

#!/bin/sh
# The choice of the Windows build that the Wine tests and the demo run, forced each way,
# and the 32-bit probe program behind the host's own answer.
# Usage: windows_build_choice.sh SOURCE_DIR
cd "$1" || exit 1
failed=0
fail() { echo "$*" >&2; failed=1; }

# What `make -n test-wine demo` would run for each forced answer: the Wine tests in that
# build's folder and prefix, the 32-bit player's file checks apart only under win64.
for arch in win32 win64; do
    plan=$(make -n test-wine demo WINDOWS_ARCH=$arch 2>&1)
    line=$(printf '%s\n' "$plan" | grep -c '^Windows build under Wine: ')
    [ "$line" = 1 ] || fail "$arch: the choice is said $line times"
    printf '%s\n' "$plan" | grep -q "^Windows build under Wine: $arch (set by WINDOWS_ARCH)" ||
        fail "$arch: the choice is not said"
    printf '%s\n' "$plan" | grep -q "ctest --test-dir build/$arch .*-L 'wine|e2e|player'" ||
        fail "$arch: the Wine tests do not run in build/$arch"
    printf '%s\n' "$plan" | grep -q "cmake --build build/win32 -j[0-9]* --target ambrevo" ||
        fail "$arch: the 32-bit player is not built"
    separate=$(printf '%s\n' "$plan" | grep -c "ctest --test-dir build/win32 -L player")
    expected=0
    [ $arch = win64 ] && expected=1
    [ "$separate" = $expected ] || fail "$arch: the 32-bit player's own checks run $separate times"
done
WINDOWS_ARCH=win64 make -n demo 2>/dev/null | grep -q "cmake --build build/win64 " ||
    fail "WINDOWS_ARCH from the environment is not taken"
make -n test WINDOWS_ARCH=win16 >/dev/null 2>&1 && fail "an unknown build is taken"

# The probe is a well-formed i386 Linux program; it runs exactly where the host's own
# answer is win32, and elsewhere fails only because the kernel refuses its format.
probe=$(mktemp)
trap 'rm -f "$probe"' EXIT
scripts/windows-arch.sh --write-probe "$probe"
header=$(readelf -h "$probe" 2>&1)
for field in "Class: *ELF32" "Machine: *Intel 80386" "Type: *EXEC" "Entry point address: *0x8048054"; do
    printf '%s\n' "$header" | grep -q "$field" || fail "the probe's header lacks $field"
done
answer=$(env -u WINDOWS_ARCH scripts/windows-arch.sh -q)
"$probe" 2>/dev/null
status=$?
# A host that runs 32-bit programs answers win64 where Wine's 32-bit side could not be
# installed, as build/wine32-unavailable records.
case "$answer:$status" in
    win32:0 | win64:126) ;;
    win64:0) [ -f build/wine32-unavailable ] || fail "the host answers win64, but runs the probe" ;;
    *) fail "the host answers $answer, but the probe ends with $status" ;;
esac
exit $failed

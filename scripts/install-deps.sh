#!/bin/sh
# Installs every Debian package the build, the demo and the tests need.
# Idempotent: does nothing when all packages are present.
# Both Windows builds are always compiled (the 32-bit player is the one shipped); Wine's
# 32-bit side is installed only where the host runs 32-bit programs (or WINDOWS_ARCH=win32
# asks for it), as it cannot start elsewhere. A package mirror half-way through a sync can
# fail some of APT's indexes: the install goes on with what it has, and where Wine's 32-bit
# side cannot be installed the tests use the 64-bit build (scripts/windows-arch.sh), which
# a file in build/ records so that later runs do not try again.
set -eu

packages="cmake make g++ zlib1g-dev libgtest-dev libgmock-dev libbenchmark-dev \
libtomlplusplus-dev libstb-dev libcli11-dev nlohmann-json3-dev pkgconf \
fonts-dejavu-core osslsigncode openssl libssl-dev clang-format clang-tidy \
g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix libz-mingw-w64-dev \
binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 locales \
clang libclang-rt-14-dev libdeflate-dev dpkg-dev xorriso \
wine64 xvfb xauth xdotool imagemagick x11-utils python3 \
emscripten nodejs chromium chromium-driver python3-selenium"
wine32_packages="wine wine32:i386"
scripts=$(cd "$(dirname "$0")" && pwd)
wine32_unavailable="$scripts/../build/wine32-unavailable"

# Once every package is in, a stamp keyed on this script (its package lists) and on the
# host's choice of Wine says so: later runs cost nothing until the list changes or
# `make clean` removes build/.
stamp="$scripts/../build/deps-installed"
stamp_key() {
    echo "$(cat "$0" "$wine32_unavailable" 2>/dev/null | cksum | cut -d' ' -f1)-$("$scripts/windows-arch.sh" --host)"
}
[ -f "$stamp" ] && [ "$(cat "$stamp")" = "$(stamp_key)" ] && exit 0
mark_installed() {
    mkdir -p "$(dirname "$stamp")"
    stamp_key >"$stamp"
}

missing_of() {
    for p in "$@"; do
        status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
        case "$status" in
            *"install ok installed"*) ;;
            *) printf ' %s' "$p" ;;
        esac
    done
}

missing=$(missing_of $packages)
missing32=""
if [ "$("$scripts/windows-arch.sh" --host)" = win32 ] && [ ! -f "$wine32_unavailable" ]; then
    missing32=$(missing_of $wine32_packages)
fi

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# The Windows and browser builds compile libdeflate (the browser build zlib, the Windows
# tool cpp-httplib, unpacked with Debian's patches by dpkg-dev's dpkg-source) from Debian's
# source packages (Debian ships them for Linux only), so APT needs source entries for the
# same suites as its binary ones. They go into a file of their own, written once.
source_list=/etc/apt/sources.list.d/ambrevo-deb-src
need_update=""
if ! apt-cache showsrc libdeflate 2>/dev/null | grep -q '^Package: libdeflate$'; then
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
        sed 's/^Types:.*/Types: deb-src/' /etc/apt/sources.list.d/debian.sources \
            | $sudo tee "$source_list.sources" >/dev/null
    else
        sed -n 's/^deb \(.*\)/deb-src \1/p' /etc/apt/sources.list \
            | $sudo tee "$source_list.list" >/dev/null
    fi
    need_update=1
fi

# The Wine tests run the player on machines of other code pages and display languages,
# which Wine takes from the locale only where the host has that locale.
wine_locales="en_US.UTF-8 ru_RU.UTF-8 ja_JP.UTF-8 de_DE.UTF-8"
ensure_locales() {
    missing_locales=""
    for l in $wine_locales; do
        locale -a 2>/dev/null | grep -qix "$(echo "$l" | sed 's/UTF-8/utf8/')" ||
            missing_locales="$missing_locales $l"
    done
    [ -z "$missing_locales" ] && return 0
    for l in $missing_locales; do
        grep -qx "$l UTF-8" /etc/locale.gen 2>/dev/null ||
            echo "$l UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
    done
    $sudo locale-gen >/dev/null
}

if [ -z "$missing$missing32$need_update" ]; then
    ensure_locales
    mark_installed
    exit 0
fi

export DEBIAN_FRONTEND=noninteractive
[ -n "$missing32" ] && $sudo dpkg --add-architecture i386
# A mirror in the middle of a sync fails some indexes; the install below decides whether
# what could be read is enough.
$sudo apt-get update -q ||
    echo "Some package indexes could not be read (a mirror may be syncing); installing from the rest" >&2

if [ -n "$missing" ]; then
    echo "Installing:$missing" >&2
    $sudo apt-get install -y -q --no-install-recommends $missing
fi
ensure_locales
if [ -n "$missing32" ]; then
    echo "Installing:$missing32" >&2
    if ! $sudo apt-get install -y -q --no-install-recommends $missing32; then
        mkdir -p "$(dirname "$wine32_unavailable")"
        echo "Wine's 32-bit side could not be installed (apt-get install$missing32 failed)" \
            >"$wine32_unavailable"
        echo "Wine's 32-bit side could not be installed; the Wine tests use the 64-bit build" >&2
    fi
fi
mark_installed

#!/bin/sh
# Installs every Debian package the build, the demo and the tests need.
# Idempotent: does nothing when all packages are present.
# Both Windows builds are always compiled (the 32-bit player is the one shipped); Wine's
# 32-bit side is installed only where the Windows tests run the 32-bit build
# (scripts/windows-arch.sh), as it cannot start on a host without 32-bit support.
set -eu

packages="cmake make g++ zlib1g-dev libgtest-dev libgmock-dev libbenchmark-dev \
libtomlplusplus-dev libstb-dev libcli11-dev libcpp-httplib-dev pkgconf \
fonts-dejavu-core osslsigncode openssl \
g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix libz-mingw-w64-dev \
binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 \
clang libclang-rt-14-dev libdeflate-dev \
wine64 xvfb xauth xdotool imagemagick x11-utils python3 \
emscripten nodejs chromium chromium-driver python3-selenium"
if [ "$("$(dirname "$0")/windows-arch.sh" -q)" = win32 ]; then
    packages="$packages wine wine32:i386"
fi

missing=""
for p in $packages; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    case "$status" in
        *"install ok installed"*) ;;
        *) missing="$missing $p" ;;
    esac
done

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

# The Windows and browser builds compile libdeflate (and the browser build zlib) from
# Debian's source packages (Debian ships them for Linux only), so APT needs source
# entries for the same suites as its binary ones. They go into a file of their own, written once.
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

[ -z "$missing$need_update" ] && exit 0

export DEBIAN_FRONTEND=noninteractive
if [ -z "$missing" ]; then
    $sudo apt-get update -q
    exit 0
fi

echo "Installing:$missing" >&2
case "$missing" in
    *:i386*) $sudo dpkg --add-architecture i386 ;;
esac
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends $missing

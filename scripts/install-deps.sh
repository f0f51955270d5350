#!/bin/sh
# Installs every Debian package the build, the demo and the tests need.
# Idempotent: does nothing when all packages are present.
set -eu

packages="cmake make g++ zlib1g-dev libgtest-dev libgmock-dev libbenchmark-dev \
libtomlplusplus-dev libstb-dev libcli11-dev fonts-dejavu-core osslsigncode openssl \
g++-mingw-w64-i686-posix libz-mingw-w64-dev binutils-mingw-w64-i686 \
clang libclang-rt-14-dev \
wine wine32:i386 xvfb xauth xdotool imagemagick x11-utils python3"

missing=""
for p in $packages; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    case "$status" in
        *"install ok installed"*) ;;
        *) missing="$missing $p" ;;
    esac
done

[ -z "$missing" ] && exit 0

echo "Installing:$missing" >&2
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
case "$missing" in
    *:i386*) $sudo dpkg --add-architecture i386 ;;
esac
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends $missing

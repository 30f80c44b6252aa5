#!/usr/bin/env bash
# Installs the Debian packages that building and testing Corvant need.
#   setup.sh start   what building and starting the terminal program needs
#   setup.sh test    everything the test suite needs (native, sanitizers, Windows under Wine)
# Missing packages are installed with apt-get when run as root; otherwise the
# command to install them is printed and the script fails.
set -euo pipefail

start_packages=(cmake make g++ pkg-config libncurses-dev binutils-mingw-w64-x86-64 xdg-utils)
# The shipped program is 32-bit (i686, win32 thread model); wine32 (from the
# i386 architecture) runs it in 32-bit prefixes, wine64 with WoW64 in 64-bit ones.
test_packages=("${start_packages[@]}" googletest libgtest-dev
    g++-mingw-w64-i686-win32 gcc-mingw-w64-i686-win32 mingw-w64-i686-dev binutils-mingw-w64-i686
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
    wine wine64 wine32:i386 fonts-wine xvfb xauth x11-utils xdotool tmux procps imagemagick fonts-dejavu-core
    python3 clang libclang-rt-dev clang-format git locales)

case "${1:-test}" in
    start) wanted=("${start_packages[@]}") ;;
    test) wanted=("${test_packages[@]}") ;;
    *) echo "usage: $0 start|test" >&2; exit 2 ;;
esac

needs_i386=false
missing=()
for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
        [[ $package == *:i386 ]] && needs_i386=true
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${missing[*]}" >&2
    $needs_i386 && echo "First add the i386 architecture: sudo dpkg --add-architecture i386 && sudo apt-get update" >&2
    echo "Install them with: sudo apt-get install ${missing[*]}" >&2
    exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
if $needs_i386 && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
fi
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null

#!/usr/bin/env bash
# Installs the Debian packages that building and testing Corvant need.
#   setup.sh start   what building and starting the terminal program needs
#   setup.sh test    everything the test suite needs (native, sanitizers, Windows under Wine)
# Missing packages are installed with apt-get when run as root; otherwise the
# command to install them is printed and the script fails.
set -euo pipefail

start_packages=(cmake make g++ pkg-config libncurses-dev binutils-mingw-w64-x86-64 xdg-utils)
test_packages=("${start_packages[@]}" googletest libgtest-dev
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
    wine wine64 xvfb xauth x11-utils xdotool tmux procps imagemagick fonts-dejavu-core python3
    clang libclang-rt-dev clang-format git)

case "${1:-test}" in
    start) wanted=("${start_packages[@]}") ;;
    test) wanted=("${test_packages[@]}") ;;
    *) echo "usage: $0 start|test" >&2; exit 2 ;;
esac

missing=()
for package in "${wanted[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${missing[*]}" >&2
    echo "Install them with: sudo apt-get install ${missing[*]}" >&2
    exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null

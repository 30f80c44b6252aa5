#!/usr/bin/env bash
# Builds the Windows release twice, from two clones of the current commit in
# two differently named folders, and checks that corvant.exe, the zip and
# its checksum come out byte for byte the same.
#   check-reproducible.sh [PRESET]   (default: windows)
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-windows}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

build() {
    local source=$1
    git clone --quiet --no-hardlinks . "$source"
    git -C "$source" checkout --quiet "$(git rev-parse HEAD)"
    (
        cd "$source"
        cmake --preset "$preset" --no-warn-unused-cli -DCORVANT_BUILD_TESTS=OFF >/dev/null
        cmake --build --preset "$preset" --target corvant >/dev/null
        cmake --build --preset "$preset" --target package >/dev/null
    )
}
build "$scratch/first"
build "$scratch/second-copy/elsewhere"

status=0
for file in ui/corvant.exe release/*.zip release/*.zip.sha256; do
    first=$(echo "$scratch"/first/build/"$preset"/$file)
    second=$(echo "$scratch"/second-copy/elsewhere/build/"$preset"/$file)
    if cmp -s "$first" "$second"; then
        echo "same: $file ($(sha256sum <"$first" | cut -c1-16)...)"
    else
        echo "DIFFERENT: $file"
        status=1
    fi
done
exit $status

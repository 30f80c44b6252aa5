#!/usr/bin/env bash
# Builds Corvant three ways and runs the whole test suite on each: natively,
# natively under AddressSanitizer and UndefinedBehaviorSanitizer, and the
# 32-bit Windows build under Wine; builds the 64-bit Windows program; checks
# that the release comes out the same when built twice; fuzzes the key
# store's reader for a minute; and checks that every source is laid out as
# .clang-format says.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh test

status=0
echo "== format"
scripts/check-format.sh || status=1

for preset in native asan windows; do
    echo "== build: $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
done
# The 64-bit Windows program is built too; the 32-bit one is the one shipped and tested.
echo "== build: windows-x64 (program)"
cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64 --target corvant

# The release twice, from two clones in two folders: byte for byte the same.
echo "== reproducible release"
scripts/check-reproducible.sh || status=1

# The key store's reader and the version resource reader under libFuzzer, a minute in all.
echo "== fuzz: REGEDIT4 reader, version resources"
scripts/fuzz.sh 60 || status=1

for preset in native asan windows; do
    echo "== test: $preset"
    ctest --preset "$preset" || status=1
done
exit $status

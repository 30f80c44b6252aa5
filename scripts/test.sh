#!/usr/bin/env bash
# Builds Corvant three ways and runs the whole test suite on each: natively,
# natively under AddressSanitizer and UndefinedBehaviorSanitizer, and the
# Windows build under Wine; fuzzes the key store's reader for a minute; and
# checks that every source is laid out as .clang-format says.
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

# The key store's reader under libFuzzer for about a minute.
echo "== fuzz: REGEDIT4 reader"
scripts/fuzz.sh 60 || status=1

for preset in native asan windows; do
    echo "== test: $preset"
    ctest --preset "$preset" || status=1
done
exit $status

#!/usr/bin/env bash
# Builds Corvant three ways and runs the whole test suite on each: natively,
# natively under AddressSanitizer and UndefinedBehaviorSanitizer, and the
# Windows build under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh test

for preset in native asan windows; do
    echo "== build: $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset"
done

status=0
for preset in native asan windows; do
    echo "== test: $preset"
    ctest --preset "$preset" || status=1
done
exit $status

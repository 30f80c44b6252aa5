#!/bin/sh
# Times the portable key store against stores of growing size in the Release
# build, then opens the keys of many values once more in the Debug build that
# scripts/start.sh runs:   bench/store.sh [ROUNDS]
# The stores live in a scratch folder under /tmp, never in the repository.
set -eu
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${CORVANT_BENCH_BUILD:-$source_dir/build/bench}
rounds=${1:-7}
cd "$source_dir"

cmake -S "$source_dir" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DCORVANT_BUILD_TESTS=OFF >/dev/null
cmake --build "$build_dir" -j2 --target bench_store >/dev/null
cmake --preset native >/dev/null
cmake --build --preset native --target bench_store >/dev/null

echo "== Release build"
"$build_dir/bench/bench_store" "$rounds"
echo "== Debug build"
exec build/native/bench/bench_store values "$rounds"

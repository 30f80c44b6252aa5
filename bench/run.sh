#!/bin/sh
# Builds the benchmark, makes the synthetic tree once (outside any timing)
# and times the search against find:   bench/run.sh [ROUNDS]
# The tree lives in /tmp (CORVANT_BENCH_TREE to move it), never in the repository.
set -eu
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${CORVANT_BENCH_BUILD:-$source_dir/build/bench}
tree=${CORVANT_BENCH_TREE:-/tmp/corvant-bench-tree}
rounds=${1:-25}

cmake -S "$source_dir" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DCORVANT_BUILD_TESTS=OFF >/dev/null
cmake --build "$build_dir" -j2 --target bench_tree_generator bench_search bench_runner >/dev/null

if [ ! -f "$tree.targets" ]; then
    rm -rf "$tree"
    "$build_dir/bench/bench_tree_generator" "$tree"
fi
tree=$(cd "$tree" && pwd -P)
exec "$build_dir/bench/bench_runner" "$build_dir/bench/bench_search" "$tree" "$rounds"

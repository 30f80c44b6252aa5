#!/bin/sh
# Builds the benchmark, makes its trees once (outside any timing) and times
# the search against find on each:   bench/run.sh [ROUNDS]
# The trees live in /tmp/corvant-bench (CORVANT_BENCH_DIR to move them),
# never in the repository; /usr is searched as it is.
set -eu
source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${CORVANT_BENCH_BUILD:-$source_dir/build/bench}
trees=${CORVANT_BENCH_DIR:-/tmp/corvant-bench}
rounds=${1:-11}

cmake -S "$source_dir" -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DCORVANT_BUILD_TESTS=OFF >/dev/null
cmake --build "$build_dir" -j2 --target bench_tree_generator bench_search bench_runner >/dev/null

mkdir -p "$trees"
trees=$(cd "$trees" && pwd -P)
for shape in seeded wide bushy chain1500 chain3000; do
    if [ ! -f "$trees/$shape.made" ]; then
        rm -rf "$trees/$shape" "$trees/$shape.targets"
        "$build_dir/bench/bench_tree_generator" "$shape" "$trees/$shape" >/dev/null
        touch "$trees/$shape.made"
    fi
done
exec "$build_dir/bench/bench_runner" "$build_dir/bench/bench_search" "$rounds" \
    "seeded=$trees/seeded" "wide=$trees/wide" "bushy=$trees/bushy" \
    "chain1500=$trees/chain1500" "chain3000=$trees/chain3000" "usr=/usr"

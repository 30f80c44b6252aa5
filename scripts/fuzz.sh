#!/usr/bin/env bash
# Builds the libFuzzer target for the key store's REGEDIT4 reader (clang,
# AddressSanitizer and UndefinedBehaviorSanitizer; the fuzz preset) and runs it:
#   scripts/fuzz.sh [SECONDS]      60 by default; 0 runs until interrupted
# It starts from the seed corpus fuzz/corpus/regedit_reader and keeps what it
# finds in build/fuzz/corpus. An input that crashes the reader or breaks the
# round trip is written to build/fuzz/artifacts/, and the script fails.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target regedit_reader_fuzzer >/dev/null
mkdir -p build/fuzz/corpus build/fuzz/artifacts
log=build/fuzz/regedit_reader.log

status=0
build/fuzz/fuzz/regedit_reader_fuzzer -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix=build/fuzz/artifacts/ \
    build/fuzz/corpus fuzz/corpus/regedit_reader >"$log" 2>&1 || status=$?
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
if [ "$status" -ne 0 ]; then
    tail -n 40 "$log"
    echo "fuzz: FAILED after ${runs:-?} inputs; the input is in build/fuzz/artifacts/ (log: $log)" >&2
    exit "$status"
fi
echo "fuzz: ${runs:-?} inputs in ${seconds} s, no crash and no round-trip failure (log: $log)"

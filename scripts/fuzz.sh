#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer and
# UndefinedBehaviorSanitizer; the fuzz preset) and runs them:
#   scripts/fuzz.sh [SECONDS] [TARGET]
# SECONDS (60 by default) is shared between the targets: the key store's
# REGEDIT4 reader gets two thirds, the version resource reader the rest.
# With a TARGET (regedit_reader, version_resource) only that one runs, for
# all of it; 0 runs it until interrupted. Each target starts from its seed
# corpus fuzz/corpus/TARGET and keeps what it finds in build/fuzz/corpus/TARGET.
# An input that crashes a reader or fails its checks is written to
# build/fuzz/artifacts/, and the script fails.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
only=${2:-}

if [ -n "$only" ]; then
    plan=("$only:$seconds")
elif [ "$seconds" -eq 0 ]; then
    echo "fuzz: 0 seconds runs one target until interrupted; name it (regedit_reader, version_resource)" >&2
    exit 2
else
    share=$((seconds / 3))
    plan=("regedit_reader:$((seconds - share))" "version_resource:$share")
fi

cmake --preset fuzz >/dev/null
status=0
for entry in "${plan[@]}"; do
    target=${entry%%:*}
    time=${entry#*:}
    cmake --build --preset fuzz --target "${target}_fuzzer" >/dev/null
    mkdir -p "build/fuzz/corpus/$target" build/fuzz/artifacts
    log=build/fuzz/$target.log
    result=0
    "build/fuzz/fuzz/${target}_fuzzer" -max_total_time="$time" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix=build/fuzz/artifacts/ \
        "build/fuzz/corpus/$target" "fuzz/corpus/$target" >"$log" 2>&1 || result=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    if [ "$result" -ne 0 ]; then
        tail -n 40 "$log"
        echo "fuzz: $target FAILED after ${runs:-?} inputs; the input is in build/fuzz/artifacts/ (log: $log)" >&2
        status=$result
    else
        echo "fuzz: $target: ${runs:-?} inputs in ${time} s, no crash and no failed check (log: $log)"
    fi
done
exit "$status"

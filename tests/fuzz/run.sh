#!/usr/bin/env bash
# Runs a fuzzer for SECONDS from a seed corpus kept in the repository (the
# script reader's, corpus/ with script.dict, unless CORPUS and DICT name
# others in tests/fuzz). New inputs, crash artifacts and the log go to WORKDIR;
# the seed corpus itself is only read. Any crash, leak, hang (10 s for one
# input) or sanitizer report fails the run.
# Usage: run.sh FUZZER SECONDS WORKDIR [CORPUS DICT]
set -euo pipefail
fuzzer=$(realpath "$1")
seconds=$2
work=$(realpath -m "$3")
here=$(cd "$(dirname "$0")" && pwd)
seeds=$here/${4:-corpus}
dict=$here/${5:-script.dict}

mkdir -p "$work/corpus" "$work/artifacts"
cd "$work"
set +e
"$fuzzer" "$work/corpus" "$seeds" \
    -dict="$dict" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
    -artifact_prefix="$work/artifacts/" -print_final_stats=1 >"$work/fuzz.log" 2>&1
status=$?
set -e

runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/fuzz.log")
echo "fuzz: $(basename "$fuzzer"): ${runs:-?} inputs in ${seconds} s, exit status $status (log: $work/fuzz.log)"
if [ "$status" -ne 0 ]; then
    grep -E 'ERROR|SUMMARY|kolvane fuzz|Test unit written' "$work/fuzz.log" >&2 || tail -n 40 "$work/fuzz.log" >&2
    echo "fuzz: FAILED. Keep the input as a regression test: copy it from $work/artifacts/" \
         "to tests/fuzz/regressions/ under a name that says what it found." >&2
    exit 1
fi

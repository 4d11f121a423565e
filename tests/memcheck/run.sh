#!/usr/bin/env bash
# Runs kolvane-sim under valgrind's memcheck over thousands of ticks of play:
# the golden battle (a game with saucers, capsules, missiles and the shield),
# the determinism play script (games lost and restarted) and its chaos script
# (unused keys and repeats, on a larger field), each writing its trace and its
# PNG shots.
#
#   run.sh KOLVANE_SIM OUT_DIR
#
# Any memcheck error (invalid access, use of an uninitialised value, a bad
# free) or any definite or indirect leak at exit fails the run. The logs stay
# in OUT_DIR.
set -euo pipefail

sim=$(realpath "${1:?usage: run.sh KOLVANE_SIM OUT_DIR}")
out=${2:?usage: run.sh KOLVANE_SIM OUT_DIR}
tests=$(cd "$(dirname "$0")/.." && pwd)
readonly ERROR_CODE=99

command -v valgrind >/dev/null || {
    echo "memcheck: valgrind is not installed" >&2
    exit 1
}

# NAME SCRIPT ARGS...
check() {
    local name=$1 script=$2
    shift 2
    local dir=$out/$name
    rm -rf "$dir"
    mkdir -p "$dir"
    local start rc=0
    start=$(date +%s)
    (cd "$dir" && valgrind --tool=memcheck --error-exitcode=$ERROR_CODE \
        --leak-check=full --show-leak-kinds=definite,indirect \
        --errors-for-leak-kinds=definite,indirect --track-origins=yes \
        --num-callers=30 --log-file=memcheck.log \
        "$sim" "$@" --trace trace.jsonl "$script" >/dev/null) || rc=$?
    local ticks=$(($(wc -l <"$dir/trace.jsonl") - 1))
    local summary
    summary=$(grep -E 'ERROR SUMMARY|total heap usage|definitely lost|indirectly lost|All heap blocks' \
        "$dir/memcheck.log" | sed 's/^==[0-9]*== *//' | paste -sd ';' -)
    echo "memcheck $name: $ticks ticks in $(($(date +%s) - start)) s; $summary"
    if ((rc != 0)); then
        echo "memcheck $name: FAILED (exit code $rc); log:" >&2
        cat "$dir/memcheck.log" >&2
        return 1
    fi
}

check battle "$tests/golden/battle.script" --seed 188 --clock 1000000000
check play "$tests/determinism/play.script" --seed 90210 --clock 1700000000
check chaos "$tests/determinism/chaos.script" --seed 3000000000 --clock 0 --size 1024x768
echo "memcheck: no errors and no leaks"

#!/usr/bin/env bash
# Replay runner throughput: kolvane-sim replays a script of busy play
# (bench/busy_play.sh, every tick painted) without a trace, with the trace
# thrown away (formatting only) and with the trace written to a file.
#
#   bench/throughput.sh KOLVANE_SIM [TICKS] [RUNS]
#
# Prints the median of RUNS runs (default 3) of the wall time, the CPU time,
# the ticks per second and the peak memory of each kind of run.
set -euo pipefail
readonly SIM=$(realpath "${1:?usage: throughput.sh KOLVANE_SIM [TICKS] [RUNS]}")
readonly TICKS=${2:-100000}
readonly RUNS=${3:-3}
readonly TIME=/usr/bin/time
[[ -x $TIME ]] || { echo "throughput.sh: needs $TIME (Debian package time)" >&2; exit 1; }

WORK=$(mktemp -d "${TMPDIR:-/tmp}/kolvane-throughput.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
"$(dirname "$0")/busy_play.sh" "$TICKS" >"$WORK/busy.script"

# measure KEY LABEL ARGS...: RUNS runs; "wall user+sys maxrss" of each, sorted by wall time.
measure() {
    local name=$1 label=$2
    shift 2
    : >"$WORK/$name.times"
    for ((r = 0; r < RUNS; r++)); do
        "$TIME" -f '%e %U %S %M' -o "$WORK/time" "$SIM" "$@" "$WORK/busy.script" >/dev/null
        awk '{ printf "%s %.2f %s\n", $1, $2 + $3, $4 }' "$WORK/time" >>"$WORK/$name.times"
        rm -f "$WORK/trace.jsonl"
    done
    sort -n "$WORK/$name.times" | awk -v n="$RUNS" -v ticks="$TICKS" -v label="$label" '
        NR == int((n + 1) / 2) {
            printf "  %-20s %7.2f s wall %7.2f s CPU %8.0f ticks/s (%.0f per CPU second) %6.0f KiB peak\n",
                label, $1, $2, ticks / $1, ticks / $2, $3
        }'
}

echo "kolvane-sim, $TICKS ticks of busy play, each painted; median of $RUNS runs:"
measure plain "no trace"
measure null "trace to /dev/null" --trace -
measure file "trace to a file" --trace "$WORK/trace.jsonl"
"$SIM" --trace "$WORK/trace.jsonl" "$WORK/busy.script"
echo "  trace size: $(du -m "$WORK/trace.jsonl" | cut -f1) MiB ($(wc -l <"$WORK/trace.jsonl") lines)"

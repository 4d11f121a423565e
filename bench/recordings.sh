#!/usr/bin/env bash
# Figures of recordings: the size of half an hour of steady play recorded and
# the cost of each write of it (kolvane-recording-figures), then the time
# kolvane-sim takes to verify a 10-minute recording, against the time it takes
# to replay the same recording painting every frame.
#
#   bench/recordings.sh KOLVANE_SIM KOLVANE_RECORDING_FIGURES [RUNS]
#
# Prints the median of RUNS runs (default 5) of the wall and CPU times.
set -euo pipefail
readonly SIM=$(realpath "${1:?usage: recordings.sh KOLVANE_SIM KOLVANE_RECORDING_FIGURES [RUNS]}")
readonly FIGURES=$(realpath "${2:?usage: recordings.sh KOLVANE_SIM KOLVANE_RECORDING_FIGURES [RUNS]}")
readonly RUNS=${3:-5}
readonly TIME=/usr/bin/time
[[ -x $TIME ]] || { echo "recordings.sh: needs $TIME (Debian package time)" >&2; exit 1; }

# Beside the build, on the disk the game's own files would use, not in a tmpfs.
WORK=$(mktemp -d "$(dirname "$FIGURES")/recordings.XXXXXX")
trap 'rm -rf "$WORK"' EXIT
"$FIGURES" "$WORK"
recording=$(ls "$WORK"/ten-minutes/recordings/*.kolvane)

# measure LABEL ARGS...: the median run's wall and CPU seconds.
measure() {
    local label=$1
    shift
    : >"$WORK/times"
    for ((r = 0; r < RUNS; r++)); do
        "$TIME" -f '%e %U %S' -o "$WORK/time" "$SIM" "$@" >/dev/null || [[ $1 != --verify ]]
        awk '{ printf "%s %.2f\n", $1, $2 + $3 }' "$WORK/time" >>"$WORK/times"
    done
    sort -n "$WORK/times" | awk -v n="$RUNS" -v label="$label" '
        NR == int((n + 1) / 2) { printf "  %-34s %6.2f s wall %6.2f s CPU\n", label, $1, $2 }'
}

echo "kolvane-sim on the 10-minute recording (40000 ticks), median of $RUNS runs:"
measure "--verify (no pixel drawn)" --verify "$recording"
measure "replayed, every frame painted" "$recording"
echo "  load average: $(cut -d' ' -f1-3 /proc/loadavg)"

#!/usr/bin/env bash
# Replays every golden script with the Windows kolvane-sim.exe under Wine and
# checks that each frame it shoots equals, pixel for pixel, the golden PNG of
# the same name, and that the run's trace is written.
#
#   golden_frames.sh KOLVANE_SIM_EXE GOLDEN_DIR WORK_DIR WINE_PREFIX
#
# WORK_DIR keeps each script's frames and trace (WORK_DIR/NAME/trace.jsonl),
# for compare_traces.sh. Exits 77 (skipped) when Wine or ImageMagick is missing.
set -u
readonly SIM=${1:?usage: golden_frames.sh SIM GOLDEN_DIR WORK_DIR WINE_PREFIX}
readonly GOLDEN=${2:?} WORK=${3:?} PREFIX=${4:?}
readonly HERE=$(cd "$(dirname "$0")" && pwd)
# ImageMagick by full path: another `compare` may come first on PATH.
readonly COMPARE=/usr/bin/compare

for tool in wine "$COMPARE"; do
    command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit 77; }
done

failures=0
frames=0
for script in "$GOLDEN"/*.script; do
    name=$(basename "$script" .script)
    dir=$WORK/$name
    rm -rf "$dir" && mkdir -p "$dir"
    args=$(sed -n 's/^# args://p' "$script")
    # shellcheck disable=SC2086 # the args line is a list of words
    (cd "$dir" && "$HERE/wine-run.sh" "$PREFIX" "$SIM" $args --trace trace.jsonl "$script" \
        >stdout.txt 2>stderr.txt)
    code=$?
    if [[ $code -ne 0 ]]; then
        echo "FAIL $name: kolvane-sim.exe exited $code"
        cat "$dir/stderr.txt"
        failures=$((failures + 1))
        continue
    fi
    if [[ ! -s $dir/trace.jsonl ]]; then
        echo "FAIL $name: no trace"
        failures=$((failures + 1))
    fi
    for shot in $(sed -n 's/^[[:space:]]*shot[[:space:]]\{1,\}\([^[:space:]#]*\).*/\1/Ip' "$script"); do
        frames=$((frames + 1))
        if [[ ! -f $dir/$shot ]]; then
            echo "FAIL $name: no frame $shot"
            failures=$((failures + 1))
            continue
        fi
        differing=$("$COMPARE" -metric AE "$GOLDEN/$shot" "$dir/$shot" "$dir/${shot%.png}.diff.png" 2>&1)
        if [[ $differing != 0 ]]; then
            echo "FAIL $name: $shot differs from the golden frame in $differing pixels"
            failures=$((failures + 1))
        else
            echo "ok   $name: $shot"
        fi
    done
done

echo "$frames frames compared, $failures failures"
[[ $frames -gt 0 && $failures -eq 0 ]]

#!/usr/bin/env bash
# Replays the same scripts with the Linux kolvane-sim and the Windows
# kolvane-sim.exe (under Wine) and compares their traces byte for byte: the
# golden scripts, and long games of random keys that reach far into the
# game's trigonometry, square roots and powers.
#
#   compare_traces.sh LINUX_SIM WINDOWS_SIM_EXE WINE_PREFIX WORK_DIR [GAMES] [TICKS]
#
# Prints one line a script and a summary; on a difference, the first tick that
# differs and the two lines. Exits 1 when any trace differs.
set -u
usage="usage: compare_traces.sh LINUX_SIM WINDOWS_SIM_EXE WINE_PREFIX WORK_DIR [GAMES] [TICKS]"
readonly LINUX=${1:?$usage} WINDOWS=${2:?$usage} PREFIX=${3:?$usage} WORK=${4:?$usage}
readonly GAMES=${5:-4} TICKS=${6:-6000}
readonly HERE=$(cd "$(dirname "$0")" && pwd)
readonly GOLDEN=$HERE/../../golden

rm -rf "$WORK" && mkdir -p "$WORK"

# A long game of random keys from seed $1: start, then hold and release the
# arrows, fire, use the special weapon, pause now and then, start again after
# a game over (S does nothing while a game runs).
random_game() {
    awk -v seed="$1" -v ticks="$2" 'BEGIN {
        srand(seed)
        split("LEFT RIGHT UP DOWN", arrows, " ")
        print "press S"
        done = 0
        while (done < ticks) {
            r = rand()
            if (r < 0.25) print "down " arrows[int(rand() * 4) + 1]
            else if (r < 0.45) print "up " arrows[int(rand() * 4) + 1]
            else if (r < 0.65) print "press SPACE"
            else if (r < 0.90) print "press X"
            else if (r < 0.99) print "press S"
            else { print "press P"; print "tick 5"; print "press P"; done += 5 }
            n = int(rand() * 12) + 1
            print "tick " n
            done += n
        }
    }'
}

for ((g = 1; g <= GAMES; g++)); do
    random_game "$g" "$TICKS" >"$WORK/random_$g.script"
    echo "# args: --seed $((g * 7919)) --clock $((1000000000 + g * 86400))" >>"$WORK/random_$g.script"
done

# The script's "# args:" line gives its options.
run_both() {
    local script=$1 name=$2 args
    args=$(sed -n 's/^# args://p' "$script")
    mkdir -p "$WORK/$name"
    # shellcheck disable=SC2086 # the args line is a list of words
    (cd "$WORK/$name" && "$LINUX" $args --trace linux.jsonl "$script" >/dev/null 2>linux.err) ||
        echo "  the Linux run of $name failed: $(cat "$WORK/$name/linux.err")"
    # shellcheck disable=SC2086
    (cd "$WORK/$name" && "$HERE/wine-run.sh" "$PREFIX" "$WINDOWS" $args --trace windows.jsonl \
        "$script" >/dev/null 2>windows.err) ||
        echo "  the Windows run of $name failed: $(cat "$WORK/$name/windows.err")"
}

identical=0
differing=0
total_lines=0
for script in "$GOLDEN"/*.script "$WORK"/random_*.script; do
    name=$(basename "$script" .script)
    run_both "$script" "$name"
    lines=$(wc -l <"$WORK/$name/linux.jsonl" 2>/dev/null || echo 0)
    if [[ -s $WORK/$name/linux.jsonl ]] && cmp -s "$WORK/$name/linux.jsonl" "$WORK/$name/windows.jsonl"; then
        identical=$((identical + 1))
        total_lines=$((total_lines + lines))
        printf 'identical  %-22s %7d ticks\n' "$name" "$((lines - 1))"
    else
        differing=$((differing + 1))
        first=$(cmp "$WORK/$name/linux.jsonl" "$WORK/$name/windows.jsonl" 2>&1 | sed -n 's/.* line \([0-9]*\).*/\1/p')
        printf 'DIFFERENT  %-22s first at line %s of %d\n' "$name" "${first:-?}" "$lines"
        if [[ -n $first ]]; then
            echo "  linux:   $(sed -n "${first}p" "$WORK/$name/linux.jsonl" | cut -c1-400)"
            echo "  windows: $(sed -n "${first}p" "$WORK/$name/windows.jsonl" | cut -c1-400)"
        fi
    fi
done
# A trace on standard output has the same bytes as one in a file.
script=$GOLDEN/title_field.script
args=$(sed -n 's/^# args://p' "$script")
# shellcheck disable=SC2086
(cd "$WORK" && "$HERE/wine-run.sh" "$PREFIX" "$WINDOWS" $args --trace - "$script" >stdout.jsonl 2>/dev/null)
if cmp -s "$WORK/stdout.jsonl" "$WORK/title_field/linux.jsonl"; then
    printf 'identical  %-22s (standard output)\n' title_field
else
    differing=$((differing + 1))
    printf 'DIFFERENT  %-22s (standard output)\n' title_field
fi

echo "$identical traces identical ($total_lines trace lines), $differing different"
[[ $differing -eq 0 ]]

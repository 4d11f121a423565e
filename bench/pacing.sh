#!/usr/bin/env bash
# Frame pacing, CPU use and start-up time of the real window under a private
# Xvfb server, measured with the measurement build kolvane-pacing:
#
#   bench/pacing.sh KOLVANE_PACING [TITLE_SECONDS] [PLAY_SECONDS] [FAKE_LEADERBOARD]
#
# Two runs: the window at 1x (740 x 580 on a 1024 x 768 screen), then scaled
# to 3x (2220 x 1740, --scale 3, on a 2400 x 1900 screen). Given the tests'
# stand-in for the world table (kolvane-fake-leaderboard), a third run at 1x
# sends to it all along: submit = true, and five recordings of 1 MB waiting
# in the outbox, which the stand-in reads at 100 KB/s, so that a submission
# is in flight from the first second to the end (every game over adds one). In each the game
# runs TITLE_SECONDS (default 20) on its title screen, then S starts a game
# and xdotool plays it for PLAY_SECONDS (default 20): turning, thrust, a shot
# every 100 ms and the special weapon, S again after a game over. The program
# records its own tick times, CPU time and heap allocations (see
# bench/pacing_log.h); this script adds the start-up time (from just before
# the program is started to its first frame on the screen) and the X server's
# CPU use, and prints every figure with its target.
set -euo pipefail

readonly GAME=$(realpath "${1:?usage: pacing.sh KOLVANE_PACING [TITLE_SECONDS] [PLAY_SECONDS] [FAKE_LEADERBOARD]}")
readonly TITLE_SECONDS=${2:-20}
readonly PLAY_SECONDS=${3:-20}
readonly FAKE_LEADERBOARD=${4:-}
for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "pacing.sh: $tool is not installed" >&2; exit 1; }
done

WORK=$(mktemp -d "${TMPDIR:-/tmp}/kolvane-pacing.XXXXXX")
XVFB_PID=
GAME_PID=
FAKE_PID=
cleanup() {
    [[ -n $GAME_PID ]] && kill "$GAME_PID" 2>/dev/null
    [[ -n $XVFB_PID ]] && kill "$XVFB_PID" 2>/dev/null
    [[ -n $FAKE_PID ]] && kill "$FAKE_PID" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT
# The game keeps its settings and files here, never in the user's folders.
export XDG_CONFIG_HOME=$WORK/config XDG_DATA_HOME=$WORK/data
# The sound on: SDL's disk driver pulls the mixer at the device's pace, into
# nothing (unless another driver is asked for).
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-disk} SDL_DISKAUDIOFILE=${SDL_DISKAUDIOFILE:-/dev/null}

# CPU time (ms) a process has used so far, from /proc.
cpu_ms() {
    awk -v hz="$(getconf CLK_TCK)" '{ print ($14 + $15) * 1000 / hz }' "/proc/$1/stat"
}
now_ns() { date +%s%N; }

# One run: LABEL SCREEN CPU-TARGET START-UP-TARGET [OPTION]... (the options go
# to the game).
measure() {
    local label=$1 screen=$2 cpu_target=$3 startup_target=$4
    shift 4
    rm -f "$WORK/display"
    Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp 3>"$WORK/display" 2>"$WORK/xvfb.log" &
    XVFB_PID=$!
    for ((i = 0; i < 100; i++)); do
        [[ -s $WORK/display ]] && break
        sleep 0.1
    done
    [[ -s $WORK/display ]] || { cat "$WORK/xvfb.log"; echo "pacing.sh: Xvfb did not start" >&2; exit 1; }
    export DISPLAY=:$(tr -d '[:space:]' <"$WORK/display")
    sleep 0.5

    launch_ns=$(now_ns)
    "$GAME" "$WORK/pacing.log" "$@" >"$WORK/game.out" 2>&1 &
    GAME_PID=$!
    WID=$(timeout 10 xdotool search --sync --onlyvisible --name '^Kolvane$' | head -n 1)
    [[ -n $WID ]] || { echo "pacing.sh: no window within 10 s" >&2; exit 1; }
    xdotool windowfocus --sync "$WID"

    title_start_ns=$(now_ns)
    xvfb_title_start=$(cpu_ms "$XVFB_PID")
    sleep "$TITLE_SECONDS"
    xvfb_title_end=$(cpu_ms "$XVFB_PID")
    title_end_ns=$(now_ns)

    xdotool key --window "$WID" s
    play_end=$(($(date +%s) + PLAY_SECONDS))
    round=0
    while (($(date +%s) < play_end)); do
        turn=Right
        ((round % 3 == 2)) && turn=Left
        xdotool keydown --window "$WID" "$turn"
        ((round % 4 == 1)) && xdotool keydown --window "$WID" Up
        for ((k = 0; k < 5; k++)); do
            xdotool key --window "$WID" space
            sleep 0.1
        done
        xdotool keyup --window "$WID" "$turn" Up
        ((round % 5 == 4)) && xdotool key --window "$WID" x
        xdotool key --window "$WID" s
        round=$((round + 1))
    done
    xvfb_play_end=$(cpu_ms "$XVFB_PID")
    play_end_ns=$(now_ns)
    xdotool key --window "$WID" Escape 2>/dev/null || true
    wait "$GAME_PID" || { echo "pacing.sh: the game exited with an error" >&2; cat "$WORK/game.out"; exit 1; }
    GAME_PID=

    LOG=$WORK/pacing.log
    [[ -s $LOG ]] || { echo "pacing.sh: no log written" >&2; exit 1; }
    value() { awk -v k="$1" '$1 == k { print $2 }' "$LOG"; }
    present_ns=$(value first_present_realtime_ns)
    main_ns=$(value main_realtime_ns)
    xvfb_title=$(awk -v a="$xvfb_title_start" -v b="$xvfb_title_end" -v s="$title_start_ns" -v e="$title_end_ns" \
        'BEGIN { printf "%.2f", 100 * (b - a) / ((e - s) / 1e6) }')
    xvfb_play=$(awk -v a="$xvfb_title_end" -v b="$xvfb_play_end" -v s="$title_end_ns" -v e="$play_end_ns" \
        'BEGIN { printf "%.2f", 100 * (b - a) / ((e - s) / 1e6) }')

    check() {  # label value unit target-expression target-text
        local ok
        ok=$(awk -v v="$2" "BEGIN { print ($4) ? \"met\" : \"MISSED\" }")
        printf '  %-40s %10s %-3s target %-18s %s\n' "$1" "$2" "$3" "$5" "$ok"
    }
    show() { printf '  %-40s %10s %s\n' "$1" "$2" "$3"; }

    echo "== $label: screen $screen, video: $(grep -m1 '^video' "$LOG" | cut -d' ' -f2-)"
    echo "Start-up:"
    check "process start to first frame" "$(awk -v a="$launch_ns" -v b="$present_ns" 'BEGIN { printf "%.1f", (b - a) / 1e6 }')" ms "v <= $startup_target" "<= $startup_target ms"
    show "  of which main() to first frame" "$(value first_present_after_main_ms)" ms
    show "  of which loading (start to main())" "$(awk -v a="$launch_ns" -v b="$main_ns" 'BEGIN { printf "%.1f", (b - a) / 1e6 }')" ms
    for phase in title play; do
        echo "$phase ($(value $phase.seconds) s, $(value $phase.ticks) ticks):"
        check "mean tick period" "$(value $phase.period_mean_ms)" ms "v >= 14.985 && v <= 15.015" "15 ms +- 0.1 %"
        show "median (p50) period" "$(value $phase.period_p50_ms)" ms
        show "p99 period" "$(value $phase.period_p99_ms)" ms
        show "shortest / longest period" "$(value $phase.period_min_ms) / $(value $phase.period_max_ms)" ms
        check "p99 deviation from 15 ms" "$(value $phase.deviation_p99_ms)" ms "v <= 1" "<= 1 ms"
        show "max deviation from 15 ms" "$(value $phase.deviation_max_ms)" ms
        check "drift (slope of lateness)" "$(value $phase.drift_ms_per_minute)" ms/min "v >= -1 && v <= 1" "|drift| <= 1 ms/min"
        show "elapsed minus ticks x 15 ms" "$(value $phase.total_drift_ms)" ms
        show "ticks late by a period or more (stalls)" "$(value $phase.stalls)" ""
        show "catch-up ticks (period < 7.5 ms)" "$(value $phase.catch_ups)" ""
        check "bursts (2+ catch-up ticks in a row)" "$(value $phase.bursts)" "" "v == 0" "none"
        check "wake-ups of the main loop per tick" "$(value $phase.wake_ups_per_tick)" "" "v < 2" "< 2 (no spinning)"
        check "CPU of kolvane, one core = 100 %" "$(value $phase.cpu_percent)" "%" "v <= $cpu_target" "<= $cpu_target %"
        show "CPU of the X server (Xvfb)" "$([[ $phase == title ]] && echo "$xvfb_title" || echo "$xvfb_play")" "%"
        check "heap allocations (after the 1st second)" "$(value $phase.allocations)" "" "v == 0" "none"
    done
    [[ -n ${KOLVANE_PACING_KEEP:-} ]] && cp "$LOG" "$KOLVANE_PACING_KEEP.$label"
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
}

echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), load $(cut -d' ' -f1-3 /proc/loadavg)"
measure 1x 1024x768 5 50
measure 3x 2400x1900 8 100 --scale 3

# Sending to the world table all along: the stand-in on loopback, reading
# 100 KB a second; five recordings of 1 MB in the outbox (10 s each).
if [[ -n $FAKE_LEADERBOARD ]]; then
    "$FAKE_LEADERBOARD" --read-rate 100000 >"$WORK/fake.out" 2>"$WORK/fake.log" &
    FAKE_PID=$!
    for ((i = 0; i < 100; i++)); do
        [[ -s $WORK/fake.out ]] && break
        sleep 0.1
    done
    read -r url _ <"$WORK/fake.out" || { echo "pacing.sh: the stand-in did not start" >&2; exit 1; }
    mkdir -p "$XDG_CONFIG_HOME/kolvane" "$XDG_DATA_HOME/kolvane/outbox"
    printf 'server = %s\nname = Pacer\nsubmit = true\n' "$url" >"$XDG_CONFIG_HOME/kolvane/settings.ini"
    for n in 1 2 3 4 5; do
        awk -v n="$n" 'BEGIN { print "# Kolvane pacing filler " n; for (i = 0; i < 150000; i++) print "tick 1" }' \
            >"$XDG_DATA_HOME/kolvane/outbox/2000-01-01_00-00-0${n}_1.kolvane"
    done
    measure "1x, sending" 1024x768 5 50
    echo "  recordings still in the outbox at the end: $(ls "$XDG_DATA_HOME/kolvane/outbox" | grep -c '\.kolvane$') (of 5 and the game overs')"
    kill "$FAKE_PID" 2>/dev/null || true
    wait "$FAKE_PID" 2>/dev/null || true
    FAKE_PID=
fi
exit 0

# Sourced by the real-window tests: a private virtual X server, the game
# started in it, and cleanup on every path.
#
# The caller sets MODE (a name for messages) before sourcing, and calls
# start_server, then start_game GAME; or defines run_MODE and calls run_mode.
# WINDOW_WAIT (seconds, 10 unless set) bounds the wait for the game's window;
# a caller whose helpers must go before the X server stops them in its own
# stop_helpers.

readonly CONVERT=/usr/bin/convert IMPORT=/usr/bin/import COMPARE=/usr/bin/compare
readonly SKIP=77

WORK=$(mktemp -d "${TMPDIR:-/tmp}/kolvane-window.XXXXXX")
# What the game keeps (recordings, high scores, settings) stays in the work
# folder, never in the home folder of whoever runs the tests.
export XDG_DATA_HOME=$WORK/data XDG_CONFIG_HOME=$WORK/config
# No sound device: the game plays silently without a word about it.
export SDL_AUDIODRIVER=dummy
XVFB_PID=
GAME_PID=
EXTRA_PIDS=()
WINDOW_WAIT=${WINDOW_WAIT:-10}

require_tools() {
    local tool
    for tool in "$@"; do
        if ! command -v "$tool" >/dev/null 2>&1; then
            echo "SKIP: $tool is not installed"
            exit "$SKIP"
        fi
    done
}

stop_helpers() { :; }

cleanup() {
    if [[ -n $GAME_PID ]] && kill -0 "$GAME_PID" 2>/dev/null; then
        kill "$GAME_PID" 2>/dev/null
        sleep 0.2
        kill -9 "$GAME_PID" 2>/dev/null
    fi
    local pid
    for pid in "${EXTRA_PIDS[@]}"; do kill "$pid" 2>/dev/null; done
    stop_helpers
    if [[ -n $XVFB_PID ]]; then
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
    fi
    if [[ -n ${KOLVANE_SHOT_DIR:-} ]]; then
        mkdir -p "$KOLVANE_SHOT_DIR" && cp "$WORK"/*.png "$KOLVANE_SHOT_DIR"/ 2>/dev/null
    fi
    rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

fail() {
    echo "FAIL ($MODE): $*"
    if [[ -s $WORK/game.log ]]; then
        echo "--- game output ---"
        cat "$WORK/game.log"
    fi
    exit 1
}

# A free display number, chosen by the server itself; the screen 1024 x 768
# unless another size is given (WIDTHxHEIGHT).
start_server() {
    Xvfb -displayfd 3 -screen 0 "${1:-1024x768}x24" -nolisten tcp 3>"$WORK/display" 2>"$WORK/xvfb.log" &
    XVFB_PID=$!
    local i
    for ((i = 0; i < 100; i++)); do
        if [[ -s $WORK/display ]]; then
            DISPLAY=:$(tr -d '[:space:]' <"$WORK/display")
            export DISPLAY
            return
        fi
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    cat "$WORK/xvfb.log"
    fail "Xvfb did not start"
}

# Starts the game (GAME ARG...), waits up to WINDOW_WAIT seconds for its window,
# sets WINDOW to the window's id and gives it the focus, since keys go to the
# focused window.
start_game() {
    "$@" >"$WORK/game.log" 2>&1 &
    GAME_PID=$!
    WINDOW=$(timeout "$WINDOW_WAIT" xdotool search --sync --onlyvisible --name '^Kolvane$' 2>/dev/null | head -n 1)
    [[ -n $WINDOW ]] || fail "no window named Kolvane appeared within $WINDOW_WAIT s"
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game exited at start-up"
    timeout 5 xdotool windowfocus --sync "$WINDOW" || fail "could not focus the window"
}

shot() {
    "$IMPORT" -window "$WINDOW" "$WORK/$1.png" 2>>"$WORK/import.log" || fail "no screenshot $1"
}

# The window may be gone before the key's release is sent: that error is expected.
press_escape() {
    xdotool key --window "$WINDOW" Escape 2>/dev/null
}

# Waits for the game to exit within the limit (seconds) and checks exit code 0.
expect_exit_within() {
    local limit_ms=$(($1 * 1000)) start now
    start=$(date +%s%N)
    while kill -0 "$GAME_PID" 2>/dev/null; do
        now=$(date +%s%N)
        (((now - start) / 1000000 > limit_ms)) && fail "still running ${1} s after $2"
        sleep 0.05
    done
    wait "$GAME_PID"
    local rc=$?
    GAME_PID=
    ((rc == 0)) || fail "exit code $rc after $2, expected 0"
}

# Waits up to $1 seconds for the file $2 to exist, while the game runs.
wait_for_file() {
    local i
    for ((i = 0; i < $1 * 10; i++)); do
        [[ -e $2 ]] && return 0
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended while waiting for $2"
        sleep 0.1
    done
    return 1
}

# Waits up to $1 seconds for the window to show the same frame twice, 0.5 s
# apart, taken by the function $2 (shot unless given); that frame is left in
# $WORK/replay-end.png.
wait_for_still_frame() {
    local i changed take=${2:-shot}
    "$take" still.0
    for ((i = 1; i <= $1 * 2; i++)); do
        sleep 0.5
        "$take" "still.$i"
        changed=$("$COMPARE" -metric AE "$WORK/still.$((i - 1)).png" "$WORK/still.$i.png" null: 2>&1)
        if [[ $changed == 0 ]]; then
            cp "$WORK/still.$i.png" "$WORK/replay-end.png"
            return 0
        fi
    done
    return 1
}

# The X server (its screen SCREEN, when set), then the caller's run_MODE
# function; PASS when it returns.
run_mode() {
    declare -F "run_$MODE" >/dev/null || fail "unknown mode $MODE"
    start_server "${SCREEN:-}"
    "run_$MODE"
    echo "PASS ($MODE)"
}

#!/usr/bin/env bash
# Runs the real game window under a private virtual X server and drives it
# with synthetic input.
#
#   window_test.sh KOLVANE MODE [WINDOW_CLOSE]
#
#   title  the window's name and size, a dark title frame, Escape exits 0 within 2 s
#   play   S starts a game; Up and Space held for a second change the frame; Escape exits 0
#   close  a close request from the window system (WM_DELETE_WINDOW) exits 0 within 2 s
#
# Exits 77 (skipped) when the X tools are missing. Set KOLVANE_SHOT_DIR to keep
# the screenshots.
set -u

readonly GAME=${1:?usage: window_test.sh KOLVANE MODE [WINDOW_CLOSE]}
readonly MODE=${2:?usage: window_test.sh KOLVANE MODE [WINDOW_CLOSE]}
readonly CLOSER=${3:-}
readonly SKIP=77
# ImageMagick by full path: another `convert` may come first on PATH.
readonly CONVERT=/usr/bin/convert IMPORT=/usr/bin/import COMPARE=/usr/bin/compare

for tool in Xvfb xdotool xwininfo xprop "$CONVERT" "$IMPORT" "$COMPARE"; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool is not installed"
        exit "$SKIP"
    fi
done
if [[ $MODE == close && ! -x $CLOSER ]]; then
    echo "SKIP: no window_close helper (needs libx11)"
    exit "$SKIP"
fi

WORK=$(mktemp -d "${TMPDIR:-/tmp}/kolvane-window.XXXXXX")
XVFB_PID=
GAME_PID=

cleanup() {
    if [[ -n $GAME_PID ]] && kill -0 "$GAME_PID" 2>/dev/null; then
        kill "$GAME_PID" 2>/dev/null
        sleep 0.2
        kill -9 "$GAME_PID" 2>/dev/null
    fi
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

# A free display number, chosen by the server itself.
start_server() {
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$WORK/display" 2>"$WORK/xvfb.log" &
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

# Starts the game (with a stray argument, which it must ignore) and waits up
# to 10 s for its window.
start_game() {
    "$GAME" --ignored-argument >"$WORK/game.log" 2>&1 &
    GAME_PID=$!
    WID=$(timeout 10 xdotool search --sync --onlyvisible --name '^Kolvane$' 2>/dev/null | head -n 1)
    [[ -n $WID ]] || fail "no window named Kolvane within 10 s"
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game exited at start-up"
    # Keys go to the focused window.
    timeout 5 xdotool windowfocus --sync "$WID" || fail "could not focus the window"
}

shot() {
    "$IMPORT" -window "$WID" "$WORK/$1.png" || fail "screenshot $1 failed"
}

# How many near-white pixels an area of a screenshot holds.
white_pixels_in() {
    "$CONVERT" "$WORK/$1.png" -crop "$2" +repage -colorspace Gray -threshold 90% \
        -format '%[fx:round(mean*w*h)]' info:
}

# The window may be gone before the key's release is sent: that error is expected.
press_escape() {
    xdotool key --window "$WID" Escape 2>/dev/null
}

below() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }

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

check_window() {
    local name size hints
    name=$(xdotool getwindowname "$WID")
    [[ $name == Kolvane ]] || fail "window name is '$name'"
    size=$(xwininfo -id "$WID" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')
    [[ $size == 740x580 ]] || fail "client area is $size, expected 740x580"
    # Not resizable: the size hints pin the minimum and the maximum.
    hints=$(xprop -id "$WID" WM_NORMAL_HINTS)
    grep -q 'minimum size: 740 by 580' <<<"$hints" || fail "no fixed minimum size: $hints"
    grep -q 'maximum size: 740 by 580' <<<"$hints" || fail "no fixed maximum size: $hints"
}

# The share (0..1) of a screenshot that is not black.
lit_share_of() {
    "$CONVERT" "$WORK/$1.png" -colorspace Gray -threshold 0 -format '%[fx:mean]' info:
}

# The title frame: a black field with a few stars, grey rocks and white text.
check_title_frame() {
    local lit colours
    lit=$(lit_share_of title)
    below "$lit" 0.5 || fail "title frame is not mostly black ($lit of it lit)"
    below 0.001 "$lit" || fail "title frame is all black"
    colours=$("$CONVERT" "$WORK/title.png" -format '%k' info:)
    ((colours > 1)) || fail "title frame is one colour"
    (($(white_pixels_in title 240x80+250+250) > 20)) || fail "no title text in the middle"
    (($(white_pixels_in title 500x20+0+0) > 20)) || fail "no HUD in the top band"
}

run_title() {
    start_game
    check_window
    sleep 0.5
    shot title
    check_title_frame
    press_escape
    expect_exit_within 2 Escape
}

run_play() {
    start_game
    sleep 0.5
    xdotool key --window "$WID" s
    sleep 0.3
    shot start
    # The ship's white hull at the centre of the field.
    (($(white_pixels_in start 80x80+330+250) > 10)) || fail "no ship at the centre after S"
    xdotool keydown --window "$WID" Up space
    sleep 1
    xdotool keyup --window "$WID" Up space
    shot flight
    local changed
    changed=$("$COMPARE" -metric AE "$WORK/start.png" "$WORK/flight.png" null: 2>&1)
    [[ $changed =~ ^[0-9]+$ ]] || fail "compare said: $changed"
    ((changed > 50)) || fail "only $changed pixels changed after a second of flight"
    (($(white_pixels_in flight 500x20+0+0) > 20)) || fail "no HUD in the top band"
    below "$(lit_share_of flight)" 0.5 || fail "flight frame is not a dark field"
    press_escape
    expect_exit_within 2 Escape
}

run_close() {
    start_game
    sleep 0.5
    "$CLOSER" "$WID" || fail "could not send the close request"
    expect_exit_within 2 "the close request"
}

start_server
case $MODE in
    title) run_title ;;
    play) run_play ;;
    close) run_close ;;
    *) fail "unknown mode $MODE" ;;
esac
echo "PASS ($MODE)"

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
# shellcheck source=tests/support/xvfb_session.sh
source "$(dirname "$0")/../../support/xvfb_session.sh"

require_tools Xvfb xdotool xwininfo xprop "$CONVERT" "$IMPORT" "$COMPARE"
if [[ $MODE == close && ! -x $CLOSER ]]; then
    echo "SKIP: no window_close helper (needs libx11)"
    exit "$SKIP"
fi

# How many near-white pixels an area of a screenshot holds.
white_pixels_in() {
    "$CONVERT" "$WORK/$1.png" -crop "$2" +repage -colorspace Gray -threshold 90% \
        -format '%[fx:round(mean*w*h)]' info:
}

below() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }

check_window() {
    local name size hints
    name=$(xdotool getwindowname "$WINDOW")
    [[ $name == Kolvane ]] || fail "window name is '$name'"
    size=$(xwininfo -id "$WINDOW" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')
    [[ $size == 740x580 ]] || fail "client area is $size, expected 740x580"
    # Not resizable: the size hints pin the minimum and the maximum.
    hints=$(xprop -id "$WINDOW" WM_NORMAL_HINTS)
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
    start_game "$GAME"
    check_window
    sleep 0.5
    shot title
    check_title_frame
    press_escape
    expect_exit_within 2 Escape
}

run_play() {
    start_game "$GAME"
    sleep 0.5
    xdotool key --window "$WINDOW" s
    sleep 0.3
    shot start
    # The ship's white hull at the centre of the field.
    (($(white_pixels_in start 80x80+330+250) > 10)) || fail "no ship at the centre after S"
    xdotool keydown --window "$WINDOW" Up space
    sleep 1
    xdotool keyup --window "$WINDOW" Up space
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
    start_game "$GAME"
    sleep 0.5
    "$CLOSER" "$WINDOW" || fail "could not send the close request"
    expect_exit_within 2 "the close request"
}

run_mode

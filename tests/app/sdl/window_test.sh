#!/usr/bin/env bash
# Runs the real game window under a private virtual X server and drives it
# with synthetic input.
#
#   window_test.sh KOLVANE MODE [HELPER]
#
#   title       the window's name and size, a dark title frame, Escape exits 0 within 2 s
#   play        S starts a game; Up and Space held for a second change the frame; Escape exits 0
#   close       a close request from the window system (WM_DELETE_WINDOW) exits 0 within 2 s
#               (HELPER: window_close)
#   scaled      on a 1600 x 1300 screen the window opens at 2x; resized away and back to
#               1480 x 1160 it shows the frame at exactly 2x, the runner's frame of the
#               same state (HELPER: scaled_frame_check)
#   fullscreen  F11 and Alt+Enter toggle fullscreen (under a window manager), the frame
#               centred with black borders; the choice is saved; a paused game stays paused
#   pause       after S and P, F13 (a key with no code of its own) ends the pause
#   focus       a held arrow is let go when the window loses the focus
#
# Exits 77 (skipped) when the X tools are missing. Set KOLVANE_SHOT_DIR to keep
# the screenshots.
set -u

readonly GAME=${1:?usage: window_test.sh KOLVANE MODE [HELPER]}
readonly MODE=${2:?usage: window_test.sh KOLVANE MODE [HELPER]}
readonly HELPER=${3:-}
# shellcheck source=tests/support/xvfb_session.sh
source "$(dirname "$0")/../../support/xvfb_session.sh"

require_tools Xvfb xdotool xwininfo xprop "$CONVERT" "$IMPORT" "$COMPARE"
if [[ $MODE == close && ! -x $HELPER ]]; then
    echo "SKIP: no window_close helper (needs libx11)"
    exit "$SKIP"
fi
[[ $MODE == fullscreen ]] && require_tools evilwm

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
    size=$(window_size)
    # A 1024 x 768 screen has room for 1x only.
    [[ $size == 740x580 ]] || fail "client area is $size, expected 740x580"
    # Resizable down to the frame's own size.
    hints=$(xprop -id "$WINDOW" WM_NORMAL_HINTS)
    grep -q 'minimum size: 740 by 580' <<<"$hints" || fail "no minimum size: $hints"
    ! grep -q 'maximum size' <<<"$hints" || fail "the window has a maximum size: $hints"
}

window_size() {
    xwininfo -id "$WINDOW" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }'
}

# Waits up to 2 s for the window to take a size.
expect_size() {
    local i
    for ((i = 0; i < 20; i++)); do
        [[ $(window_size) == "$1" ]] && return
        sleep 0.1
    done
    fail "the window is $(window_size), expected $1 ($2)"
}

# How many pixels differ between two screenshots, the middle of the field
# (where the ship and its shield are) left out.
field_change() {
    local a b
    for a in "$1" "$2"; do
        "$CONVERT" "$WORK/$a.png" -fill black -draw 'rectangle 300,220 440,360' "$WORK/$a.field.png"
    done
    b=$("$COMPARE" -metric AE "$WORK/$1.field.png" "$WORK/$2.field.png" null: 2>&1)
    [[ $b =~ ^[0-9]+$ ]] || fail "compare said: $b"
    echo "$b"
}

# How many pixels of the ship's square at the middle differ between two shots.
ship_change() {
    local b
    b=$("$COMPARE" -metric AE -extract 60x60+340+260 "$WORK/$1.png" "$WORK/$2.png" null: 2>&1)
    [[ $b =~ ^[0-9]+$ ]] || fail "compare said: $b"
    echo "$b"
}

setting() {
    sed -n "s/^$1 = //p" "$XDG_CONFIG_HOME/kolvane/settings.ini" 2>/dev/null
}

# Waits up to 3 s for settings.ini to say NAME = VALUE: the window may show its
# new size before the file is written.
expect_setting() {
    local i
    for ((i = 0; i < 60; i++)); do
        [[ $(setting "$1") == "$2" ]] && return 0
        sleep 0.05
    done
    fail "$1 is '$(setting "$1")' in settings.ini, expected '$2'"
}

# S, then P once the ship's shield is gone (100 frames), so nothing moves.
start_and_pause() {
    xdotool key --window "$WINDOW" s
    sleep 1.8
    xdotool key --window "$WINDOW" p
    sleep 0.2
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
    "$HELPER" "$WINDOW" || fail "could not send the close request"
    expect_exit_within 2 "the close request"
}

run_scaled() {
    local before after
    before=$(date +%s)
    start_game "$GAME"
    after=$(date +%s)
    expect_size 1480x1160 "the largest whole multiple that fits the screen"
    xdotool windowsize "$WINDOW" 1000 800
    expect_size 1000x800 "resized"
    xdotool windowsize "$WINDOW" 1480 1160
    expect_size 1480x1160 "resized back"
    sleep 0.3
    shot scaled
    "$CONVERT" "$WORK/scaled.png" PNG24:"$WORK/scaled-rgb.png"
    # The session's clock started at one of these seconds.
    "$HELPER" "$WORK/scaled-rgb.png" 2 $(seq "$before" "$after") >>"$WORK/game.log" 2>&1 ||
        fail "the window does not show the runner's frame at 2x"
    press_escape
    expect_exit_within 2 Escape
}

run_fullscreen() {
    evilwm >"$WORK/wm.log" 2>&1 &
    EXTRA_PIDS+=($!)
    sleep 0.5
    start_game "$GAME"
    start_and_pause
    xdotool key --window "$WINDOW" F11
    expect_size 1024x768 "after F11"
    expect_setting fullscreen true
    sleep 0.6
    shot full
    # Sharp mode: 980 x 768 in the middle, black columns either side.
    (($(white_pixels_in full 22x768+0+0) == 0)) || fail "no black border on the left"
    (($(white_pixels_in full 22x768+1002+0) == 0)) || fail "no black border on the right"
    (($(white_pixels_in full 600x30+22+0) > 20)) || fail "no HUD at the top of the scaled frame"
    sleep 0.5
    shot still
    # F11 never reached the game: it is still paused.
    (($("$COMPARE" -metric AE "$WORK/full.png" "$WORK/still.png" null: 2>&1) == 0)) ||
        fail "the game moved after F11"
    # (The Alt key itself reaches the game, as every key does, and ends the pause.)
    xdotool key --window "$WINDOW" alt+Return
    expect_size 740x580 "after Alt+Enter"
    expect_setting fullscreen false
    press_escape
    expect_exit_within 2 Escape
}

run_pause() {
    start_game "$GAME"
    start_and_pause
    shot paused1
    sleep 0.5
    shot paused2
    (($(field_change paused1 paused2) == 0)) || fail "the field moved during the pause"
    # The F13 key: X's usual keymap names it XF86Tools (keycode 191), SDL F13.
    xdotool key --window "$WINDOW" XF86Tools
    sleep 0.5
    shot resumed
    (($(field_change paused2 resumed) > 50)) || fail "F13 did not end the pause"
    press_escape
    expect_exit_within 2 Escape
}

run_focus() {
    start_game "$GAME"
    xmessage -name kolvane-other "another window" >/dev/null 2>&1 &
    EXTRA_PIDS+=($!)
    local other
    other=$(timeout 10 xdotool search --sync --name '^kolvane-other$' 2>/dev/null | head -n 1)
    [[ -n $other ]] || fail "the second window did not appear"
    timeout 5 xdotool windowfocus --sync "$WINDOW" || fail "could not focus the window"
    xdotool key --window "$WINDOW" s
    sleep 1.8  # the ship's shield gone
    xdotool keydown --window "$WINDOW" Left
    sleep 0.2
    shot turning1
    sleep 0.3
    shot turning2
    (($(ship_change turning1 turning2) > 10)) || fail "the ship does not turn with Left held"
    timeout 5 xdotool windowfocus --sync "$other" || fail "could not focus the other window"
    sleep 0.2
    shot released1
    sleep 0.5
    shot released2
    (($(ship_change released1 released2) == 0)) || fail "the ship still turns after the focus left"
    xdotool keyup --window "$WINDOW" Left
    press_escape
    expect_exit_within 2 Escape
}

# The scaled window needs a screen that holds it at 2x.
[[ $MODE == scaled ]] && SCREEN=1600x1300
run_mode

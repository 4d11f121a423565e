#!/usr/bin/env bash
# Runs the Windows kolvane.exe under Wine on a private virtual X server and
# drives it with synthetic input.
#
#   window_test.sh KOLVANE_EXE MODE WINE_PREFIX KOLVANE_SIM_EXE
#
#   title  a fixed-size window "Kolvane" showing the title screen: a black field
#          with grey asteroids, the "Game over" and help texts, and 0 lives in
#          the HUD drawn exactly as kolvane-sim.exe draws them; Escape exits 0
#   play   S starts a game: the HUD shows 3 lives, exactly as kolvane-sim.exe
#          draws them, and the ship is in the middle; Escape exits 0
#   close  closing the window (Alt+F4: WM_CLOSE, then WM_DESTROY) exits 0
#
# The Wine prefix is this test's own (the window tests run one at a time): its
# Wine server is stopped at the end, before the X server goes. Exits 77
# (skipped) when Wine, Xvfb, xdotool or ImageMagick is missing. Set
# KOLVANE_SHOT_DIR to keep the screenshots.
set -u

usage="usage: window_test.sh KOLVANE_EXE MODE WINE_PREFIX KOLVANE_SIM_EXE"
readonly GAME=${1:?$usage} MODE=${2:?$usage} PREFIX=${3:?$usage} SIM=${4:?$usage}
readonly HERE=$(cd "$(dirname "$0")" && pwd)
# The HUD's lives counter in client pixels (its box is x 143..170, y 1..20).
readonly LIVES_BOX=27x19+143+1
# Wine takes a while to make its prefix and show the first window.
WINDOW_WAIT=60
# shellcheck source=tests/support/xvfb_session.sh
source "$HERE/../../support/xvfb_session.sh"

require_tools wine wineserver Xvfb xdotool xwininfo xprop "$CONVERT" "$IMPORT" "$COMPARE"

CLIENT=  # the client area in the window's X picture, as WxH+X+Y

# The Wine server goes before the X server it draws on.
stop_helpers() {
    WINEPREFIX=$PREFIX wineserver -k 2>/dev/null
    WINEPREFIX=$PREFIX wineserver -w 2>/dev/null
}

# Starts the game and waits for its window.
# With no window manager Wine leaves the caption out of the X window, which
# holds the client area inside the two-pixel sunken edge.
start_wine_game() {
    start_game "$HERE/wine-run.sh" "$PREFIX" "$GAME"
    local w h
    read -r w h < <(xwininfo -id "$WINDOW" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w, h }')
    CLIENT="$((w - 4))x$((h - 4))+2+2"
    # The first paints.
    sleep 1
}

# The client area of the window as it is now.
client_shot() {
    shot "$1.full"
    "$CONVERT" "$WORK/$1.full.png" -crop "$CLIENT" +repage "$WORK/$1.png"
}

# How many pixels of an area (WxH+X+Y) of a picture have exactly this colour.
pixels_of() {
    "$CONVERT" "$WORK/$1.png" -crop "$2" +repage -fill black +opaque "$3" -fill white -opaque "$3" \
        -colorspace Gray -format '%[fx:round(mean*w*h)]' info:
}

below() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a < b) }'; }

# The share (0..1) of a picture that is not black.
lit_share_of() {
    "$CONVERT" "$WORK/$1.png" -colorspace Gray -threshold 0 -format '%[fx:mean]' info:
}

# kolvane-sim.exe's frames at the same client size: the title screen and a
# game two ticks after S.
reference_frames() {
    local size=${CLIENT%%+*}
    printf 'shot ref-title.png\npress S\ntick 2\nshot ref-game.png\n' >"$WORK/ref.script"
    (cd "$WORK" && "$HERE/wine-run.sh" "$PREFIX" "$SIM" --size "$size" ref.script) \
        >>"$WORK/game.log" 2>&1 || fail "kolvane-sim.exe could not draw the reference frames"
}

# The lives counter of picture $1 equals that of reference $2, pixel for pixel.
expect_lives_like() {
    local differing
    # The white text alone: an asteroid may drift behind the HUD.
    "$CONVERT" "$WORK/$1.png" -crop "$LIVES_BOX" +repage -fill black +opaque white "$WORK/$1.lives.png"
    "$CONVERT" "$WORK/$2.png" -crop "$LIVES_BOX" +repage -fill black +opaque white "$WORK/$2.lives.png"
    differing=$("$COMPARE" -metric AE "$WORK/$1.lives.png" "$WORK/$2.lives.png" null: 2>&1)
    [[ $differing == 0 ]] || fail "the HUD's lives in $1 differ from $2 ($differing pixels)"
}

check_window() {
    local name hints
    name=$(xdotool getwindowname "$WINDOW")
    [[ $name == Kolvane ]] || fail "window name is '$name'"
    # Never resized: the size hints pin the minimum to the maximum.
    hints=$(xprop -id "$WINDOW" WM_NORMAL_HINTS)
    local min max
    min=$(sed -n 's/.*minimum size: \([0-9]* by [0-9]*\).*/\1/p' <<<"$hints")
    max=$(sed -n 's/.*maximum size: \([0-9]* by [0-9]*\).*/\1/p' <<<"$hints")
    [[ -n $min && $min == "$max" ]] || fail "the window is resizable: $hints"
    echo "client area ${CLIENT%%+*}"
}

check_title_frame() {
    local lit grey w h
    lit=$(lit_share_of title)
    below "$lit" 0.5 || fail "title frame is not mostly black ($lit of it lit)"
    below 0.001 "$lit" || fail "title frame is all black"
    grey=$(pixels_of title "${CLIENT%%+*}+0+0" '#C0C0C0')
    ((grey > 500)) || fail "no grey asteroids ($grey grey pixels)"
    w=${CLIENT%%x*}
    h=${CLIENT#*x}
    h=${h%%+*}
    # "Game over" and the two lines under it, centred; the help lines at the bottom left.
    (($(pixels_of title "160x60+$((w / 2 - 80))+$((h / 2 - 50))" white) > 40)) ||
        fail "no \"Game over\" text in the middle"
    (($(pixels_of title 260x40+10+510 white) > 40)) || fail "no help texts at the bottom"
    expect_lives_like title ref-title
}

run_title() {
    start_wine_game
    check_window
    reference_frames
    client_shot title
    check_title_frame
    xdotool key Escape
    expect_exit_within 3 Escape
}

run_play() {
    start_wine_game
    reference_frames
    client_shot before
    xdotool key s
    sleep 0.5
    client_shot game
    expect_lives_like game ref-game
    expect_lives_like before ref-title
    local w h
    w=${CLIENT%%x*}
    h=${CLIENT#*x}
    h=${h%%+*}
    # The ship's white hull in the middle of the field.
    (($(pixels_of game "60x60+$((w / 2 - 30))+$((h / 2 - 30))" white) > 10)) ||
        fail "no ship in the middle after S"
    xdotool key Escape
    expect_exit_within 3 Escape
}

run_close() {
    start_wine_game
    xdotool key alt+F4
    expect_exit_within 3 "closing the window"
}

run_mode

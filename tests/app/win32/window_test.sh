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
readonly SKIP=77
# ImageMagick by full path: another `convert` may come first on PATH.
readonly CONVERT=/usr/bin/convert IMPORT=/usr/bin/import COMPARE=/usr/bin/compare
# The HUD's lives counter in client pixels (its box is x 143..170, y 1..20).
readonly LIVES_BOX=27x19+143+1

for tool in wine wineserver Xvfb xdotool xwininfo xprop "$CONVERT" "$IMPORT" "$COMPARE"; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIP: $tool is not installed"
        exit "$SKIP"
    fi
done

WORK=$(mktemp -d "${TMPDIR:-/tmp}/kolvane-wine-window.XXXXXX")
XVFB_PID=
GAME_PID=
WID=
CLIENT=  # the client area in the window's X picture, as WxH+X+Y

cleanup() {
    if [[ -n $GAME_PID ]] && kill -0 "$GAME_PID" 2>/dev/null; then
        kill "$GAME_PID" 2>/dev/null
    fi
    WINEPREFIX=$PREFIX wineserver -k 2>/dev/null
    WINEPREFIX=$PREFIX wineserver -w 2>/dev/null
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

# Starts the game (a stray argument must be ignored) and waits for its window.
# With no window manager Wine leaves the caption out of the X window, which
# holds the client area inside the two-pixel sunken edge.
start_game() {
    "$HERE/wine-run.sh" "$PREFIX" "$GAME" --ignored-argument >"$WORK/game.log" 2>&1 &
    GAME_PID=$!
    WID=$(timeout 60 xdotool search --sync --onlyvisible --name '^Kolvane$' 2>/dev/null | head -n 1)
    [[ -n $WID ]] || fail "no window named Kolvane within 60 s"
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game exited at start-up"
    local w h
    read -r w h < <(xwininfo -id "$WID" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w, h }')
    CLIENT="$((w - 4))x$((h - 4))+2+2"
    timeout 5 xdotool windowfocus --sync "$WID" || fail "could not focus the window"
    # The first paints.
    sleep 1
}

# The client area of the window as it is now.
shot() {
    "$IMPORT" -window "$WID" "$WORK/$1.full.png" || fail "screenshot $1 failed"
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
    local name hints
    name=$(xdotool getwindowname "$WID")
    [[ $name == Kolvane ]] || fail "window name is '$name'"
    # Never resized: the size hints pin the minimum to the maximum.
    hints=$(xprop -id "$WID" WM_NORMAL_HINTS)
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
    start_game
    check_window
    reference_frames
    shot title
    check_title_frame
    xdotool key Escape
    expect_exit_within 3 Escape
}

run_play() {
    start_game
    reference_frames
    shot before
    xdotool key s
    sleep 0.5
    shot game
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
    start_game
    xdotool key alt+F4
    expect_exit_within 3 "closing the window"
}

start_server
case $MODE in
    title) run_title ;;
    play) run_play ;;
    close) run_close ;;
    *) fail "unknown mode $MODE" ;;
esac
echo "PASS ($MODE)"

#!/usr/bin/env bash
# Runs the Windows kolvane.exe under Wine on a private virtual X server and
# drives it with synthetic input.
#
#   window_test.sh KOLVANE_EXE MODE WINE_PREFIX KOLVANE_SIM_EXE [LINUX_KOLVANE_SIM [LINUX_KOLVANE_SERVER]]
#
#   title  a resizable window "Kolvane" showing the title screen: a black field
#          with grey asteroids, the "Game over" and help texts, and 0 lives in
#          the HUD drawn exactly as kolvane-sim.exe draws them; Escape exits 0
#   play   S starts a game: the HUD shows 3 lives, exactly as kolvane-sim.exe
#          draws them, and the ship is in the middle; M mutes, kept in
#          settings.ini; Escape exits 0
#   close  closing the window (Alt+F4: WM_CLOSE, then WM_DESTROY) exits 0
#   games  a game played until it is lost leaves a recording under %APPDATA%
#          that the Linux kolvane-sim --verify accepts, a high-score table that
#          kolvane.exe --scores prints, and the table over the title screen
#   fullscreen  F11 fills the screen and is kept in settings.ini; Alt+Enter
#          brings the window back
#   focus  an arrow held while the focus goes to another window is let go: the
#          recording has its key-up although the key was never released
#   sound  with ALSA's default device a file, the window's waveOut output
#          under Wine: three shots are heard; with --mute the file is silent
#   world  with a Linux kolvane-server on loopback and submit = true in
#          settings.ini, a game played until it is lost is sent by itself
#          through WinHTTP from the server's ticket, verified and marked
#          (world-verified.txt); kolvane.exe --submit of the whole session
#          exits 0, rank 1, and kolvane.exe --world lists the game
#   dpi    with the prefix at 192 dpi the DPI-aware window opens at 2x on a
#          screen where that fits: every 2 x 2 block one colour, the HUD the
#          reference's doubled (a prefix of its own, WINE_PREFIX-dpi)
#
# The Wine prefix is this test's own (the window tests run one at a time): its
# Wine server is stopped at the end, before the X server goes. Exits 77
# (skipped) when Wine, Xvfb, xdotool or ImageMagick is missing, for games
# without the Linux kolvane-sim and for world without the Linux
# kolvane-server. Set KOLVANE_SHOT_DIR to keep the screenshots.
set -u

usage="usage: window_test.sh KOLVANE_EXE MODE WINE_PREFIX KOLVANE_SIM_EXE"
readonly GAME=${1:?$usage} MODE=${2:?$usage} SIM=${4:?$usage} LINUX_SIM=${5:-} LINUX_SERVER=${6:-}
# The 192 dpi prefix is kept apart, so the other modes stay at 96 dpi.
if [[ $2 == dpi ]]; then PREFIX=${3:?$usage}-dpi; else PREFIX=${3:?$usage}; fi
readonly PREFIX
readonly HERE=$(cd "$(dirname "$0")" && pwd)
# The HUD's lives counter in client pixels (its box is x 143..170, y 1..20).
readonly LIVES_BOX=27x19+143+1
# Wine takes a while to make its prefix and show the first window, and on a
# busy machine a few seconds to end a process (the last write of the
# recording, the sound thread, the Wine server's bookkeeping).
WINDOW_WAIT=60
readonly EXIT_SECONDS=10
# shellcheck source=tests/support/xvfb_session.sh
source "$HERE/../../support/xvfb_session.sh"
# shellcheck source=tests/support/leaderboard_server.sh
source "$HERE/../../support/leaderboard_server.sh"

require_tools wine wineserver Xvfb xdotool xwininfo xprop "$CONVERT" "$IMPORT" "$COMPARE"
[[ $MODE == focus ]] && require_tools xmessage

CLIENT=  # the client area in the window's X picture, as WxH+X+Y
# What the game keeps in the prefix: %APPDATA%\Kolvane.
kept_folder() {
    local users=("$PREFIX"/drive_c/users/*/AppData/Roaming)
    local user
    for user in "${users[@]}"; do
        [[ -L $user/.. || $user == */Public/* ]] && continue
        echo "$user/Kolvane"
        return
    done
}

# What a mode puts in the kept folder before the game starts.
prepare_kept() { :; }

# The Wine server goes before the X server it draws on.
stop_helpers() {
    WINEPREFIX=$PREFIX wineserver -k 2>/dev/null
    WINEPREFIX=$PREFIX wineserver -w 2>/dev/null
}

# Starts the game and waits for its window.
# With no window manager Wine leaves the caption out of the X window, which
# holds the client area inside the two-pixel sunken edge.
start_wine_game() {
    "$HERE/wine-run.sh" "$PREFIX"
    # Every mode starts with no scores, recordings or settings.
    KEPT=$(kept_folder)
    [[ -n $KEPT ]] || fail "no AppData folder in the Wine prefix"
    rm -rf "$KEPT"
    prepare_kept
    start_game "$HERE/wine-run.sh" "$PREFIX" "$GAME" "$@"
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
    # Resizable: the size hints don't pin the minimum to the maximum.
    hints=$(xprop -id "$WINDOW" WM_NORMAL_HINTS)
    local min max
    min=$(sed -n 's/.*minimum size: \([0-9]* by [0-9]*\).*/\1/p' <<<"$hints")
    max=$(sed -n 's/.*maximum size: \([0-9]* by [0-9]*\).*/\1/p' <<<"$hints")
    [[ -z $max || $min != "$max" ]] || fail "the window can't be resized: $hints"
    # The frame at 1x on a 1024 x 768 screen.
    [[ ${CLIENT%%+*} == 740x580 ]] || fail "client area ${CLIENT%%+*}, expected 740x580"
}

setting() {
    sed -n "s/^$1 = //p" "$KEPT/settings.ini" 2>/dev/null | tr -d '\r'
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
    expect_exit_within "$EXIT_SECONDS" Escape
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
    xdotool key m
    sleep 0.3
    [[ $(setting muted) == true ]] || fail "M was not kept: muted = '$(setting muted)'"
    xdotool key Escape
    expect_exit_within "$EXIT_SECONDS" Escape
    # One line at most about the sound (Wine may have no device), nothing else.
    (($(grep -Ev '^(kolvane: no sound \(.*\); playing silently|ALSA lib )' "$WORK/game.log" | grep -c .) == 0)) ||
        fail "unexpected output"
}

run_close() {
    start_wine_game
    xdotool key alt+F4
    expect_exit_within "$EXIT_SECONDS" "closing the window"
}

# S, then a game played until it is lost: thrust while turning meets a rock soon.
play_until_lost() {
    xdotool key s
    sleep 0.3
    xdotool keydown Up Left
    wait_for_file 120 "$KEPT/scores.txt" || fail "no high-score table 120 s into the game"
    xdotool keyup Up Left
}

run_games() {
    [[ -x $LINUX_SIM ]] || { echo "SKIP: no Linux kolvane-sim"; exit "$SKIP"; }
    start_wine_game
    play_until_lost
    sleep 0.5
    client_shot title-with-scores
    # The table in the bottom-right corner of the title screen: light text on black.
    local lit
    lit=$("$CONVERT" "$WORK/title-with-scores.png" -crop 198x24+534+548 +repage -colorspace Gray \
        -threshold 50% -format '%[fx:mean]' info:)
    awk -v s="$lit" 'BEGIN { exit !(s > 0.05 && s < 0.5) }' ||
        fail "no high-score table in the bottom-right corner ($lit of it lit)"
    xdotool key Escape
    expect_exit_within "$EXIT_SECONDS" Escape

    local recordings=("$KEPT"/recordings/*.kolvane)
    if ((${#recordings[@]} != 1)) || [[ ! -f ${recordings[0]} ]]; then
        fail "expected one recording, found: ${recordings[*]}"
    fi
    local recording=${recordings[0]} score level name tick
    grep -q "^# recorded .* in the Win32 window on Windows" "$recording" ||
        fail "the recording does not name its front end: $(head -5 "$recording")"
    read -r score level _ _ name tick < <(grep -v '^#' "$KEPT/scores.txt" | tr -d '\r')
    [[ $name == "$(basename "$recording")" ]] || fail "the table names '$name', not the recording"
    # Recorded on Windows, verified on Linux.
    "$LINUX_SIM" --verify "$recording" >"$WORK/verify.txt" 2>&1 ||
        fail "the recording does not verify: $(cat "$WORK/verify.txt")"
    grep -qx "game 1: score $score, level $level, ended at tick $tick (agrees)" "$WORK/verify.txt" ||
        fail "verification does not match the table ($score $level $tick): $(cat "$WORK/verify.txt")"
    "$HERE/wine-run.sh" "$PREFIX" "$GAME" --scores >"$WORK/scores.txt" 2>&1
    tr -d '\r' <"$WORK/scores.txt" | grep -Eq "^ 1 +$score +$level " ||
        fail "--scores does not list the game: $(cat "$WORK/scores.txt")"

    # Refused before any window: a missing file (1), a script that is no recording (2).
    local bad code
    printf 'tick 5\n' >"$WORK/plain.script"
    for bad in "$WORK/missing.kolvane:1" "$WORK/plain.script:2"; do
        "$HERE/wine-run.sh" "$PREFIX" "$GAME" --replay "${bad%:*}" >"$WORK/refused.txt" 2>&1
        code=$?
        ((code == ${bad##*:})) || fail "--replay ${bad%:*}: exit code $code, expected ${bad##*:}"
        grep -v '^ALSA lib' "$WORK/refused.txt" | grep -q '^kolvane: recording refused: ' ||
            fail "--replay ${bad%:*} said: $(cat "$WORK/refused.txt")"
    done

    # Watched at four times the speed, the recording ends on the Linux runner's last frame.
    # (Its lines without the header, which would make a shot a mistake.)
    grep -vx 'press ESCAPE' "$recording" | tr -d '\r' | grep -v '^#' >"$WORK/to-the-end.script"
    echo "shot runner-end.png" >>"$WORK/to-the-end.script"
    "$LINUX_SIM" --out "$WORK" "$WORK/to-the-end.script" || fail "the replay runner failed on the recording"
    start_game "$HERE/wine-run.sh" "$PREFIX" "$GAME" --replay "$(winepath_of "$recording")"
    sleep 1
    xdotool keydown Right
    local ticks
    ticks=$(awk '$1 == "tick" { n += $2 } END { print n }' "$recording")
    wait_for_still_frame $((ticks * 15 / 4000 + 30)) client_shot || fail "the replay did not come to a still frame"
    xdotool keyup Right
    local differ
    differ=$("$COMPARE" -metric AE "$WORK/replay-end.png" "$WORK/runner-end.png" null: 2>&1)
    [[ $differ == 0 ]] || fail "the replay's last frame differs from the runner's in $differ pixels"
    xdotool key Escape
    expect_exit_within "$EXIT_SECONDS" Escape
    [[ $(ls "$KEPT/recordings") == "$(basename "$recording")" ]] || fail "watching made a recording"
    echo "score $score, level $level, $ticks ticks"
}

run_world() {
    [[ -x $LINUX_SERVER ]] || { echo "SKIP: no Linux kolvane-server"; exit "$SKIP"; }
    start_leaderboard "$LINUX_SERVER" "$WORK/leaderboard.sqlite"
    prepare_kept() { write_world_settings "$KEPT/settings.ini" "submit = true"; }
    start_wine_game
    play_until_lost
    local recording name i
    recording=$(ls "$KEPT"/recordings/*.kolvane)
    name=$(basename "$recording")
    for ((i = 0; i < 600; i++)); do
        grep -qF "$name " "$KEPT/world-verified.txt" 2>/dev/null && break
        sleep 0.1
    done
    ((i < 600)) || fail "the game was not sent and verified within 60 s: $(cat "$WORK/leaderboard.log")"
    xdotool key Escape
    expect_exit_within "$EXIT_SECONDS" Escape
    tr -d '\r' <"$recording" | grep -q '^ticket [A-Za-z0-9._-]*$' || fail "the recording has no ticket"

    local score
    read -r score _ < <(grep -v '^#' "$KEPT/scores.txt" | tr -d '\r')
    "$HERE/wine-run.sh" "$PREFIX" "$GAME" --submit "$(winepath_of "$recording")" >"$WORK/submit.txt" 2>&1 ||
        fail "--submit failed: $(cat "$WORK/submit.txt")"
    tr -d '\r' <"$WORK/submit.txt" | grep -qx "verified: score $score, rank 1" ||
        fail "--submit said: $(cat "$WORK/submit.txt")"
    "$HERE/wine-run.sh" "$PREFIX" "$GAME" --world >"$WORK/world.txt" 2>&1 || fail "--world failed: $(cat "$WORK/world.txt")"
    tr -d '\r' <"$WORK/world.txt" | grep -Eq "^ +1 +$score .* Tester " || fail "--world does not list the game: $(cat "$WORK/world.txt")"
    stop_leaderboard
    echo "score $score, sent, verified and ranked"
}

# A Unix path as the Windows program sees it (Wine's Z: drive).
winepath_of() {
    echo "Z:${1//\//\\}"
}

# The X window's size, as WxH.
window_size() {
    xwininfo -id "$WINDOW" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }'
}

run_fullscreen() {
    start_wine_game
    local windowed
    windowed=$(window_size)
    xdotool key F11
    sleep 0.5
    [[ $(window_size) == 1024x768 ]] || fail "after F11 the window is $(window_size), not the screen"
    [[ $(setting fullscreen) == true ]] || fail "fullscreen not kept: '$(setting fullscreen)'"
    xdotool key alt+Return
    sleep 0.5
    [[ $(window_size) == "$windowed" ]] || fail "after Alt+Enter the window is $(window_size), not $windowed"
    [[ $(setting fullscreen) == false ]] || fail "windowed not kept: '$(setting fullscreen)'"
    xdotool key Escape
    expect_exit_within "$EXIT_SECONDS" Escape
}

run_dpi() {
    "$HERE/wine-run.sh" "$PREFIX"
    WINEPREFIX=$PREFIX wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 192 /f \
        >>"$WORK/game.log" 2>&1 || fail "could not set 192 dpi"
    start_wine_game
    [[ ${CLIENT%%+*} == 1480x1160 ]] || fail "client area ${CLIENT%%+*}, expected 1480x1160"
    CLIENT=${CLIENT%%+*}
    CLIENT="1480x1160+${CLIENT_OFFSET:-2+2}"
    reference_frames
    client_shot dpi
    # Every 2 x 2 block one colour: halved and doubled again, nothing changes.
    "$CONVERT" "$WORK/dpi.png" -sample 50% -sample 200% "$WORK/dpi-blocks.png"
    local differing
    differing=$("$COMPARE" -metric AE "$WORK/dpi.png" "$WORK/dpi-blocks.png" null: 2>&1)
    [[ $differing == 0 ]] || fail "the frame is not shown at 2x ($differing pixels differ)"
    # Halved, the HUD's lives are the reference's.
    "$CONVERT" "$WORK/dpi.png" -sample 50% "$WORK/dpi-1x.png"
    expect_lives_like dpi-1x ref-title
    xdotool key Escape
    expect_exit_within "$EXIT_SECONDS" Escape
    # Asked for 1x, the window is 740 x 580 of the monitor's own pixels.
    start_wine_game --scale 1
    [[ ${CLIENT%%+*} == 740x580 ]] || fail "--scale 1 at 192 dpi: client area ${CLIENT%%+*}"
    xdotool key Escape
    expect_exit_within "$EXIT_SECONDS" Escape
}

run_focus() {
    start_wine_game
    xmessage -name kolvane-other "another window" >/dev/null 2>&1 &
    EXTRA_PIDS+=($!)
    local other
    other=$(timeout 10 xdotool search --sync --name '^kolvane-other$' 2>/dev/null | head -n 1)
    [[ -n $other ]] || fail "the second window did not appear"
    timeout 5 xdotool windowfocus --sync "$WINDOW" || fail "could not focus the window"
    xdotool key s
    sleep 0.3
    xdotool keydown Left
    sleep 0.3
    timeout 5 xdotool windowfocus --sync "$other" || fail "could not focus the other window"
    # The recording is written 10 s into the session, with what happened so far.
    local i recording
    for ((i = 0; i < 300; i++)); do
        recording=("$KEPT"/recordings/*.kolvane)
        [[ -f ${recording[0]} ]] && break
        sleep 0.1
    done
    xdotool keyup Left
    [[ -f ${recording[0]} ]] || fail "no recording 30 s into the session"
    tr -d '\r' <"${recording[0]}" | grep -qx 'up LEFT' ||
        fail "Left was not let go when the focus left: $(grep -v '^tick' "${recording[0]}")"
}

# The loudest 16-bit sample of a raw file, as a number from 0 to 32768.
loudest_sample() {
    od -An -v -td2 -w2 "$1" | awk '{ v = $1 < 0 ? -$1 : $1; if (v > m) m = v } END { print m + 0 }'
}

# Plays S and three shots with ALSA's default device a raw file ($1), then
# Escape; any further arguments go to the game.
play_into_file() {
    local raw=$1
    shift
    printf '</usr/share/alsa/alsa.conf>\npcm.!default { type file; slave.pcm "null"; file "%s"; format "raw" }\n' \
        "$raw" >"$WORK/alsa.conf"
    ALSA_CONFIG_PATH=$WORK/alsa.conf start_wine_game "$@"
    xdotool key s
    sleep 0.5
    local i
    for i in 1 2 3; do
        xdotool key space
        sleep 0.3
    done
    sleep 0.5
    xdotool key Escape
    expect_exit_within "$EXIT_SECONDS" Escape
    [[ -s $raw ]] || fail "no sound reached the device (nothing in $raw): $(cat "$WORK/game.log")"
}

run_sound() {
    play_into_file "$WORK/heard.raw"
    local heard muted
    heard=$(loudest_sample "$WORK/heard.raw")
    ((heard > 1000)) || fail "the shots were not heard (loudest sample $heard)"
    play_into_file "$WORK/muted.raw" --mute
    muted=$(loudest_sample "$WORK/muted.raw")
    ((muted == 0)) || fail "--mute is not silent (loudest sample $muted)"
    echo "loudest sample $heard, muted $muted"
}

[[ $MODE == dpi ]] && SCREEN=1600x1300
run_mode

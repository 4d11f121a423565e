#!/usr/bin/env bash
# The game's sound in the real window under a private virtual X server, with
# SDL's disk audio driver writing what the device would play to a file.
#
#   window_sound_test.sh KOLVANE MODE
#
#   sound     firing makes sound; M then keeps "muted = true" in settings.ini
#   mute      --mute, and then muted = true in settings.ini: firing is silent
#   nodevice  no audio driver, then an ALSA device that does not exist: the
#             game plays, with one line on standard error
#
# Exits 77 (skipped) when the X tools are missing.
set -u

readonly GAME=${1:?usage: window_sound_test.sh KOLVANE MODE}
readonly MODE=${2:?usage: window_sound_test.sh KOLVANE MODE}
# shellcheck source=tests/support/xvfb_session.sh
source "$(dirname "$0")/../../support/xvfb_session.sh"

require_tools Xvfb xdotool od awk "$IMPORT"

readonly AUDIO=$WORK/audio.raw
export XDG_CONFIG_HOME=$WORK/config

# Starts the game with the disk driver (or the given one) and plays: S, three shots.
play() {
    local driver=$1
    shift
    rm -f "$AUDIO"
    start_game env SDL_AUDIODRIVER="$driver" SDL_DISKAUDIOFILE="$AUDIO" "$GAME" "$@"
    sleep 0.5
    xdotool key --window "$WINDOW" s
    sleep 0.3
    local i
    for i in 1 2 3; do
        xdotool key --window "$WINDOW" space
        sleep 0.2
    done
}

# Escape's 2 s are window.title's to check; here, a sanitizer build on a busy
# machine may take longer to end.
quit() {
    press_escape
    expect_exit_within 5 Escape
}

# "SAMPLES LOUD NONZERO" of the device's 32-bit float mono samples.
levels() {
    od -A n -t f4 -v -w4 "$AUDIO" | awk '
        { n++; a = $1 < 0 ? -$1 : $1; if (a > 0.01) loud++; if (a > 0) nonzero++ }
        END { print n + 0, loud + 0, nonzero + 0 }'
}

run_sound() {
    play disk
    xdotool key --window "$WINDOW" m
    sleep 0.3
    quit
    local n loud nonzero
    read -r n loud nonzero < <(levels)
    ((n > 24000)) || fail "only $n samples reached the device"
    # Each shot sounds for 5280 samples.
    ((loud > 5000)) || fail "only $loud of $n samples are audible after three shots"
    grep -qx 'muted = true' "$XDG_CONFIG_HOME/kolvane/settings.ini" 2>/dev/null ||
        fail "M did not keep muted = true in settings.ini"
}

expect_silence() {
    local n loud nonzero
    read -r n loud nonzero < <(levels)
    ((n > 24000)) || fail "only $n samples reached the device ($1)"
    ((nonzero == 0)) || fail "$nonzero of $n samples are not silent ($1)"
}

run_mute() {
    play disk --mute
    quit
    expect_silence --mute
    mkdir -p "$XDG_CONFIG_HOME/kolvane"
    printf 'muted = true\n' >"$XDG_CONFIG_HOME/kolvane/settings.ini"
    play disk
    quit
    expect_silence "muted = true in settings.ini"
}

run_nodevice() {
    local lines
    # alsa-lib writes its own complaints; the game keeps them off standard error.
    for driver in kolvane-no-such-driver alsa; do
        AUDIODEV=kolvane-no-such-device play "$driver"
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended without a device ($driver)"
        quit
        lines=$(wc -l <"$WORK/game.log")
        ((lines == 1)) || fail "$lines lines on standard error with $driver, expected one"
        grep -q 'no sound' "$WORK/game.log" || fail "no word of the missing sound ($driver)"
    done
}

start_server
case $MODE in
    sound) run_sound ;;
    mute) run_mute ;;
    nodevice) run_nodevice ;;
    *) fail "unknown mode $MODE" ;;
esac
echo "PASS ($MODE)"

#!/usr/bin/env bash
# The real game window under stress: keys hammered at random for a while, the
# window minimised and restored, focus taken away and given back. The game must
# keep ticking, never crash, and still end with exit code 0 on Escape.
#
#   window_stress.sh KOLVANE [SECONDS]
#
# Exits 77 (skipped) when the X tools are missing.
set -u

readonly GAME=${1:?usage: window_stress.sh KOLVANE [SECONDS]}
readonly SECONDS_OF_KEYS=${2:-30}
MODE=stress
# shellcheck source=tests/support/xvfb_session.sh
source "$(dirname "$0")/../../support/xvfb_session.sh"

require_tools Xvfb xdotool xprop twm xmessage "$IMPORT" "$COMPARE"

# Every key the game knows and a few it doesn't; never Escape.
readonly KEYS=(Left Right Up Down space x p s a q z 1 5 Return Tab F1 F5 Shift_L Control_L)

alive() { kill -0 "$GAME_PID" 2>/dev/null || fail "the game is gone: $(wait "$GAME_PID"; echo "exit $?")"; }

window_state() { xprop -id "$WINDOW" WM_STATE 2>/dev/null | sed -n 's/.*window state: //p'; }

# A window manager, so that minimising means something.
start_server
printf 'RandomPlacement\nUsePPosition "on"\nNoGrabServer\n' >"$WORK/twmrc"
twm -f "$WORK/twmrc" >"$WORK/twm.log" 2>&1 &
EXTRA_PIDS+=($!)
sleep 0.5
start_game "$GAME"
xmessage -name kolvane-other "another window" >/dev/null 2>&1 &
EXTRA_PIDS+=($!)
OTHER=$(timeout 10 xdotool search --sync --name '^kolvane-other$' 2>/dev/null | head -n 1)
[[ -n $OTHER ]] || fail "the second window did not appear"

end=$((SECONDS + SECONDS_OF_KEYS))
round=0
while ((SECONDS < end)); do
    round=$((round + 1))
    for _ in 1 2 3 4 5 6 7 8; do
        key=${KEYS[RANDOM % ${#KEYS[@]}]}
        case $((RANDOM % 3)) in
            0) xdotool key --window "$WINDOW" "$key" 2>/dev/null ;;
            1) xdotool keydown --window "$WINDOW" "$key" 2>/dev/null ;;
            2) xdotool keyup --window "$WINDOW" "$key" 2>/dev/null ;;
        esac
    done
    if ((round % 25 == 0)); then
        xdotool windowminimize "$WINDOW" 2>/dev/null
        sleep 0.3
        [[ $(window_state) == Iconic ]] || fail "the window was not minimised"
        alive
        xdotool windowmap "$WINDOW" 2>/dev/null
        sleep 0.3
        [[ $(window_state) == Normal ]] || fail "the window was not restored"
    elif ((round % 10 == 0)); then
        xdotool windowfocus "$OTHER" 2>/dev/null
        sleep 0.2
        alive
        xdotool windowfocus "$WINDOW" 2>/dev/null
    fi
    alive
done

# Release whatever is held, end any pause with a key the game ignores, and
# check the field still moves.
for key in "${KEYS[@]}"; do xdotool keyup --window "$WINDOW" "$key" 2>/dev/null; done
xdotool key --window "$WINDOW" q 2>/dev/null
sleep 0.3
shot before
sleep 0.5
shot after
changed=$("$COMPARE" -metric AE "$WORK/before.png" "$WORK/after.png" null: 2>&1 >/dev/null)
[[ ${changed%% *} =~ ^[0-9]+$ && ${changed%% *} -gt 0 ]] ||
    fail "the frame did not change after the stress (ticking stopped?): $changed"
alive
press_escape
expect_exit_within 2 Escape
echo "PASS ($MODE): $round rounds of keys over $SECONDS_OF_KEYS s"

#!/usr/bin/env bash
# A real game in the window, kept and checked: the window under a private
# virtual X server plays a game until the last life is lost, then quits; its
# recording and the high-score table appear in the data folder, the replay
# runner verifies the recording against the table, `kolvane --scores` prints
# the game, and `kolvane --replay` plays the recording to the very frame the
# replay runner paints at its end.
#
#   games_test.sh KOLVANE KOLVANE_SIM
#
# Exits 77 (skipped) when the X tools are missing. Set KOLVANE_SHOT_DIR to keep
# the screenshots.
set -u

readonly GAME=${1:?usage: games_test.sh KOLVANE KOLVANE_SIM}
readonly SIM=${2:?usage: games_test.sh KOLVANE KOLVANE_SIM}
readonly MODE=games
# shellcheck source=tests/support/xvfb_session.sh
source "$(dirname "$0")/../../support/xvfb_session.sh"

require_tools Xvfb xdotool "$CONVERT" "$IMPORT" "$COMPARE"
readonly KEPT=$XDG_DATA_HOME/kolvane

# --- Refused before any window: a missing file (1), a script that is no
# recording (2), a recording that would write a file (2).
printf 'tick 5\n' >"$WORK/plain.script"
printf 'clock 1\nseed 1\nsize 740x580\ntick\nshot x.png\n' >"$WORK/shot.kolvane"
for bad in "$WORK/missing.kolvane:1" "$WORK/plain.script:2" "$WORK/shot.kolvane:2"; do
    "$GAME" --replay "${bad%:*}" >"$WORK/refused.txt" 2>&1
    code=$?
    ((code == ${bad##*:})) || fail "--replay ${bad%:*}: exit code $code, expected ${bad##*:}"
    [[ $(wc -l <"$WORK/refused.txt") == 1 ]] && grep -q '^kolvane: recording refused: ' "$WORK/refused.txt" ||
        fail "--replay ${bad%:*} said: $(cat "$WORK/refused.txt")"
done

start_server

# --- A game played until it is lost: thrust while turning meets a rock soon.
start_game "$GAME"
sleep 0.3
xdotool key --window "$WINDOW" s
sleep 0.3
xdotool keydown --window "$WINDOW" Up Left
wait_for_file 90 "$KEPT/scores.txt" || fail "no high-score table 90 s into the game"
xdotool keyup --window "$WINDOW" Up Left
sleep 0.5
shot title-with-scores
# The table over the title screen, in the bottom-right corner: light text on
# black (a rock there would light most of it).
lit=$("$CONVERT" "$WORK/title-with-scores.png" -crop 198x24+534+548 +repage -colorspace Gray \
    -threshold 50% -format '%[fx:mean]' info:)
awk -v s="$lit" 'BEGIN { exit !(s > 0.05 && s < 0.5) }' ||
    fail "no high-score table in the bottom-right corner ($lit of it lit)"
press_escape
expect_exit_within 2 Escape
[[ ! -s $WORK/game.log ]] || fail "the game wrote to standard error: $(cat "$WORK/game.log")"

# --- What was kept: one recording, named in the table, that verifies.
recordings=("$KEPT"/recordings/*.kolvane)
((${#recordings[@]} == 1)) && [[ -f ${recordings[0]} ]] ||
    fail "expected one recording, found: ${recordings[*]}"
recording=${recordings[0]}
read -r score level _ _ name tick < <(grep -v '^#' "$KEPT/scores.txt")
[[ $name == "$(basename "$recording")" ]] || fail "the table names '$name', not the recording"
"$SIM" --verify "$recording" >"$WORK/verify.txt" 2>&1 || fail "the recording does not verify: $(cat "$WORK/verify.txt")"
grep -qx "game 1: score $score, level $level, ended at tick $tick (agrees)" "$WORK/verify.txt" ||
    fail "verification does not match the table ($score $level $tick): $(cat "$WORK/verify.txt")"
"$GAME" --scores | grep -Eq "^ 1 +$score +$level " || fail "--scores does not list the game"

# --- Watched at four times the speed, the recording ends on the runner's last frame.
# (A script of its lines, without the header that makes a file a recording,
# which would refuse a shot.)
grep -vx 'press ESCAPE' "$recording" | grep -v '^#' >"$WORK/to-the-end.script"
echo "shot runner-end.png" >>"$WORK/to-the-end.script"
"$SIM" --out "$WORK" "$WORK/to-the-end.script" || fail "the replay runner failed on the recording"
start_game "$GAME" --replay "$recording"
xdotool keydown --window "$WINDOW" Right
ticks=$(awk '$1 == "tick" { n += $2 } END { print n }' "$recording")
wait_for_still_frame $((ticks * 15 / 4000 + 20)) || fail "the replay did not come to a still frame"
xdotool keyup --window "$WINDOW" Right
differ=$("$COMPARE" -metric AE "$WORK/replay-end.png" "$WORK/runner-end.png" null: 2>&1)
[[ $differ == 0 ]] || fail "the replay's last frame differs from the runner's in $differ pixels"
press_escape
expect_exit_within 2 Escape
[[ $(ls "$KEPT/recordings") == "$(basename "$recording")" ]] || fail "watching made a recording"
echo "PASS (games: score $score, level $level, $ticks ticks)"

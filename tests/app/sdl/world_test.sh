#!/usr/bin/env bash
# The world table from the SDL window, against a real kolvane-server on
# loopback:
# - with submit = true, a game played in the window from the server's ticket
#   is sent by itself, verified, ranked and marked on the title's table (the
#   mark kept in world-verified.txt); F9 shows the world's top ten instead;
# - `kolvane --submit` on the window's own recording (the whole session,
#   which extends what was sent) exits 0 at rank 1, and the game is in
#   `kolvane --world`; a forged recording exits 3 with the reason;
# - with the server stopped, --submit exits 1 at once, and a game played
#   meanwhile waits in the outbox and is sent at the next start.
#
#   world_test.sh KOLVANE KOLVANE_SERVER
#
# Exits 77 (skipped) when the X tools are missing.
set -u

readonly GAME=${1:?usage: world_test.sh KOLVANE KOLVANE_SERVER}
readonly SERVER=${2:?usage: world_test.sh KOLVANE KOLVANE_SERVER}
readonly MODE=world
# shellcheck source=tests/support/xvfb_session.sh
source "$(dirname "$0")/../../support/xvfb_session.sh"
# shellcheck source=tests/support/leaderboard_server.sh
source "$(dirname "$0")/../../support/leaderboard_server.sh"

require_tools Xvfb xdotool "$CONVERT" "$IMPORT" "$COMPARE"
readonly KEPT=$XDG_DATA_HOME/kolvane SETTINGS=$XDG_CONFIG_HOME/kolvane/settings.ini

# How many pixels of the tables' text (white titles, #AAAAAA rows; the rocks
# behind are #C0C0C0 and no star is there) a strip of the shot $1 has, left
# of the local table's 35 columns: the world's table is 43 columns wide.
lit_left_of_table() {
    "$CONVERT" "$WORK/$1.png" -crop 40x112+474+460 +repage -fill white -opaque '#AAAAAA' \
        -fill black +opaque white -colorspace Gray -format '%[fx:round(mean*w*h)]' info:
}

# The games in the high-score table.
games_kept() {
    local n
    n=$(grep -cv '^#' "$KEPT/scores.txt" 2>/dev/null)
    echo "${n:-0}"
}

# Plays one game until it is lost (thrust while turning meets a rock soon),
# then waits on the title screen for $1 to exist.
play_until_lost() {
    start_game "$GAME"
    sleep 0.3
    xdotool key --window "$WINDOW" s
    sleep 0.3
    xdotool keydown --window "$WINDOW" Up Left
    local before i
    before=$(games_kept)
    for ((i = 0; i < 900; i++)); do
        (($(games_kept) > before)) && break
        kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended while played"
        sleep 0.1
    done
    xdotool keyup --window "$WINDOW" Up Left
    ((i < 900)) || fail "no game over 90 s into the game"
}

# Waits up to $1 seconds for file $2 to hold the text $3.
wait_for_text() {
    local i
    for ((i = 0; i < $1 * 10; i++)); do
        grep -qF -- "$3" "$2" 2>/dev/null && return 0
        sleep 0.1
    done
    return 1
}

start_server
start_leaderboard "$SERVER" "$WORK/leaderboard.sqlite"
write_world_settings "$SETTINGS" "submit = true"

# --- A game from a ticket, sent by itself at its game over and verified.
play_until_lost
recording=$(ls "$KEPT"/recordings/*.kolvane)
name=$(basename "$recording")
grep -q '^ticket [A-Za-z0-9._-]*$' "$recording" || fail "the recording has no ticket: $(head -8 "$recording")"
wait_for_text 60 "$KEPT/world-verified.txt" "$name " || fail "the game was not verified by the world table within 60 s"
sleep 0.5
shot marked
# The table's title line carries the marks' legend: its 35 columns start
# at x = 740 - 8 - 210.
lit=$("$CONVERT" "$WORK/marked.png" -crop 210x12+522+$((580 - 8 - 12 * 2)) +repage -colorspace Gray \
    -threshold 50% -format '%[fx:round(mean*w*h)]' info:)
((lit > 0)) || fail "no marked table over the title"
(($(lit_left_of_table marked) == 0)) || fail "something left of the local table"
xdotool key --window "$WINDOW" F9
sleep 0.5
shot world
(($(lit_left_of_table world) > 20)) || fail "F9 did not show the world's table (wider than the local one)"
grep -qx 'world_scores = true' "$SETTINGS" || fail "F9's choice was not kept: $(cat "$SETTINGS")"
xdotool key --window "$WINDOW" F9
press_escape
expect_exit_within 3 Escape

# --- The window's own recording, the whole session: it goes on from what
# was sent, so it takes its place, ranked; and it is in the world table.
"$GAME" --submit "$recording" >"$WORK/submit.txt" 2>&1
code=$?
((code == 0)) || fail "--submit exited $code: $(cat "$WORK/submit.txt")"
read -r score level _ < <(grep -v '^#' "$KEPT/scores.txt")
grep -qx "verified: score $score, rank 1" "$WORK/submit.txt" ||
    fail "--submit said: $(cat "$WORK/submit.txt")"
"$GAME" --world >"$WORK/world.txt" 2>&1 || fail "--world failed: $(cat "$WORK/world.txt")"
grep -Eq "^ +1 +$score +$level +[0-9-]+ [0-9:]+ +Tester " "$WORK/world.txt" ||
    fail "--world does not list the game: $(cat "$WORK/world.txt")"

# --- A forged recording (no ticket, its score changed by hand): rejected.
sed -e '/^ticket /d' -e 's/^\(# game 1: score \)\([0-9]*\)/\11\2/' "$recording" >"$WORK/forged.kolvane"
"$GAME" --submit "$WORK/forged.kolvane" >"$WORK/forged.txt" 2>&1
code=$?
((code == 3)) || fail "--submit of a forgery exited $code: $(cat "$WORK/forged.txt")"
grep -q '^rejected: .*disagree' "$WORK/forged.txt" || fail "--submit of a forgery said: $(cat "$WORK/forged.txt")"

# --- The server stopped: --submit can't reach it (exit 1, at once), and a
# game played meanwhile waits in the outbox.
stop_leaderboard
start=$(date +%s)
timeout 30 "$GAME" --submit "$recording" >"$WORK/down.txt" 2>&1
code=$?
((code == 1)) || fail "--submit with the server stopped exited $code: $(cat "$WORK/down.txt")"
(($(date +%s) - start < 20)) || fail "--submit took more than 20 s with the server stopped"
play_until_lost
press_escape
expect_exit_within 3 Escape
grep -q "no ticket from the world table" "$WORK/game.log" || fail "no word of the missing ticket: $(cat "$WORK/game.log")"
queued=$(ls "$KEPT/outbox"/*.kolvane 2>/dev/null)
[[ -n $queued ]] || fail "the game played offline is not in the outbox"
queued=$(basename "$queued")

# --- The server back (another port): the next start sends it, and its
# verdict comes back.
start_leaderboard "$SERVER" "$WORK/leaderboard.sqlite"
write_world_settings "$SETTINGS" "submit = true"
start_game "$GAME"
wait_for_text 60 "$KEPT/world-verified.txt" "$queued " || fail "the queued game was not sent and verified at the next start"
[[ -z $(ls "$KEPT/outbox"/*.kolvane 2>/dev/null) ]] || fail "the outbox still holds: $(ls "$KEPT/outbox")"
press_escape
expect_exit_within 3 Escape
echo "PASS (world: score $score, level $level; $queued sent at the next start)"

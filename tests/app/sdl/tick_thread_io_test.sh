#!/usr/bin/env bash
# No file I/O on the thread that ticks: the real window under strace, played
# for SECONDS (the recording is written every 10 s, M writes the settings, a
# game over the table, Escape the last recording), shows no fsync, rename or
# write to a data or config file from the main thread, and shows them from
# the background writer. Given kolvane-server, the window plays against it
# with submit = true (tests/support/leaderboard_server.sh), and the main
# thread also never connects, sends or receives on a network socket: the
# ticket, the game overs' recordings and their verdicts go through the
# network worker's thread.
#
#   tick_thread_io_test.sh KOLVANE [SECONDS [KOLVANE_SERVER]]
#
# Exits 77 (skipped) when strace or the X tools are missing.
set -u

readonly GAME=${1:?usage: tick_thread_io_test.sh KOLVANE [SECONDS [KOLVANE_SERVER]]}
readonly SECONDS_PLAYED=${2:-12}
readonly SERVER=${3:-}
readonly MODE=tick_thread_io
# shellcheck source=tests/support/xvfb_session.sh
source "$(dirname "$0")/../../support/xvfb_session.sh"
# shellcheck source=tests/support/leaderboard_server.sh
source "$(dirname "$0")/../../support/leaderboard_server.sh"
require_tools Xvfb xdotool strace

start_server
if [[ -n $SERVER ]]; then
    start_leaderboard "$SERVER" "$WORK/leaderboard.sqlite"
    write_world_settings "$XDG_CONFIG_HOME/kolvane/settings.ini" "submit = true"
fi
# LeakSanitizer can't run under ptrace (in the sanitizer build of make check).
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0
start_game strace -f -ff -yy -o "$WORK/trace" \
    -e trace=%file,%network,write,pwrite64,writev,read,readv,fsync,fdatasync "$GAME"
xdotool key --window "$WINDOW" m
xdotool key --window "$WINDOW" s
end=$(($(date +%s) + SECONDS_PLAYED))
round=0
while (($(date +%s) < end)); do
    xdotool keydown --window "$WINDOW" Up Left
    for ((k = 0; k < 4; k++)); do
        xdotool key --window "$WINDOW" space
        sleep 0.1
    done
    xdotool keyup --window "$WINDOW" Up Left
    xdotool key --window "$WINDOW" s
    round=$((round + 1))
done
press_escape
expect_exit_within 10 "Escape"

# The main thread's trace is the one that starts the program.
main=$(grep -l '^execve(' "$WORK"/trace.* | head -n 1)
[[ -n $main ]] || fail "no trace of the main thread"
kept="$WORK/(data|config)"
# What writes a kept file, or waits for the disk.
writes="^(fsync|fdatasync|rename|renameat|renameat2)\(|^(write|pwrite64|writev)\([0-9]+<$kept|^(openat|open|creat)\(.*\"$kept[^\"]*\".*O_(WRONLY|RDWR|CREAT)|^(unlink|unlinkat|mkdir|mkdirat)\(.*\"$kept"
main_writes=$(grep -cE "$writes" "$main")
others=$(for f in "$WORK"/trace.*; do [[ $f != "$main" ]] && cat "$f"; done)
echo "main thread ($(basename "$main")): $main_writes writes, renames or syncs of kept files"
echo "other threads: $(grep -cE "^rename.*\"$kept" <<<"$others") renames into the data and config" \
    "folders, $(grep -cE '^(fsync|fdatasync)\(' <<<"$others") syncs," \
    "$(grep -cE "^(write|pwrite64|writev)\([0-9]+<$kept" <<<"$others") writes to kept files"
echo "threads traced: $(ls "$WORK"/trace.* | wc -l)"
if ((main_writes > 0)); then
    grep -E "$writes" "$main" | head -n 20
    fail "the thread that ticks wrote kept files"
fi
grep -qE "^rename.*\"$WORK/data/kolvane/recordings/" <<<"$others" || fail "no recording written by the writer"
grep -qE "^rename.*\"$WORK/config/kolvane/settings.ini\"" <<<"$others" || fail "no settings written by the writer"
if [[ -n $SERVER ]]; then
    # A TCP socket's calls (-yy names its protocol): the X server's socket is
    # a Unix one.
    network="^(connect|sendto|sendmsg|recvfrom|recvmsg|write|writev|read|readv)\([0-9]+<TCP"
    main_network=$(grep -cE "$network" "$main")
    echo "network: $main_network calls on TCP sockets from the main thread," \
        "$(grep -cE "$network" <<<"$others") from the others"
    ((main_network == 0)) || fail "the thread that ticks used the network: $(grep -E "$network" "$main" | head -n 5)"
    grep -qE '^connect\(.*inet_addr\("127\.0\.0\.1"\)' <<<"$others" || fail "no thread reached the server"
    # A game that ended went into the outbox (the worker's write).
    if [[ -e $WORK/data/kolvane/scores.txt ]]; then
        grep -qE "^rename.*\"$WORK/data/kolvane/outbox/" <<<"$others" || fail "the game over was not queued"
    fi
fi
echo "PASS ($MODE): $SECONDS_PLAYED s played, every write of a kept file on the background writer${SERVER:+, every request on the network worker}"

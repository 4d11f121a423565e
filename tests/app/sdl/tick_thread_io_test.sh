#!/usr/bin/env bash
# No file I/O on the thread that ticks: the real window under strace, played
# for SECONDS (the recording is written every 10 s, M writes the settings, a
# game over the table, Escape the last recording), shows no fsync, rename or
# write to a data or config file from the main thread, and shows them from
# the background writer.
#
#   tick_thread_io_test.sh KOLVANE [SECONDS]
#
# Exits 77 (skipped) when strace or the X tools are missing.
set -u

readonly GAME=${1:?usage: tick_thread_io_test.sh KOLVANE [SECONDS]}
readonly SECONDS_PLAYED=${2:-12}
readonly MODE=tick_thread_io
# shellcheck source=tests/support/xvfb_session.sh
source "$(dirname "$0")/../../support/xvfb_session.sh"
require_tools Xvfb xdotool strace

start_server
# LeakSanitizer can't run under ptrace (in the sanitizer build of make check).
export ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0
start_game strace -f -ff -y -o "$WORK/trace" \
    -e trace=%file,write,pwrite64,writev,fsync,fdatasync "$GAME"
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
echo "PASS ($MODE): $SECONDS_PLAYED s played, every write of a kept file on the background writer"

#!/usr/bin/env bash
# Runs a command while one Wine server serves the prefix, and stops that server
# afterwards, whatever the command's outcome.
#
#   wine-session.sh PREFIX COMMAND [ARG...]
#
# Left alone, Wine starts a server with the first program and ends it a few
# seconds after the last; a program started just as it ends fails with
# "recvmsg: Connection reset by peer". One server kept for the whole run (the
# test listing, the tests, the trace comparison) cannot end under a program.
set -euo pipefail
readonly PREFIX=${1:?usage: wine-session.sh PREFIX COMMAND [ARG...]}
shift
(($# > 0)) || { echo "usage: wine-session.sh PREFIX COMMAND [ARG...]" >&2; exit 2; }
HERE=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX=$PREFIX WINEDEBUG=-all

stop_server() {
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
}

"$HERE/wine-run.sh" "$PREFIX"
# A server left by an interrupted run would never end on its own.
stop_server
trap stop_server EXIT
trap 'exit 130' INT TERM
wineserver -p
# The server's own Windows processes (services.exe and the like) live as long
# as it does, holding the output they were started with: start them now on
# /dev/null, or the first test's output would never close and ctest would wait
# for it until the time limit.
"$HERE/wine-run.sh" "$PREFIX" wineboot </dev/null >/dev/null 2>&1
"$@"

#!/usr/bin/env bash
# The Windows leaderboard client's tests under Wine against the Linux
# stand-in server (kolvane-fake-leaderboard) on loopback: starts the server,
# runs the test program with its addresses in KOLVANE_TEST_SERVER and
# KOLVANE_TEST_TLS_SERVER, and stops it. Exits 77 (skipped) without Wine or
# without the Linux server program.
#
#   network_test.sh TESTS_EXE FAKE_SERVER WORK_DIR WINE_PREFIX
set -u
readonly TESTS=${1:?usage: network_test.sh TESTS_EXE FAKE_SERVER WORK_DIR WINE_PREFIX}
readonly FAKE=${2:-} WORK=${3:?} PREFIX=${4:?}
readonly HERE=$(cd "$(dirname "$0")" && pwd)

command -v wine >/dev/null 2>&1 || { echo "SKIP: wine is not installed"; exit 77; }
[[ -x $FAKE ]] || { echo "SKIP: no Linux kolvane-fake-leaderboard (build it in the Linux build)"; exit 77; }

rm -rf "$WORK" && mkdir -p "$WORK/cert"
"$FAKE" "$WORK/cert" >"$WORK/addresses" 2>"$WORK/server.log" &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null' EXIT
# The addresses come once it listens (a certificate is made first): 30 s at most.
for ((i = 0; i < 300; i++)); do
    [[ -s $WORK/addresses ]] && break
    kill -0 "$server" 2>/dev/null || { echo "FAIL: the server ended"; cat "$WORK/server.log"; exit 1; }
    sleep 0.1
done
read -r plain tls <"$WORK/addresses" || { echo "FAIL: the server gave no address"; exit 1; }
echo "server: $plain, TLS: $tls"
[[ $tls == - ]] && tls=
KOLVANE_TEST_SERVER=$plain KOLVANE_TEST_TLS_SERVER=$tls "$HERE/wine-run.sh" "$PREFIX" "$TESTS"

#!/usr/bin/env bash
# Runs a Windows program under Wine in a private prefix (made on first use),
# quietly, with the program's own exit code.
#
#   wine-run.sh PREFIX PROGRAM.exe [ARG...]
#   wine-run.sh PREFIX                      only makes the prefix
set -u
prefix=${1:?usage: wine-run.sh PREFIX PROGRAM [ARG...]}
shift
export WINEPREFIX=$prefix
export WINEDEBUG=-all
# No Mono or Gecko installer prompts: the programs need neither.
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=$(command -v wine || command -v wine64) || {
    echo "wine-run.sh: wine is not installed" >&2
    exit 127
}

# Wine makes a new prefix on the first run and that run can fail while it does,
# so the prefix is made once, under a lock, before any program runs.
mkdir -p "$(dirname "$prefix")"
if [[ ! -f $prefix/.kolvane-ready ]]; then
    (
        flock 9
        if [[ ! -f $prefix/.kolvane-ready ]]; then
            wineboot --init >/dev/null 2>&1 && wineserver -w && touch "$prefix/.kolvane-ready"
        fi
    ) 9>"$prefix.lock"
fi
(($# > 0)) || exit 0
exec "$wine" "$@"

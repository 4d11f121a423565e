#!/usr/bin/env bash
# Regenerates every golden frame from its script.
#
#   tests/golden/regenerate.sh KOLVANE_SIM
#
# Each tests/golden/NAME.script is replayed by kolvane-sim inside this
# directory, with the options of its "# args:" line, so its `shot` commands
# write the PNGs beside it. Look at the new frames before keeping them.
set -euo pipefail

sim=${1:?usage: regenerate.sh KOLVANE_SIM}
sim=$(realpath "$sim")
dir=$(cd "$(dirname "$0")" && pwd)
cd "$dir"

status=0
for script in *.script; do
    args=$(sed -n 's/^# args://p' "$script" | head -n 1)
    # shellcheck disable=SC2086 # the args line holds several options
    if "$sim" $args "$script"; then
        echo "regenerated from $script:" $(sed -n 's/^[[:space:]]*shot[[:space:]]\+\([^[:space:]#]*\).*/\1/p' "$script")
    else
        echo "FAILED: $script" >&2
        status=1
    fi
done
exit "$status"

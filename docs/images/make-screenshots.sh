#!/usr/bin/env bash
# Makes the README's pictures with the replay runner, from the golden scripts.
#
#   docs/images/make-screenshots.sh KOLVANE_SIM
set -euo pipefail

sim=$(realpath "${1:?usage: make-screenshots.sh KOLVANE_SIM}")
here=$(cd "$(dirname "$0")" && pwd)
golden="$here/../../tests/golden"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

shoot() {  # SCRIPT SHOT OUTPUT
    local args
    args=$(sed -n 's/^# args://p' "$golden/$1" | head -n 1)
    # shellcheck disable=SC2086 # the args line holds several options
    (cd "$work" && "$sim" $args "$golden/$1")
    mv "$work/$2" "$here/$3"
    echo "wrote docs/images/$3"
}

shoot battle.script battle.png game.png
shoot title_field.script title_field.png title.png

#!/usr/bin/env bash
# Checks that every include in src/ points down the layers:
# core -> gfx -> world -> ship -> game -> app (a layer may include itself and
# the layers before it), and that nothing under src/ includes bench/ or tests/.
#
#   check_layers.sh SRC_DIR
set -euo pipefail
src=${1:?usage: check_layers.sh SRC_DIR}
layers=(core gfx world ship game app)
bad=0
for ((i = 0; i < ${#layers[@]}; i++)); do
    layer=${layers[i]}
    allowed=("${layers[@]:0:i+1}")
    pattern="^($(IFS='|'; echo "${allowed[*]}"))/"
    while IFS=: read -r file line include; do
        target=$(sed -E 's/.*#include "([^"]+)".*/\1/' <<<"$include")
        if [[ ! $target =~ $pattern ]]; then
            echo "$file:$line: $layer includes \"$target\"" >&2
            bad=1
        fi
    done < <(grep -rnE '^#include "' "$src/$layer" || true)
done
if grep -rnE '^#include "(bench|tests)/' "$src" >&2; then bad=1; fi
((bad == 0)) && echo "layers: every include in $src points down"
exit "$bad"

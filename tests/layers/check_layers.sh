#!/usr/bin/env bash
# Checks that every include in src/ points down the layers, and that nothing
# under src/ includes bench/ or tests/.
#
# The game: core -> gfx -> world -> ship -> game (a layer may include itself
# and the layers before it). Then the folders of src/app, each a library that
# may include the game, itself and the folders the table below names:
#
#   text       nothing else
#   session    text
#   scores     text session
#   replay     text session scores
#   settings   text
#   storage    text session scores replay settings
#   network    text session scores replay settings storage   (the leaderboard's client)
#   sound      text session
#   front_end  text session scores replay settings storage network sound
#   sim        text session scores replay              (the runner: no files kept, no sound)
#   template   every folder above but sim and network    (the plainest front end)
#   sdl win32 web   every folder above but sim and template, and not each other
#                   (sim never reaches the network)
#
# app/version.h (made by the build) may be included anywhere in src/app.
#
# src/server (kolvane-server) may include the game, itself, app/version.h and
# the folders of src/app the runner's verification lives in: text session
# scores replay (nothing that keeps files or draws windows).
#
#   check_layers.sh SRC_DIR
set -euo pipefail
src=${1:?usage: check_layers.sh SRC_DIR}
bad=0

# check DIR PATTERN: every include in DIR must match PATTERN.
check() {
    local dir=$1 pattern=$2
    while IFS=: read -r file line include; do
        target=$(sed -E 's/.*#include "([^"]+)".*/\1/' <<<"$include")
        if [[ ! $target =~ $pattern ]]; then
            echo "$file:$line: ${dir#"$src"/} includes \"$target\"" >&2
            bad=1
        fi
    done < <(grep -rnE '^#include "' "$dir" --include='*.h' --include='*.cpp' --include='*.in' || true)
}

game=(core gfx world ship game)
for ((i = 0; i < ${#game[@]}; i++)); do
    allowed=("${game[@]:0:i+1}")
    check "$src/${game[i]}" "^($(IFS='|'; echo "${allowed[*]}"))/"
done

declare -A below=(
    [text]=""
    [session]="text"
    [scores]="text session"
    [replay]="text session scores"
    [settings]="text"
    [storage]="text session scores replay settings"
    [network]="text session scores replay settings storage"
    [sound]="text session"
    [front_end]="text session scores replay settings storage network sound"
    [sim]="text session scores replay"
    [template]="text session scores replay settings storage sound front_end"
    [sdl]="text session scores replay settings storage network sound front_end"
    [win32]="text session scores replay settings storage network sound front_end"
    [web]="text session scores replay settings storage network sound front_end"
)
for folder in "$src"/app/*/; do
    name=$(basename "$folder")
    if [[ ! -v below[$name] ]]; then
        echo "$src/app/$name: a folder the layers don't name (add it to check_layers.sh)" >&2
        bad=1
        continue
    fi
    read -r -a mine <<<"${below[$name]}"
    folders=$(IFS='|'; echo "${mine[*]} $name" | tr ' ' '|' | sed 's/^|//')
    check "${folder%/}" "^(($(IFS='|'; echo "${game[*]}"))/|app/($folders)/|app/version\.h$)"
done
if [[ -d $src/server ]]; then
    check "$src/server" "^(($(IFS='|'; echo "${game[*]}"))/|app/(text|session|scores|replay)/|app/version\.h$|server/)"
fi
# Nothing loose in src/app but the build's version file.
for loose in "$src"/app/*.h "$src"/app/*.cpp; do
    [[ -e $loose ]] || continue
    echo "$loose: every file of src/app belongs in one of its folders" >&2
    bad=1
done
if grep -rnE '^#include "(bench|tests)/' "$src" >&2; then bad=1; fi
((bad == 0)) && echo "layers: every include in $src points down"
exit "$bad"

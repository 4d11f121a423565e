#!/usr/bin/env bash
# Makes the release files twice, in two different folders, one after the
# other and under a different time zone, locale and umask, and checks that
# both SHA256SUMS are the same (compare_dists.sh says which file differs, and
# where).
#
#   reproducible.sh DIR [JOBS]
set -euo pipefail
readonly DIR=${1:?usage: reproducible.sh DIR [JOBS]}
readonly JOBS=${2:-2}
readonly ROOT=$(cd "$(dirname "$0")/../.." && pwd)

rm -rf "$DIR"
mkdir -p "$DIR"
DIR_ABS=$(cd "$DIR" && pwd)
readonly DIR_ABS
readonly FIRST=$DIR_ABS/first SECOND=$DIR_ABS/second/in/another/folder

# Both builds make the commit that is HEAD now, whatever is committed meanwhile.
KOLVANE_DIST_COMMIT=$(git -C "$ROOT" rev-parse HEAD)
export KOLVANE_DIST_COMMIT
echo "reproducible: commit $KOLVANE_DIST_COMMIT"
started=$(date +%s)
echo "reproducible: the first build, in $FIRST"
"$ROOT/scripts/dist.sh" "$FIRST/dist" "$FIRST/work" "$JOBS" >"$DIR_ABS/first.log" 2>&1 ||
    { tail -n 30 "$DIR_ABS/first.log"; echo "reproducible: the first build failed"; exit 1; }
echo "reproducible: the second build, in $SECOND"
(umask 002 && TZ=Pacific/Kiritimati LC_ALL=C.UTF-8 \
    "$ROOT/scripts/dist.sh" "$SECOND/dist" "$SECOND/w" "$JOBS") >"$DIR_ABS/second.log" 2>&1 ||
    { tail -n 30 "$DIR_ABS/second.log"; echo "reproducible: the second build failed"; exit 1; }
echo "reproducible: both built in $(($(date +%s) - started)) s"

"$(dirname "$0")/compare_dists.sh" "$FIRST/dist" "$SECOND/dist" "$DIR_ABS"

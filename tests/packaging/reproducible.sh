#!/usr/bin/env bash
# Makes the release files twice, in two different folders, one after the
# other and under a different time zone, locale and umask, and checks that
# both SHA256SUMS are the same. For a file that differs it says which, and
# where: diffoscope's report when diffoscope is installed (the first lines
# here, the whole in DIR/diffoscope-FILE.txt), else the first differing bytes.
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

started=$(date +%s)
echo "reproducible: the first build, in $FIRST"
"$ROOT/scripts/dist.sh" "$FIRST/dist" "$FIRST/work" "$JOBS" >"$DIR_ABS/first.log" 2>&1 ||
    { tail -n 30 "$DIR_ABS/first.log"; echo "reproducible: the first build failed"; exit 1; }
echo "reproducible: the second build, in $SECOND"
(umask 002 && TZ=Pacific/Kiritimati LC_ALL=C.UTF-8 \
    "$ROOT/scripts/dist.sh" "$SECOND/dist" "$SECOND/w" "$JOBS") >"$DIR_ABS/second.log" 2>&1 ||
    { tail -n 30 "$DIR_ABS/second.log"; echo "reproducible: the second build failed"; exit 1; }
echo "reproducible: both built in $(($(date +%s) - started)) s"

if cmp -s "$FIRST/dist/SHA256SUMS" "$SECOND/dist/SHA256SUMS"; then
    sed 's/^/  /' "$FIRST/dist/SHA256SUMS"
    echo "PASS: the release files are byte for byte the same"
    exit 0
fi

echo "FAIL: the two builds differ"
diff "$FIRST/dist/SHA256SUMS" "$SECOND/dist/SHA256SUMS" || true
while read -r _ file; do
    a=$FIRST/dist/$file
    b=$SECOND/dist/$file
    if [[ ! -f $b ]]; then
        echo "$file: only in the first build"
    elif cmp -s "$a" "$b"; then
        continue
    elif command -v diffoscope >/dev/null; then
        report=$DIR_ABS/diffoscope-$file.txt
        diffoscope --text "$report" --no-progress "$a" "$b" >/dev/null 2>&1 || true
        echo "$file differs; diffoscope's report ($report) begins:"
        head -n 60 "$report"
    else
        echo "$file differs, first at: $(cmp "$a" "$b" | head -n 1)"
    fi
done <"$FIRST/dist/SHA256SUMS"
exit 1

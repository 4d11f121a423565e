#!/usr/bin/env bash
# Compares two sets of release files by their SHA256SUMS. For a file that
# differs it says which, and where: the start of diffoscope's report when
# diffoscope is installed (the whole in REPORT_DIR/diffoscope-FILE.txt), else
# the first byte that differs.
#
#   compare_dists.sh FIRST_DIST SECOND_DIST REPORT_DIR
set -u
readonly FIRST=${1:?usage: compare_dists.sh FIRST_DIST SECOND_DIST REPORT_DIR}
readonly SECOND=${2:?} REPORTS=${3:?}

if cmp -s "$FIRST/SHA256SUMS" "$SECOND/SHA256SUMS"; then
    sed 's/^/  /' "$FIRST/SHA256SUMS"
    echo "PASS: the release files are byte for byte the same"
    exit 0
fi

echo "FAIL: the two builds differ"
diff "$FIRST/SHA256SUMS" "$SECOND/SHA256SUMS"
mkdir -p "$REPORTS"
for file in $(awk '{print $2}' "$FIRST/SHA256SUMS" "$SECOND/SHA256SUMS" | sort -u); do
    a=$FIRST/$file
    b=$SECOND/$file
    if [[ ! -f $a || ! -f $b ]]; then
        echo "$file: made by one build only"
    elif cmp -s "$a" "$b"; then
        continue
    elif command -v diffoscope >/dev/null; then
        report=$REPORTS/diffoscope-$file.txt
        diffoscope --text "$report" --no-progress "$a" "$b" >/dev/null 2>&1
        echo "$file differs; diffoscope's report ($report) begins:"
        head -n 60 "$report"
    else
        echo "$file differs, first at: $(cmp "$a" "$b" | head -n 1)"
    fi
done
exit 1

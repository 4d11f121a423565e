#!/usr/bin/env bash
# `make help` names every target the Makefile declares phony, each with its
# line, so the list a newcomer reads can't miss one.
#
#   make_help_test.sh SOURCE_DIR
set -u
readonly SOURCE=${1:?usage: make_help_test.sh SOURCE_DIR}
help=$(make -s -C "$SOURCE" --no-print-directory help) || { echo "FAIL: make help failed"; exit 1; }
missing=0
for target in $(sed -n 's/^\.PHONY: *//p' "$SOURCE/Makefile"); do
    if ! grep -qE "^  $target +[^ ]" <<<"$help"; then
        echo "FAIL: make help does not list '$target'"
        missing=1
    fi
done
((missing == 0)) && echo "make help: every phony target listed ($(wc -l <<<"$help") lines)"
exit "$missing"

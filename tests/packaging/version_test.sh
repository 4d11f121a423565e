#!/usr/bin/env bash
# One version everywhere: each place named on the command line must show
# VERSION, the project version set in CMakeLists.txt.
#
#   version_test.sh VERSION [--changelog CHANGELOG.md] [--metainfo FILE.metainfo.xml]
#                           [--debian-changelog changelog.gz] [--program PROGRAM]...
#
# CHANGELOG.md's newest release, the metainfo's newest release, the Debian
# changelog's newest entry, and what each program prints for --version
# ("NAME VERSION", NAME the program's file name).
set -u
readonly VERSION=${1:?usage: version_test.sh VERSION [--changelog FILE] [--metainfo FILE] [--debian-changelog FILE] [--program PROGRAM]...}
shift
failures=0

check() {  # WHAT SHOWN EXPECTED
    if [[ $2 == "$3" ]]; then
        echo "ok   $1: $2"
    else
        echo "FAIL $1 shows \"$2\", not \"$3\""
        failures=$((failures + 1))
    fi
}

while (($# >= 2)); do
    case $1 in
    --changelog)
        check "CHANGELOG.md's newest release" \
            "$(sed -n 's/^## \[\([^]]*\)\] - [0-9-]*$/\1/p' "$2" | head -n 1)" "$VERSION" ;;
    --metainfo)
        check "the metainfo's newest release" \
            "$(sed -n 's/^ *<release version="\([^"]*\)".*/\1/p' "$2" | head -n 1)" "$VERSION" ;;
    --debian-changelog)
        check "the Debian changelog's newest entry" \
            "$(zcat "$2" | sed -n '1s/^kolvane (\(.*\)) .*/\1/p')" "$VERSION" ;;
    --program)
        name=$(basename "$2")
        check "$name --version" "$("$2" --version </dev/null 2>&1)" "$name $VERSION" ;;
    *)
        echo "version_test.sh: unknown option $1" >&2
        exit 2 ;;
    esac
    shift 2
done
(($# == 0)) || { echo "version_test.sh: $1 needs a value" >&2; exit 2; }
((failures == 0)) && echo PASS

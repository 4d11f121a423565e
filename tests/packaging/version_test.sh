#!/usr/bin/env bash
# One version everywhere a build shows it: the project version in
# CMakeLists.txt is CHANGELOG.md's newest release, what `--version` prints,
# the newest release of the metainfo and the Debian changelog.
#
#   version_test.sh VERSION CHANGELOG.md BUILD_DOC_DIR KOLVANE_SIM [KOLVANE]
set -u
readonly VERSION=${1:?usage: version_test.sh VERSION CHANGELOG.md BUILD_DOC_DIR KOLVANE_SIM [KOLVANE]}
readonly CHANGELOG=${2:?} DOC=${3:?} SIM=${4:?} GAME=${5:-}
failures=0

check() {  # what, shown, expected
    if [[ $2 == "$3" ]]; then
        echo "ok   $1: $2"
    else
        echo "FAIL $1 shows \"$2\", not \"$3\""
        failures=$((failures + 1))
    fi
}

check "CHANGELOG.md's newest release" \
    "$(sed -n 's/^## \[\([^]]*\)\] - [0-9-]*$/\1/p' "$CHANGELOG" | head -n 1)" "$VERSION"
check "kolvane-sim --version" "$("$SIM" --version </dev/null 2>&1)" "kolvane-sim $VERSION"
if [[ -n $GAME ]]; then
    check "kolvane --version" "$("$GAME" --version </dev/null 2>&1)" "kolvane $VERSION"
fi
check "the metainfo's newest release" \
    "$(sed -n 's/^ *<release version="\([^"]*\)".*/\1/p' "$DOC"/*.metainfo.xml | head -n 1)" "$VERSION"
check "the Debian changelog" "$(zcat "$DOC/changelog.gz" | sed -n '1s/^kolvane (\(.*\)) .*/\1/p')" \
    "$VERSION"
((failures == 0)) && echo PASS

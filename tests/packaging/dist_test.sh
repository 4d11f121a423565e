#!/usr/bin/env bash
# Tries each release file of `make dist` the way its user would, and checks
# that every one holds what it should and shows the same version:
#
#   - SHA256SUMS lists exactly the release files, and they match it;
#   - the Debian package: lintian finds no error; its metainfo, changelog and
#     programs show its version; installed with apt, run and removed again
#     (package_test.sh);
#   - the Windows zip: exactly the two programs, README.txt and LICENSE; the
#     programs' version resources and --version under Wine; kolvane-sim.exe
#     replays a golden script to the golden frame, pixel for pixel;
#   - the web zip: exactly the page's files and LICENSE, the version in the
#     footer; served and played in chromium (tests/app/web/page.test.mjs);
#   - the source tarball: unpacked outside any git checkout, with no git to
#     be found, `make test` passes from its own contents.
#
#   dist_test.sh DIST_DIR WORK_DIR [JOBS]
#   DIST_SOURCE_SUITE=no dist_test.sh ...   the tarball only configured
#
# Needs root (or sudo without a password) to install the package.
set -u
readonly DIST=${1:?usage: dist_test.sh DIST_DIR WORK_DIR [JOBS]}
readonly WORK_ARG=${2:?usage: dist_test.sh DIST_DIR WORK_DIR [JOBS]}
readonly JOBS=${3:-2}
# yes: the tarball's own make test; no: it only configures (for a run whose
# make test of the same commit happened already).
readonly SOURCE_SUITE=${DIST_SOURCE_SUITE:-yes}
readonly HERE=$(cd "$(dirname "$0")" && pwd)
readonly TESTS=$(cd "$HERE/.." && pwd)
readonly GOLDEN=$TESTS/golden

failures=0
ok() { echo "ok   $*"; }
fail() {
    echo "FAIL $*"
    failures=$((failures + 1))
}
same() {  # WHAT SHOWN EXPECTED
    if [[ $2 == "$3" ]]; then ok "$1: $2"; else fail "$1 shows \"$2\", not \"$3\""; fi
}
members() {  # ZIP: its member names, sorted
    unzip -Z1 "$1" | sort
}

rm -rf "$WORK_ARG" && mkdir -p "$WORK_ARG"
readonly WORK=$(cd "$WORK_ARG" && pwd)
cd "$DIST" || exit 1

# --- the files and their sums ----------------------------------------------
tarball=$(ls kolvane-*.tar.gz 2>/dev/null)
[[ $tarball =~ ^kolvane-([0-9][^/]*)\.tar\.gz$ ]] || { echo "FAIL no source tarball in $DIST"; exit 1; }
readonly VERSION=${BASH_REMATCH[1]} NAME=kolvane-${BASH_REMATCH[1]}
readonly DEB=kolvane_${VERSION}_amd64.deb WINDOWS=$NAME-windows-x64.zip WEB=$NAME-web.zip
echo "release $VERSION in $(pwd)"
same "the release files" "$(ls | sort | tr '\n' ' ')" \
    "$(printf '%s\n' SHA256SUMS "$DEB" "$WINDOWS" "$WEB" "$tarball" | sort | tr '\n' ' ')"
same "the files SHA256SUMS lists" "$(awk '{print $2}' SHA256SUMS | sort | tr '\n' ' ')" \
    "$(printf '%s\n' "$DEB" "$WINDOWS" "$WEB" "$tarball" | sort | tr '\n' ' ')"
if sha256sum --quiet -c SHA256SUMS; then ok "every file matches SHA256SUMS"; else fail "SHA256SUMS"; fi

# --- the Debian package -------------------------------------------------------
same "the package's version" "$(dpkg-deb -f "$DEB" Version)" "$VERSION"
if lintian --fail-on error "$DEB" >"$WORK/lintian.txt" 2>&1; then
    ok "lintian finds no error; its warnings: $(grep '^W:' "$WORK/lintian.txt" | tr '\n' ' ')"
else
    cat "$WORK/lintian.txt"
    fail "lintian"
fi
dpkg-deb -x "$DEB" "$WORK/deb"
"$HERE/version_test.sh" "$VERSION" \
    --metainfo "$WORK/deb/usr/share/metainfo/org.kolvane.Kolvane.metainfo.xml" \
    --debian-changelog "$WORK/deb/usr/share/doc/kolvane/changelog.gz" \
    --program "$WORK/deb/usr/games/kolvane-sim" --program "$WORK/deb/usr/games/kolvane" \
    --program "$WORK/deb/usr/bin/kolvane-server" | sed 's/^/     /'
((PIPESTATUS[0] == 0)) && ok "the package's files show $VERSION" || fail "the package's versions"
if "$HERE/package_test.sh" "$DEB" >"$WORK/package_test.txt" 2>&1; then
    ok "installed, ran and removed: $(grep '^installed and ran' "$WORK/package_test.txt")"
else
    cat "$WORK/package_test.txt"
    fail "package_test.sh"
fi

# --- the Windows zip ----------------------------------------------------------
same "the Windows zip's files" "$(members "$WINDOWS" | tr '\n' ' ')" \
    "$NAME-windows-x64/LICENSE $NAME-windows-x64/README.txt $NAME-windows-x64/kolvane-sim.exe $NAME-windows-x64/kolvane.exe "
unzip -q "$WINDOWS" -d "$WORK/windows"
win=$WORK/windows/$NAME-windows-x64
same "README.txt's title" "$(head -n 1 "$win/README.txt" | tr -d '\r')" "Kolvane $VERSION for Windows (64-bit)"
grep -q $'\r$' "$win/LICENSE" && ok "LICENSE has Windows line ends" || fail "LICENSE has Unix line ends"
for program in kolvane kolvane-sim; do
    resources=$(x86_64-w64-mingw32-windres -i "$win/$program.exe" -O rc 2>&1)
    same "$program.exe's ProductVersion" \
        "$(sed -n 's/.*VALUE "ProductVersion", "\(.*\)"/\1/p' <<<"$resources")" "$VERSION"
    grep -q "VALUE \"OriginalFilename\", \"$program.exe\"" <<<"$resources" ||
        fail "$program.exe's version resource names another file"
    same "$program.exe's icon" "$(grep -c 'RT_GROUP_ICON' <<<"$resources")" 1
done

readonly PREFIX=$WORK/wine-prefix
export WINEPREFIX=$PREFIX WINEDEBUG=-all
"$TESTS/app/win32/wine-session.sh" "$PREFIX" bash -c '
    win=$1 version=$2 golden=$3 wine_run=$4 prefix=$5
    failures=0
    for program in kolvane kolvane-sim; do
        shown=$("$wine_run" "$prefix" "$win/$program.exe" --version </dev/null 2>&1 | tr -d "\r")
        if [[ $shown == "$program $version" ]]; then echo "ok   $program.exe --version: $shown"
        else echo "FAIL $program.exe --version shows \"$shown\""; failures=$((failures + 1)); fi
    done
    script=$golden/title_screen.script
    mkdir -p "$win/replay"
    # shellcheck disable=SC2046 # the args line is a list of words
    (cd "$win/replay" && "$wine_run" "$prefix" "$win/kolvane-sim.exe" \
        $(sed -n "s/^# args://p" "$script") "$script" </dev/null)
    differing=$(/usr/bin/compare -metric AE "$golden/title_screen.png" "$win/replay/title_screen.png" \
        null: 2>&1)
    if [[ $differing == 0 ]]; then
        echo "ok   kolvane-sim.exe replays title_screen.script to the golden frame"
    else
        echo "FAIL kolvane-sim.exe: title_screen.png differs from the golden frame ($differing)"
        failures=$((failures + 1))
    fi
    exit $((failures > 0))
' _ "$win" "$VERSION" "$GOLDEN" "$TESTS/app/win32/wine-run.sh" "$PREFIX" || failures=$((failures + 1))

# --- the web zip --------------------------------------------------------------
same "the web zip's files" "$(members "$WEB" | tr '\n' ' ')" \
    "$NAME-web/LICENSE $NAME-web/index.html $NAME-web/kolvane-watch.js $NAME-web/kolvane-watch.wasm $NAME-web/kolvane.js $NAME-web/kolvane.wasm $NAME-web/world.js "
unzip -q "$WEB" -d "$WORK/web"
site=$WORK/web/$NAME-web
same "the page's footer" "$(grep -o "Kolvane $VERSION," "$site/index.html")" "Kolvane $VERSION,"
if node "$TESTS/app/web/page.test.mjs" --site "$site" --out "$WORK/web-test" \
    --native "$WORK/deb/usr/games/kolvane-sim" >"$WORK/web-test.txt" 2>&1; then
    ok "the page plays in chromium ($(grep -c '^ok' "$WORK/web-test.txt") steps)"
else
    cat "$WORK/web-test.txt"
    fail "page.test.mjs on the web zip"
fi

# --- the source tarball -------------------------------------------------------
# Outside any checkout, with a git that fails loudly: nothing may need git.
source_root=$(mktemp -d "${TMPDIR:-/tmp}/kolvane-source.XXXXXX")
trap 'rm -rf "$source_root"' EXIT
mkdir -p "$source_root/no-git"
printf '#!/bin/sh\necho "git was called from the source tarball'"'"'s build: $*" >&2\nexit 1\n' \
    >"$source_root/no-git/git"
chmod +x "$source_root/no-git/git"
tar -xzf "$tarball" -C "$source_root"
same "the tarball's folder" "$(ls "$source_root" | grep -v '^no-git$')" "$NAME"
same "the tarball's version" \
    "$(sed -n 's/^project(Kolvane VERSION \([^ )]*\).*/\1/p' "$source_root/$NAME/CMakeLists.txt")" "$VERSION"
"$HERE/version_test.sh" "$VERSION" --changelog "$source_root/$NAME/CHANGELOG.md" | sed 's/^/     /'
((PIPESTATUS[0] == 0)) || fail "the tarball's CHANGELOG.md"
[[ $(cat "$source_root/$NAME/packaging/commit-time") =~ ^[0-9]+$ ]] &&
    ok "the tarball carries its commit's time" || fail "packaging/commit-time is not a time"
if [[ $SOURCE_SUITE == yes ]]; then
    echo "     make test in the unpacked tarball (log: $WORK/source-test.txt)"
    if (cd "$source_root/$NAME" && GIT_CEILING_DIRECTORIES=$source_root PATH=$source_root/no-git:$PATH \
        make test JOBS="$JOBS" >"$WORK/source-test.txt" 2>&1); then
        ok "make test passes in the unpacked tarball: $(grep -E 'tests passed' "$WORK/source-test.txt")"
    else
        tail -n 40 "$WORK/source-test.txt"
        fail "make test in the unpacked tarball"
    fi
else
    # The suite of the same commit ran elsewhere (CI's own make test): here
    # only that the tarball configures with its tests and without git.
    if (cd "$source_root/$NAME" && GIT_CEILING_DIRECTORIES=$source_root PATH=$source_root/no-git:$PATH \
        cmake -S . -B build >"$WORK/source-test.txt" 2>&1); then
        ok "the unpacked tarball configures with its tests (its suite not run here)"
    else
        tail -n 40 "$WORK/source-test.txt"
        fail "cmake in the unpacked tarball"
    fi
fi
if grep -q "git was called" "$WORK/source-test.txt"; then fail "the tarball's build called git"; fi

if ((failures == 0)); then
    echo "PASS: every release file of $VERSION unpacked and tried"
else
    echo "FAIL: $failures checks of the release files failed"
    exit 1
fi

#!/usr/bin/env bash
# Makes the release files of the committed HEAD (docs/releases.md):
#
#   kolvane-VERSION.tar.gz             the sources, from `git archive`
#   kolvane_VERSION_amd64.deb          the Debian package
#   kolvane-VERSION-windows-x64.zip    kolvane.exe, kolvane-sim.exe, README.txt, LICENSE
#   kolvane-VERSION-web.zip            the web page: index.html, world.js, kolvane.js, kolvane.wasm,
#                                      kolvane-watch.js, kolvane-watch.wasm, LICENSE
#   SHA256SUMS
#
#   dist.sh DIST_DIR WORK_DIR [JOBS]
#
# Everything is built from the tarball's own contents, unpacked in WORK_DIR,
# so the files hold exactly what the tarball holds and its build needs no git.
# Run in an unpacked source tarball, it builds the same three other files
# again (their time from packaging/commit-time), to check a release by.
# The same commit gives the same bytes in any folder at any time: times come
# from the commit (SOURCE_DATE_EPOCH), the compilers map the folders away
# (KOLVANE_REPRODUCIBLE), and archive members are sorted, with fixed times,
# owners and modes.
set -euo pipefail
readonly ROOT=$(cd "$(dirname "$0")/.." && pwd -P)
readonly DIST=${1:?usage: dist.sh DIST_DIR WORK_DIR [JOBS]}
readonly WORK=${2:?usage: dist.sh DIST_DIR WORK_DIR [JOBS]}
readonly JOBS=${3:-2}
# The commit to release: HEAD unless KOLVANE_DIST_COMMIT names another (so
# that two builds compared with each other build the same one).
readonly COMMIT=${KOLVANE_DIST_COMMIT:-HEAD}

say() { echo "dist: $*" >&2; }
die() {
    say "$*"
    exit 1
}

mkdir -p "$DIST" "$WORK"
DIST_ABS=$(cd "$DIST" && pwd)
WORK_ABS=$(cd "$WORK" && pwd)
readonly DIST_ABS WORK_ABS
project_version() {  # CMakeLists.txt on standard input
    sed -n 's/^project(Kolvane VERSION \([^ )]*\).*/\1/p'
}

if [[ $(git -C "$ROOT" rev-parse --show-toplevel 2>/dev/null) == "$ROOT" ]]; then
    # A git checkout: the tarball of the commit, and everything built from it.
    if [[ -n $(git -C "$ROOT" status --porcelain --untracked-files=no) ]]; then
        say "note: uncommitted changes are not in the release files (they are made from HEAD)"
    fi
    from_git=1
    version=$(git -C "$ROOT" show "$COMMIT:CMakeLists.txt" | project_version)
    SOURCE_DATE_EPOCH=$(git -C "$ROOT" log -1 --format=%ct "$COMMIT")
else
    # An unpacked source tarball: the same files again, but the tarball itself.
    from_git=0
    version=$(project_version <"$ROOT/CMakeLists.txt")
    SOURCE_DATE_EPOCH=$(cat "$ROOT/packaging/commit-time")
    [[ $SOURCE_DATE_EPOCH =~ ^[0-9]+$ ]] ||
        die "$ROOT is neither a git checkout nor an unpacked source tarball (packaging/commit-time)"
fi
[[ -n $version ]] || die "no project version in CMakeLists.txt"
readonly VERSION=$version NAME=kolvane-$version

# One environment for every tool, whatever the caller's.
export SOURCE_DATE_EPOCH TZ=UTC LC_ALL=C
umask 022
rm -rf "${WORK_ABS:?}"/* "$DIST_ABS"/kolvane[-_]* "$DIST_ABS/SHA256SUMS"

release_files=("kolvane_${VERSION}_amd64.deb" "$NAME-windows-x64.zip" "$NAME-web.zip")
if ((from_git)); then
    # git archive writes the commit's time on every member, in the tree's
    # order, owned by root; gzip -n leaves out the name and time.
    say "$NAME.tar.gz"
    git -C "$ROOT" archive --format=tar --prefix="$NAME/" "$COMMIT" | gzip -9 -n >"$DIST_ABS/$NAME.tar.gz"
    tar -xzf "$DIST_ABS/$NAME.tar.gz" -C "$WORK_ABS"
    SRC=$WORK_ABS/$NAME
    [[ $(cat "$SRC/packaging/commit-time") == "$SOURCE_DATE_EPOCH" ]] ||
        die "the tarball's packaging/commit-time does not hold the commit's time"
    release_files+=("$NAME.tar.gz")
else
    SRC=$ROOT
fi
readonly SRC

# Every build from the unpacked sources, optimised, without the tests.
configure() {  # BUILD_DIR [CMAKE_ARG...]
    local dir=$1
    shift
    cmake -S "$SRC" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOLVANE_REPRODUCIBLE=ON \
        -DKOLVANE_TESTS=OFF -DKOLVANE_BENCH=OFF "$@" >/dev/null
}

# Members sorted by name, each with the commit's time and a fixed mode, and no
# extra fields (owners, Unix times); zip writes times in local time, which is UTC here.
zip_folder() {  # PARENT FOLDER ZIP
    local parent=$1 folder=$2 zip=$3
    find "$parent/$folder" -type d -exec chmod 755 {} +
    find "$parent/$folder" -type f -exec chmod 644 {} +
    find "$parent/$folder" -type f -name '*.exe' -exec chmod 755 {} +
    find "$parent/$folder" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
    (cd "$parent" && find "$folder" -type f | sort | zip -X -D -9 -q "$zip" -@)
}

say "the Debian package"
configure "$WORK_ABS/linux"
cmake --build "$WORK_ABS/linux" -j "$JOBS" >"$WORK_ABS/linux.log" 2>&1 ||
    { tail -n 30 "$WORK_ABS/linux.log"; die "the Linux build failed"; }
(cd "$WORK_ABS/linux" && cpack -G DEB >>"$WORK_ABS/linux.log" 2>&1) ||
    { tail -n 30 "$WORK_ABS/linux.log"; die "cpack failed"; }
cp "$WORK_ABS/linux/kolvane_${VERSION}_amd64.deb" "$DIST_ABS/"

say "$NAME-windows-x64.zip"
configure "$WORK_ABS/windows" -DCMAKE_TOOLCHAIN_FILE="$SRC/cmake/mingw-w64-x86_64.cmake"
cmake --build "$WORK_ABS/windows" -j "$JOBS" >"$WORK_ABS/windows.log" 2>&1 ||
    { tail -n 30 "$WORK_ABS/windows.log"; die "the Windows build failed"; }
cmake --install "$WORK_ABS/windows" --strip --prefix "$WORK_ABS/stage/$NAME-windows-x64" >/dev/null
zip_folder "$WORK_ABS/stage" "$NAME-windows-x64" "$DIST_ABS/$NAME-windows-x64.zip"

say "$NAME-web.zip"
"$SRC/cmake/web-cache.sh" "$WORK_ABS/web/em-cache"
export EM_CACHE=$WORK_ABS/web/em-cache EM_FROZEN_CACHE= NODE_PATH=/usr/share/nodejs
emcmake cmake -S "$SRC" -B "$WORK_ABS/web" -DCMAKE_BUILD_TYPE=Release \
    '-DCMAKE_CXX_FLAGS_RELEASE=-O2 -DNDEBUG' '-DCMAKE_CXX_FLAGS=-fno-exceptions -fno-rtti' \
    -DKOLVANE_REPRODUCIBLE=ON -DKOLVANE_SDL=OFF -DKOLVANE_TESTS=OFF -DKOLVANE_BENCH=OFF >/dev/null
cmake --build "$WORK_ABS/web" -j "$JOBS" --target kolvane-web >"$WORK_ABS/web.log" 2>&1 ||
    { tail -n 30 "$WORK_ABS/web.log"; die "the web build failed"; }
web=$WORK_ABS/stage/$NAME-web
mkdir -p "$web"
cp "$WORK_ABS/web/index.html" "$WORK_ABS/web/world.js" "$WORK_ABS/web/kolvane.js" "$WORK_ABS/web/kolvane.wasm" \
    "$WORK_ABS/web/kolvane-watch.js" "$WORK_ABS/web/kolvane-watch.wasm" "$SRC/LICENSE" "$web/"
zip_folder "$WORK_ABS/stage" "$NAME-web" "$DIST_ABS/$NAME-web.zip"

(cd "$DIST_ABS" && sha256sum "${release_files[@]}" | sort -k 2 >SHA256SUMS)
say "made in $DIST_ABS:"
(cd "$DIST_ABS" && ls -l SHA256SUMS kolvane[-_]*) >&2

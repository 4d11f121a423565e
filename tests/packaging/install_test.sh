#!/usr/bin/env bash
# `cmake --install` into a scratch prefix: the programs in games/, the desktop
# entry, metainfo and icons where desktops look for them, the license and
# changelog where Debian keeps them, and nothing else.
# The desktop entry and metainfo must pass their validators (each check is
# left out, saying so, when its validator is not installed).
#
#   install_test.sh BUILD_DIR PACKAGING_DIR SCRATCH_DIR
set -u
readonly BUILD=${1:?usage: install_test.sh BUILD_DIR PACKAGING_DIR SCRATCH_DIR}
readonly PACKAGING=${2:?} ROOT=${3:?}
readonly APP_ID=org.kolvane.Kolvane

fail() {
    echo "FAIL: $*"
    exit 1
}

rm -rf "$ROOT"
cmake --install "$BUILD" --prefix "$ROOT" >/dev/null || fail "cmake --install failed"

expected=$(printf '%s\n' \
    games/kolvane \
    games/kolvane-sim \
    share/applications/$APP_ID.desktop \
    share/doc/kolvane/changelog.gz \
    share/doc/kolvane/copyright \
    share/icons/hicolor/128x128/apps/$APP_ID.png \
    share/icons/hicolor/256x256/apps/$APP_ID.png \
    share/icons/hicolor/48x48/apps/$APP_ID.png \
    share/metainfo/$APP_ID.metainfo.xml \
    $([[ -x $BUILD/src/server/kolvane-server ]] &&
        printf '%s\n' bin/kolvane-server lib/systemd/system/kolvane-server.service) | sort)
actual=$(cd "$ROOT" && find . -type f | sed 's|^\./||' | sort)
[[ $actual == "$expected" ]] || fail "installed files differ:
$(diff <(echo "$expected") <(echo "$actual"))"
[[ -x $ROOT/games/kolvane && -x $ROOT/games/kolvane-sim ]] || fail "the programs are not executable"

desktop=$ROOT/share/applications/$APP_ID.desktop
grep -qx 'Exec=kolvane' "$desktop" || fail "the desktop entry does not start kolvane"
grep -qx "Icon=$APP_ID" "$desktop" || fail "the desktop entry's icon is not $APP_ID"
grep -q '^Categories=.*Game;' "$desktop" || fail "the desktop entry is not in the Game category"
grep -q '^Keywords=' "$desktop" || fail "the desktop entry has no keywords"
grep -q "<id>$APP_ID</id>" "$ROOT/share/metainfo/$APP_ID.metainfo.xml" ||
    fail "the metainfo's id is not $APP_ID"
grep -q "<launchable type=\"desktop-id\">$APP_ID.desktop</launchable>" \
    "$ROOT/share/metainfo/$APP_ID.metainfo.xml" || fail "the metainfo does not launch $APP_ID.desktop"

grep -q '<project_license>MIT</project_license>' "$ROOT/share/metainfo/$APP_ID.metainfo.xml" ||
    fail "the metainfo does not name the MIT license"
grep -q '^License: Expat$' "$ROOT/share/doc/kolvane/copyright" ||
    fail "the copyright file does not name the Expat (MIT) license"
gzip -t "$ROOT/share/doc/kolvane/changelog.gz" || fail "changelog.gz is not gzip"

if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the entry"
else
    echo "note: desktop-file-validate is not installed; the entry was not validated"
fi
if command -v appstreamcli >/dev/null; then
    # The one pedantic remark, the capitals of the reverse-DNS id, is the
    # form desktop entries use; errors and warnings fail.
    appstreamcli validate --no-net "$ROOT/share/metainfo/$APP_ID.metainfo.xml" ||
        fail "appstreamcli rejects the metainfo"
else
    echo "note: appstreamcli is not installed; the metainfo was not validated"
fi
echo "PASS"

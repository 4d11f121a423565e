#!/usr/bin/env bash
# Installs the Debian package with apt, checks what it put where, runs the
# installed kolvane-sim on a golden script, and removes the package again,
# checking that nothing is left behind.
#
#   package_test.sh PACKAGE.deb
#
# Needs root (or sudo without a password): it changes the system's packages.
set -u
readonly DEB=${1:?usage: package_test.sh PACKAGE.deb}
readonly HERE=$(cd "$(dirname "$0")" && pwd)
readonly GOLDEN=$HERE/../golden
readonly APP_ID=org.kolvane.Kolvane
readonly COMPARE=/usr/bin/compare
readonly FILES=(
    /usr/games/kolvane
    /usr/games/kolvane-sim
    /usr/bin/kolvane-server
    /usr/lib/systemd/system/kolvane-server.service
    /usr/share/doc/kolvane/copyright
    /usr/share/doc/kolvane/changelog.gz
    /usr/share/applications/$APP_ID.desktop
    /usr/share/metainfo/$APP_ID.metainfo.xml
    /usr/share/icons/hicolor/48x48/apps/$APP_ID.png
    /usr/share/icons/hicolor/128x128/apps/$APP_ID.png
    /usr/share/icons/hicolor/256x256/apps/$APP_ID.png
)

if [[ $(id -u) -eq 0 ]]; then
    as_root=()
elif sudo -n true 2>/dev/null; then
    as_root=(sudo -n)
else
    echo "package_test.sh: needs root or sudo to install packages" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive

WORK=$(mktemp -d "${TMPDIR:-/tmp}/kolvane-package.XXXXXX")
installed=0
cleanup() {
    if ((installed)); then "${as_root[@]}" apt-get remove -y -qq kolvane >/dev/null 2>&1; fi
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    exit 1
}

deb=$(realpath "$DEB") || fail "no package $DEB"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for dep in libsdl2-2.0-0 libsqlite3-0 libpq5 libcpp-httplib0.11; do
    grep -q "\b$dep\b" <<<"$depends" || fail "the package does not depend on $dep"
done

# A package left from an earlier run would hide what this one installs.
if dpkg-query -W -f='${Status}' kolvane 2>/dev/null | grep -q 'install ok installed'; then
    "${as_root[@]}" apt-get remove -y -qq kolvane >/dev/null || fail "could not remove the old package"
fi

"${as_root[@]}" apt-get install -y -qq "$deb" >"$WORK/apt.log" 2>&1 || {
    cat "$WORK/apt.log"
    fail "apt-get install failed"
}
installed=1
for file in "${FILES[@]}"; do
    [[ -f $file ]] || fail "$file is not installed"
done
[[ -x /usr/games/kolvane && -x /usr/games/kolvane-sim ]] || fail "the programs are not executable"
version=$(dpkg-deb -f "$deb" Version)
for program in kolvane kolvane-sim; do
    shown=$(/usr/games/$program --version </dev/null 2>&1)
    [[ $shown == "$program $version" ]] || fail "$program --version shows \"$shown\", not version $version"
done
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "/usr/share/metainfo/$APP_ID.metainfo.xml" ||
        fail "the installed metainfo does not validate"
fi
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "/usr/share/applications/$APP_ID.desktop" ||
        fail "the installed desktop entry does not validate"
fi

# The installed runner draws the title screen exactly as the golden frame.
script=$GOLDEN/title_screen.script
# shellcheck disable=SC2046 # the args line is a list of words
(cd "$WORK" && /usr/games/kolvane-sim $(sed -n 's/^# args://p' "$script") --trace trace.jsonl \
    "$script") || fail "/usr/games/kolvane-sim failed"
[[ -s $WORK/trace.jsonl ]] || fail "no trace from /usr/games/kolvane-sim"
if [[ -x $COMPARE ]]; then
    differing=$("$COMPARE" -metric AE "$GOLDEN/title_screen.png" "$WORK/title_screen.png" null: 2>&1)
    [[ $differing == 0 ]] || fail "the installed kolvane-sim's frame differs in $differing pixels"
fi
# The installed server answers on a free loopback port, with its database
# where it is told, and ends on SIGTERM.
shown=$(/usr/bin/kolvane-server --version 2>&1)
[[ $shown == "kolvane-server $version" ]] || fail "kolvane-server --version shows \"$shown\""
KOLVANE_DB=$WORK/leaderboard.sqlite KOLVANE_LISTEN=127.0.0.1:0 /usr/bin/kolvane-server \
    >"$WORK/server.out" 2>"$WORK/server.err" &
server=$!
for _ in $(seq 100); do
    port=$(sed -n 's|.*http://127.0.0.1:\([0-9]*\)/$|\1|p' "$WORK/server.out")
    [[ -n $port ]] && break
    sleep 0.1
done
health=$(curl -s "http://127.0.0.1:${port:-0}/api/health")
kill "$server"
wait "$server" || fail "kolvane-server did not end cleanly on SIGTERM"
[[ $health == '{"status":"ok"}' ]] || fail "the installed kolvane-server answered \"$health\": $(cat "$WORK/server.err")"

echo "installed and ran: $(dpkg-query -W -f='${Package} ${Version}' kolvane)"

"${as_root[@]}" apt-get remove -y -qq kolvane >"$WORK/apt.log" 2>&1 || {
    cat "$WORK/apt.log"
    fail "apt-get remove failed"
}
installed=0
for file in "${FILES[@]}"; do
    [[ ! -e $file ]] || fail "$file is left after removal"
done
left=$(find /usr/games /usr/bin /usr/share/doc/kolvane -maxdepth 1 -name 'kolvane*' 2>/dev/null)
[[ -z $left ]] || fail "left after removal: $left"
if dpkg-query -W -f='${Status}' kolvane 2>/dev/null | grep -q 'install ok installed'; then
    fail "dpkg still lists kolvane: $(dpkg-query -W -f='${Status}' kolvane)"
fi
echo "PASS: installed, ran and removed cleanly"

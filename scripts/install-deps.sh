#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing.
# Usage: install-deps.sh [--no-install-recommends] PACKAGE...
set -u
options=()
if [ "${1:-}" = --no-install-recommends ]; then
    options=(--no-install-recommends)
    shift
fi
missing=()
for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    run=()
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
    run=(sudo)
else
    echo "kolvane: please install these Debian packages: ${missing[*]}" >&2
    exit 1
fi
echo "kolvane: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
if ! "${run[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y -qq "${options[@]}" "${missing[@]}" >/dev/null; then
    "${run[@]}" apt-get update -qq >/dev/null &&
        "${run[@]}" apt-get -o DPkg::Lock::Timeout=600 install -y -qq "${options[@]}" "${missing[@]}" >/dev/null || {
        echo "kolvane: could not install these Debian packages: ${missing[*]}" >&2
        exit 1
    }
fi

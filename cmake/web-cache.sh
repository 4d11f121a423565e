#!/usr/bin/env bash
# Prepares emscripten's cache for a web build in a folder of the build tree.
#
#   cmake/web-cache.sh DIR
#
# Debian's emscripten ships its system libraries prebuilt in a frozen,
# read-only cache. DIR gets links to them, so a build needs no time to make
# them again; a library that is not there is built into DIR by emcc from
# emscripten's own sources (EM_FROZEN_CACHE empty), with no download.
set -euo pipefail

dir=${1:?usage: web-cache.sh DIR}
[ -e "$dir/sysroot_install.stamp" ] && exit 0

system=$(env -u EM_CACHE em-config CACHE 2>/dev/null || true)
mkdir -p "$dir"
if [ -n "$system" ] && [ -e "$system/sysroot_install.stamp" ]; then
    cp -rs "$system/sysroot" "$dir/"
    cp "$system/sysroot_install.stamp" "$dir/"
fi

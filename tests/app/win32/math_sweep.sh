#!/usr/bin/env bash
# Builds math_sweep.cpp for Linux and for Windows with the flags of the game's
# builds, runs both (the Windows one under Wine) and compares their results.
#
#   math_sweep.sh WORK_DIR WINE_PREFIX
set -eu
readonly WORK=${1:?usage: math_sweep.sh WORK_DIR WINE_PREFIX} PREFIX=${2:?}
readonly HERE=$(cd "$(dirname "$0")" && pwd)
readonly FLAGS="-std=c++20 -O2 -ffp-contract=off -fno-fast-math"
mkdir -p "$WORK"
# shellcheck disable=SC2086
g++ $FLAGS "$HERE/math_sweep.cpp" -o "$WORK/math_sweep"
# shellcheck disable=SC2086
x86_64-w64-mingw32-g++-posix $FLAGS -static "$HERE/math_sweep.cpp" -o "$WORK/math_sweep.exe"
"$WORK/math_sweep" write "$WORK/linux.bin"
(cd "$WORK" && "$HERE/wine-run.sh" "$PREFIX" ./math_sweep.exe write windows.bin)
"$WORK/math_sweep" compare "$WORK/linux.bin" "$WORK/windows.bin"

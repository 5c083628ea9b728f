#!/usr/bin/env bash
# Builds the native tree (tool, tests, front end) and the Windows tree
# (Quorvex.scr, quorvex.exe and the Windows test helpers), then the Debian
# package build/quorvex_VERSION-1_ARCH.deb.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

cmake -S "$root" -B "$root/build/win32" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/win32" -j "$jobs"

cmake -S "$root" -B "$root/build/native" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DQUORVEX_WIN32_DIR="$root/build/win32/bin" >/dev/null
cmake --build "$root/build/native" -j "$jobs"
bash "$root/packaging/debian/build-deb.sh" "$root/build/native/src/cli/quorvex" "$root/build" >/dev/null

#!/usr/bin/env bash
# Builds the native tree (tool, tests, front end), the 32-bit Windows tree
# (Quorvex.scr, quorvex.exe and the Windows test helpers), the 64-bit Windows
# tree (Quorvex.scr and quorvex.exe only), the installer that carries both and
# the Debian packages build/deb/quorvex{,-dbgsym}_VERSION-1_ARCH.deb.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
source "$root/scripts/compiler-cache.sh"

cmake -S "$root" -B "$root/build/win32" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/win32" -j "$jobs"

cmake -S "$root" -B "$root/build/win64" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/win64" -j "$jobs" --target quorvex_scr quorvex

version=$(sed -n 's/^project(Quorvex VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DWIN32_BIN="$root/build/win32/bin" \
  -DWIN64_BIN="$root/build/win64/bin" -DICON="$root/build/win32/src/win32/quorvex.ico" -DOUTFILE="$root/build/QuorvexSetup-$version.exe" \
  "$root/packaging/windows/quorvex.nsi"

cmake -S "$root" -B "$root/build/native" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DQUORVEX_WIN32_DIR="$root/build/win32/bin" >/dev/null
cmake --build "$root/build/native" -j "$jobs"
bash "$root/scripts/deb.sh" "$root/build/deb" >/dev/null

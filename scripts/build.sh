#!/usr/bin/env bash
# Builds the native tree (tool, tests, front end), the 32-bit Windows tree
# (Quorvex.scr, quorvex.exe and the Windows test helpers), the 64-bit Windows
# tree (Quorvex.scr and quorvex.exe only), the installer that carries both and
# the Debian packages build/deb/quorvex{,-dbgsym}_VERSION-1_ARCH.deb, then puts
# what users download into build/dist/ beside its SHA256SUMS.
# Every date a tool writes into an artefact is the last commit's
# (SOURCE_DATE_EPOCH), so that a commit builds to the same bytes anywhere.
# With --dist only what goes into build/dist/ is built (no native tree, no
# Windows test helpers).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
source "$root/scripts/compiler-cache.sh"
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct)}
only=()
[ "${1:-}" = --dist ] && only=(--target quorvex_scr quorvex)

cmake -S "$root" -B "$root/build/win32" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/win32" -j "$jobs" "${only[@]}"

cmake -S "$root" -B "$root/build/win64" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/win64" -j "$jobs" --target quorvex_scr quorvex

# The installer records each file's modification time: it gets copies dated
# at the commit.
version=$(sed -n 's/^project(Quorvex VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
stage=$root/build/nsis
rm -rf "$stage" && mkdir -p "$stage/win32" "$stage/win64"
for w in win32 win64; do cp "$root/build/$w/bin/Quorvex.scr" "$stage/$w/"; done
cp "$root/build/win32/src/win32/quorvex.ico" "$stage/"
touch -d "@$SOURCE_DATE_EPOCH" "$stage"/*/Quorvex.scr "$stage/quorvex.ico"
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DWIN32_BIN="$stage/win32" -DWIN64_BIN="$stage/win64" \
  -DICON="$stage/quorvex.ico" -DOUTFILE="$root/build/QuorvexSetup-$version.exe" "$root/packaging/windows/quorvex.nsi"

if ((${#only[@]} == 0)); then
  cmake -S "$root" -B "$root/build/native" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DQUORVEX_WIN32_DIR="$root/build/win32/bin" >/dev/null
  cmake --build "$root/build/native" -j "$jobs"
fi
changes=$(bash "$root/scripts/deb.sh" "$root/build/deb")

dist=$root/build/dist
rm -rf "$dist" && mkdir -p "$dist/win32" "$dist/win64"
for w in win32 win64; do cp "$root/build/$w/bin/Quorvex.scr" "$root/build/$w/bin/quorvex.exe" "$dist/$w/"; done
cp "$root/build/QuorvexSetup-$version.exe" "${changes%.changes}.deb" "$dist/"
(cd "$dist" && find . -type f ! -name SHA256SUMS -printf '%P\n' | LC_ALL=C sort | xargs sha256sum >SHA256SUMS)

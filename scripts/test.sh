#!/usr/bin/env bash
# Builds everything and runs every test: unit tests, the Linux front end under
# Xvfb, the real Quorvex.scr under Wine, a second build compared with the first,
# the arm64 build under qemu, the sanitizer build and short fuzz runs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/deps.sh"
bash "$root/scripts/build.sh"
source "$root/scripts/compiler-cache.sh"

cd "$root/build/native"
ctest --output-on-failure -j 2 --timeout 900

# The artefacts just built, built again elsewhere by another user in another
# locale, time zone and year, must come out byte for byte the same.
bash "$root/scripts/repro.sh" "$root"

# ---------------------------------------------------------------- other processors
# The engine on the software extended type, on x86 and on arm64: the same
# shapes and frames as the hardware x86 tool, byte for byte. The arm64 tree
# (Debian's cross compiler, :arm64 libraries) runs its core and tool tests
# under qemu, less the three statistical soaks (minutes each when emulated;
# the long renders step through the same code) and the death test, which
# re-executes its program and so cannot run under qemu-user. Its tool is the
# one of the arm64 package, checked like the native one.
cmake -S "$root" -B "$root/build/soft" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVEX_SOFT_EXTENDED=ON \
  -DQUORVEX_TESTS=OFF -DQUORVEX_BENCH=OFF >/dev/null
cmake --build "$root/build/soft" -j "$(nproc)" --target quorvex
bash "$root/scripts/same-frames.sh" "$root/build/native/src/cli/quorvex" "$root/build/soft/src/cli/quorvex"
cmake -S "$root" -B "$root/build/arm64" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/aarch64-linux-gnu.cmake" -DQUORVEX_BENCH=OFF >/dev/null
cmake --build "$root/build/arm64" -j "$(nproc)" --target quorvex_tests
arm64=(qemu-aarch64-static -L /usr/aarch64-linux-gnu)
"${arm64[@]}" "$root/build/arm64/tests/quorvex_tests" \
  --gtest_filter='-NextShape.FirstChoice*:NextShape.EveryCycle*:Eng.Soak*:ShapesCommandDeathTest.*'
changes=$(DEB_BUILD_OPTIONS=nocheck bash "$root/scripts/deb.sh" "$root/build/deb-arm64" -aarm64 -Pnocheck)
rm -rf "$root/build/deb-arm64/root" && dpkg-deb -x "${changes%.changes}.deb" "$root/build/deb-arm64/root"
bash "$root/scripts/same-frames.sh" "$root/build/native/src/cli/quorvex" "$root/build/deb-arm64/root/usr/bin/quorvex" \
  "${arm64[@]}"
QUORVEX_CHANGES=$changes QUORVEX_EMULATOR="${arm64[*]}" bash "$root/tests/linux/package_test.sh" \
  "$root/build/native/src/cli/quorvex"

# ---------------------------------------------------------------- robustness
# The native unit tests (the engine soak among them) once more, built with
# AddressSanitizer and UndefinedBehaviorSanitizer: any report stops the run.
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
cmake -S "$root" -B "$root/build/asan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUORVEX_SANITIZE=ON -DQUORVEX_BENCH=OFF >/dev/null
cmake --build "$root/build/asan" -j "$(nproc)"
(cd "$root/build/asan" && ctest --output-on-failure -j 2 --timeout 900 -E '^(wine|linux)\.')

# The libFuzzer targets, each for a fixed number of inputs from its seed
# corpus (longer runs: docs/robustness.md).
CC=clang CXX=clang++ cmake -S "$root" -B "$root/build/fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUORVEX_FUZZ=ON -DQUORVEX_TESTS=OFF -DQUORVEX_BENCH=OFF >/dev/null
cmake --build "$root/build/fuzz" -j "$(nproc)" --target fuzzers
bash "$root/fuzz/run.sh" "$root/build/fuzz" --short

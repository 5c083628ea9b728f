#!/usr/bin/env bash
# Builds everything and runs every test: unit tests, the Linux front end under
# Xvfb, the real Quorvex.scr under Wine, the sanitizer build and short fuzz runs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/deps.sh"
bash "$root/scripts/build.sh"
source "$root/scripts/compiler-cache.sh"

cd "$root/build/native"
ctest --output-on-failure -j 2 --timeout 900

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

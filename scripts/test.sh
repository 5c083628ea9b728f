#!/usr/bin/env bash
# Builds everything and runs every test: unit tests, the Linux front end under
# Xvfb, the real Quorvex.scr under Wine, the sanitizer build and short fuzz runs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/deps.sh"
bash "$root/scripts/build.sh"

cd "$root/build/native"
ctest --output-on-failure -j 2 --timeout 900

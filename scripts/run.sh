#!/usr/bin/env bash
# Builds the saver and runs it: in a window when a display is there,
# otherwise renders a short animation and says where it is.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/deps.sh"
bash "$root/scripts/build.sh"
bin="$root/build/native/src/cli/quorvex"
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$bin" "$@"
fi
out="$root/build/quorvex-demo.gif"
"$bin" render --size 480x360 --seed 7 --frames 200 --frame-ms 30 --out "$out"
echo "No X display: rendered a short animation to $out"
echo "The Windows saver is $root/build/win32/bin/Quorvex.scr (try: wine $root/build/win32/bin/Quorvex.scr /s)"

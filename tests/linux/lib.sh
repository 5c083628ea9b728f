# Helpers of the front-end tests under Xvfb. Source it; every process a test
# starts is registered with `track` and killed by PID when the test ends.
set -uo pipefail

QUORVEX=${1:?usage: bash script <path-to-quorvex>}
HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
WORK=$(mktemp -d /tmp/quorvex-e2e.XXXXXX)
TRACKED=()
FAILURES=0

track() { TRACKED+=("$1"); }

cleanup() {
  local pid
  for pid in "${TRACKED[@]}"; do
    kill "$pid" 2>/dev/null
  done
  for pid in "${TRACKED[@]}"; do
    wait "$pid" 2>/dev/null
  done
  rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  FAILURES=$((FAILURES + 1))
}

pass() { echo "ok: $*"; }

finish() {
  if ((FAILURES)); then
    echo "$FAILURES check(s) failed" >&2
    exit 1
  fi
  exit 0
}

# start_xvfb WxHxD: a private server; sets DISPLAY.
start_xvfb() {
  local out="$WORK/displayfd.$RANDOM"
  : >"$out"
  Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp 3>"$out" 2>"$WORK/xvfb.log" &
  XVFB_PID=$!
  track "$XVFB_PID"
  local deadline=$((SECONDS + 15))
  while [ ! -s "$out" ]; do
    if ((SECONDS > deadline)) || ! kill -0 "$XVFB_PID" 2>/dev/null; then
      echo "Xvfb did not start" >&2
      cat "$WORK/xvfb.log" >&2
      exit 1
    fi
    sleep 0.05
  done
  export DISPLAY=":$(head -n1 "$out")"
  unset XSCREENSAVER_WINDOW
}

# wait_until SECONDS COMMAND...: polls until the command succeeds.
wait_until() {
  local limit=$1
  shift
  local deadline=$(($(date +%s%N) / 1000000 + limit * 1000))
  until "$@"; do
    (($(date +%s%N) / 1000000 > deadline)) && return 1
    sleep 0.1
  done
}

alive() { kill -0 "$1" 2>/dev/null; }
dead() { ! kill -0 "$1" 2>/dev/null; }

# wait_exit PID SECONDS: waits for a child of this shell and sets STATUS to
# its exit status, or to "timeout" when it still runs after the deadline.
wait_exit() {
  local deadline=$(($(date +%s%N) / 1000000 + $2 * 1000))
  STATUS=timeout
  while (($(date +%s%N) / 1000000 <= deadline)); do
    # A finished child stays a zombie until waited for, so ask ps.
    if [ "$(ps -o stat= -p "$1" 2>/dev/null | cut -c1)" = Z ] || ! kill -0 "$1" 2>/dev/null; then
      wait "$1"
      STATUS=$?
      return 0
    fi
    sleep 0.05
  done
  return 1
}

# find_window NAME: id of a visible window with that title.
find_window() {
  local id
  wait_until 20 bash -c "xdotool search --onlyvisible --name '$1' >/dev/null 2>&1" || return 1
  id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1)
  [ -n "$id" ] && echo "$id"
}

# shot FILE [WINDOW]: screenshot of a window (default the root). Never with
# an empty id: import would wait for someone to click on a window.
shot() {
  if [ "$#" -ge 2 ] && [ -z "$2" ]; then
    echo "shot: no window id" >&2
    return 1
  fi
  timeout 20 import -silent -window "${2:-root}" "$1" 2>/dev/null
}

# stats FILE [GEOMETRY]: "lit count cx cy minx miny maxx maxy" of the pixels
# brighter than 40 (out of 255) in the image, or in the given WxH+X+Y part.
stats() {
  local crop=()
  [ -n "${2:-}" ] && crop=(-crop "$2" +repage)
  convert "$1" "${crop[@]}" -colorspace gray -depth 8 pgm:- | python3 -c '
import re, sys
data = sys.stdin.buffer.read()
# Header, then exactly one whitespace byte; pixel bytes may look like spaces.
m = re.match(rb"P5\s+(\d+)\s+(\d+)\s+\d+\s", data)
w, h = int(m.group(1)), int(m.group(2))
pixels = data[m.end():]
n = sx = sy = 0
minx, miny, maxx, maxy = w, h, -1, -1
for y in range(h):
    row = pixels[y * w:(y + 1) * w]
    for x, v in enumerate(row):
        if v > 40:
            n += 1; sx += x; sy += y
            minx = min(minx, x); maxx = max(maxx, x); miny = min(miny, y); maxy = max(maxy, y)
cx = sx // n if n else -1
cy = sy // n if n else -1
print(n, cx, cy, minx, miny, maxx, maxy)'
}

# white FILE GEOMETRY: number of pure white pixels in a part of the image.
white() {
  convert "$1" -crop "$2" +repage -fill black +opaque white -fill white -opaque white -format '%[fx:int(mean*w*h+0.5)]' info:
}

# differ A B: number of pixels that differ between two images.
differ() { compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1; }

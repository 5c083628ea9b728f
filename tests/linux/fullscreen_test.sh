#!/usr/bin/env bash
# Full screen: covers the screen and ends like the Windows saver. The first
# movement only records the pointer; one pixel along an axis is tolerated, a
# diagonal step ends it; any key and the left or right button end it; the
# middle button does not; without MouseSens movement never ends it.
source "$(dirname "$0")/lib.sh"
start_xvfb 800x600x24
export XDG_CONFIG_HOME="$WORK/config"

start_full() {
  "$QUORVEX" --fullscreen "$@" 2>"$WORK/stderr" &
  QPID=$!
  track "$QPID"
  if ! WID=$(find_window "Quorvex Screen Saver"); then
    fail "no full-screen window; quorvex $(alive "$QPID" && echo runs || echo ended): $(cat "$WORK/stderr")"
    finish
  fi
  # Let it take the keyboard and the pointer.
  sleep 0.5
}

expect_alive() {
  sleep 0.6
  alive "$QPID" && pass "$1: still running" || fail "$1 ended the saver"
}

expect_end() {
  wait_exit "$QPID" 5
  [ "$STATUS" = 0 ] && pass "$1 ends it with status 0" || fail "$1: status $STATUS"
}

start_full
geometry=$(xwininfo -id "$WID" | awk '/Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4}
  /Width:/ {w=$2} /Height:/ {h=$2} /Override Redirect State:/ {o=$4} END {print w "x" h "+" x "+" y " " o}')
[ "$geometry" = "800x600+0+0 yes" ] && pass "covers the screen, past the window manager" || fail "window: $geometry"
shot "$WORK/full.png"
read -r lit _ <<<"$(stats "$WORK/full.png")"
((lit > 100)) && pass "draws ($lit lit pixels)" || fail "full screen: $lit lit pixels"
xdotool mousemove 100 100
expect_alive "first movement"
xdotool mousemove 101 100
expect_alive "one pixel right"
xdotool mousemove 101 101
expect_alive "one pixel down"
xdotool mousemove 102 102
expect_end "a diagonal one-pixel step"
[ ! -s "$WORK/stderr" ] || fail "unexpected stderr: $(cat "$WORK/stderr")"

start_full
xdotool mousemove 200 200
expect_alive "first movement"
xdotool mousemove 200 203
expect_end "three pixels down"

start_full
xdotool key a
expect_end "a key"

start_full
xdotool key Shift_L
expect_end "a modifier key alone"

start_full
xdotool click 1
expect_end "the left button"

start_full
xdotool click 2
expect_alive "the middle button"
xdotool click 3
expect_end "the right button"

start_full --no-mouse-sens
xdotool mousemove 10 10
xdotool mousemove 700 500
xdotool mousemove 20 590
expect_alive "large movements without MouseSens"
xdotool key space
expect_end "a key without MouseSens"

finish

#!/usr/bin/env bash
# Full screen on two monitors side by side, an 800x600 primary and a 640x480
# one, as Xephyr's Xinerama shows them (RandR off): each monitor gets an
# animation of its own, the clock and the FPS text go on the primary only.
source "$(dirname "$0")/lib.sh"
start_xvfb 1600x700x24
: >"$WORK/nested"
Xephyr -displayfd 3 -screen 800x600 -screen 640x480 +xinerama -extension RANDR -nolisten tcp \
  3>"$WORK/nested" 2>"$WORK/xephyr.log" &
track $!
wait_until 15 test -s "$WORK/nested" || { fail "Xephyr did not start: $(cat "$WORK/xephyr.log")"; finish; }
export DISPLAY=":$(head -n1 "$WORK/nested")" XDG_CONFIG_HOME="$WORK/config"
PRIMARY=800x600+0+0 SECOND=640x480+800+0

"$QUORVEX" --fullscreen --no-trace --show-clock --show-fps 2>"$WORK/stderr" &
QPID=$!
track "$QPID"
find_window "Quorvex Screen Saver" >/dev/null || { fail "no window: $(cat "$WORK/stderr")"; finish; }

lit_in() { stats "$1" "$2" | cut -d' ' -f1; }
# The clock's place at a monitor's top right (points alone cannot fill it).
clock_lit() { lit_in "$1" "260x70+$(($2 - 285))+25"; }
both_drawing() {
  shot "$1" && (($(lit_in "$1" $PRIMARY) > 100 && $(lit_in "$1" $SECOND) > 100))
}
primary_clock_only() {
  shot "$WORK/c.png" && (($(clock_lit "$WORK/c.png" 800) > 600 && $(clock_lit "$WORK/c.png" 1440) < 300))
}

wait_until 15 both_drawing "$WORK/a.png" && pass "both monitors show points" || fail "not both monitors drawn"
wait_until 10 primary_clock_only && pass "the clock on the primary only" ||
  fail "clock: $(clock_lit "$WORK/c.png" 800) lit on the primary, $(clock_lit "$WORK/c.png" 1440) on the second"
fps_primary=$(white "$WORK/a.png" 90x16+10+10)
fps_second=$(white "$WORK/a.png" 90x16+810+10)
((fps_primary > 20 && fps_second == 0)) && pass "FPS text on the primary only" ||
  fail "FPS text: $fps_primary white pixels on the primary, $fps_second on the second"

finish

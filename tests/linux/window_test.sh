#!/usr/bin/env bash
# The saver in its own window: lit points that move, and the three ways to
# end it (q, Escape, the window manager's close request), each with status 0.
source "$(dirname "$0")/lib.sh"
start_xvfb 800x600x24
export XDG_CONFIG_HOME="$WORK/config"

run_window() {
  "$QUORVEX" --geometry 640x480 "$@" 2>"$WORK/stderr" &
  QPID=$!
  track "$QPID"
  if ! WID=$(find_window "Quorvex Screen Saver"); then
    fail "no window appeared; quorvex $(alive "$QPID" && echo runs || echo ended): $(cat "$WORK/stderr")"
    finish
  fi
}

run_window
geometry=$(xwininfo -id "$WID" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
[ "$geometry" = "640x480" ] && pass "window is 640x480" || fail "window is $geometry"
sleep 1
shot "$WORK/a.png" "$WID"
sleep 0.6
shot "$WORK/b.png" "$WID"
read -r lit_a _ <<<"$(stats "$WORK/a.png")"
read -r lit_b _ <<<"$(stats "$WORK/b.png")"
changed=$(differ "$WORK/a.png" "$WORK/b.png")
((lit_a > 100 && lit_b > 100)) && pass "lit points ($lit_a, $lit_b pixels)" || fail "too few lit pixels: $lit_a, $lit_b"
((changed > 100)) && pass "the picture moves ($changed pixels changed)" || fail "the picture did not move ($changed)"

# A key other than q or Escape does not end the window.
xdotool mousemove 300 200 key a
sleep 0.5
alive "$QPID" && pass "'a' does not end the window" || fail "'a' ended the window"
xdotool key q
wait_exit "$QPID" 5
[ "$STATUS" = 0 ] && pass "q ends it with status 0" || fail "q: status $STATUS"
[ ! -s "$WORK/stderr" ] || fail "unexpected stderr: $(cat "$WORK/stderr")"

# Without trails only the current points are lit: 240 points of at most
# 3x3 pixels, twice that if the screenshot falls between the two puts of a
# frame. Anything more is left over from earlier frames.
run_window --no-trace --show-clock --no-primitive-points
sleep 2.5
shot "$WORK/c.png" "$WID"
read -r lit _ <<<"$(stats "$WORK/c.png" 640x360+0+120)"
read -r clock _ <<<"$(stats "$WORK/c.png" 400x90+240+20)"
((lit > 100 && lit <= 4320)) && pass "Trace off: $lit lit pixels, none left over" || fail "Trace off: $lit lit pixels"
((clock > 300)) && pass "clock drawn ($clock pixels)" || fail "clock: $clock lit pixels"
xdotool mousemove 300 200 key Escape
wait_exit "$QPID" 5
[ "$STATUS" = 0 ] && pass "Escape ends it with status 0" || fail "Escape: status $STATUS"

run_window
sleep 0.5
python3 "$HERE/xwindow_helper.py" close "$WID"
wait_exit "$QPID" 5
[ "$STATUS" = 0 ] && pass "close request ends it with status 0" || fail "close request: status $STATUS"

# No font at all: one warning, no clock, and the saver runs on.
printf '<?xml version="1.0"?>\n<fontconfig><cachedir>%s</cachedir></fontconfig>\n' "$WORK/fc" >"$WORK/nofonts.conf"
FONTCONFIG_FILE="$WORK/nofonts.conf" run_window --show-clock --no-trace
sleep 1.5
shot "$WORK/d.png" "$WID"
read -r clock _ <<<"$(stats "$WORK/d.png" 400x90+240+20)"
alive "$QPID" && pass "runs without a font" || fail "ended without a font"
xdotool mousemove 300 200 key q
wait_exit "$QPID" 5
lines=$(wc -l <"$WORK/stderr")
[ "$STATUS" = 0 ] && [ "$lines" = 1 ] && grep -q "clock" "$WORK/stderr" && pass "one warning about the clock" ||
  fail "no font: status $STATUS, stderr: $(cat "$WORK/stderr")"
# The points may pass through the corner; a clock would light far more.
((clock < 300)) && pass "no clock drawn ($clock lit pixels there)" || fail "clock area has $clock lit pixels"

finish

#!/usr/bin/env bash
# xscreensaver conventions: --window-id draws into a window someone else
# made, XSCREENSAVER_WINDOW is honoured, --root draws on the root window;
# input is ignored and SIGTERM or SIGINT end the run with status 0, as does
# the window going away.
source "$(dirname "$0")/lib.sh"
start_xvfb 800x600x24
export XDG_CONFIG_HOME="$WORK/config"

make_host() {
  python3 "$HERE/xwindow_helper.py" create 400 300 100 80 >"$WORK/host.id" &
  HOST_PID=$!
  track "$HOST_PID"
  wait_until 10 test -s "$WORK/host.id" || { fail "test window not made"; finish; }
  HOST=$(cat "$WORK/host.id")
}

make_host
# The empty host window: dark grey, nothing lit.
shot "$WORK/empty.png" "$HOST"
read -r lit_empty _ <<<"$(stats "$WORK/empty.png")"

"$QUORVEX" --window-id "$HOST" 2>"$WORK/stderr" &
QPID=$!
track "$QPID"
sleep 1.2
shot "$WORK/a.png" "$HOST"
sleep 0.5
shot "$WORK/b.png" "$HOST"
read -r lit cx cy _ <<<"$(stats "$WORK/a.png")"
((lit_empty == 0 && lit > 100)) && pass "draws into the test's window ($lit lit pixels)" ||
  fail "window not drawn into (empty $lit_empty, now $lit)"
((cx > 60 && cx < 340 && cy > 40 && cy < 260)) && pass "centred in the 400x300 window ($cx,$cy)" ||
  fail "centroid $cx,$cy"
changed=$(differ "$WORK/a.png" "$WORK/b.png")
((changed > 100)) && pass "the picture moves" || fail "the picture did not move ($changed)"
# Outside the window the screen stays black.
shot "$WORK/root.png"
read -r outside _ <<<"$(stats "$WORK/root.png" 90x600+0+0)"
((outside == 0)) && pass "nothing drawn outside the window" || fail "$outside lit pixels left of the window"

# Input is not ours to act on.
xdotool mousemove 300 200 key q key Escape click 1
sleep 0.5
alive "$QPID" && pass "keys and clicks are ignored" || fail "input ended a --window-id run"
kill -TERM "$QPID"
wait_exit "$QPID" 5
[ "$STATUS" = 0 ] && pass "SIGTERM: status 0" || fail "SIGTERM: status $STATUS"
[ ! -s "$WORK/stderr" ] || fail "unexpected stderr: $(cat "$WORK/stderr")"

# Hex ids, SIGINT, the plain-image path.
hex=$(printf '0x%x' "$HOST")
"$QUORVEX" --window-id "$hex" --no-shm --no-trace &
QPID=$!
track "$QPID"
sleep 1
shot "$WORK/c.png" "$HOST"
read -r lit _ <<<"$(stats "$WORK/c.png")"
((lit > 50)) && pass "hex id $hex without shared memory draws ($lit)" || fail "hex id / plain images: $lit lit"
kill -INT "$QPID"
wait_exit "$QPID" 5
[ "$STATUS" = 0 ] && pass "SIGINT: status 0" || fail "SIGINT: status $STATUS"

# XSCREENSAVER_WINDOW with --root, as xscreensaver starts its hacks.
XSCREENSAVER_WINDOW=$HOST "$QUORVEX" --root &
QPID=$!
track "$QPID"
sleep 1
shot "$WORK/d.png" "$HOST"
shot "$WORK/d-root.png"
read -r lit _ <<<"$(stats "$WORK/d.png")"
read -r outside _ <<<"$(stats "$WORK/d-root.png" 90x600+0+0)"
((lit > 100 && outside == 0)) && pass "XSCREENSAVER_WINDOW honoured" ||
  fail "XSCREENSAVER_WINDOW: $lit lit inside, $outside outside"

# The window goes away under it: a normal end.
kill "$HOST_PID"
wait_exit "$QPID" 5
[ "$STATUS" = 0 ] && pass "window destroyed: status 0" || fail "window destroyed: status $STATUS"

# The root window itself.
"$QUORVEX" --root &
QPID=$!
track "$QPID"
sleep 1
shot "$WORK/e.png"
read -r lit cx cy _ <<<"$(stats "$WORK/e.png")"
((lit > 100 && cx > 100 && cx < 700)) && pass "--root draws on the root window ($lit)" || fail "--root: $lit lit at $cx"
kill -TERM "$QPID"
wait_exit "$QPID" 5
[ "$STATUS" = 0 ] && pass "--root SIGTERM: status 0" || fail "--root SIGTERM: status $STATUS"

finish

#!/usr/bin/env bash
# A resized window rebuilds the surface: the points are drawn all over the
# new size and centred in it, not left in the old corner.
source "$(dirname "$0")/lib.sh"
start_xvfb 1024x768x24
export XDG_CONFIG_HOME="$WORK/config"

check_centred() {  # FILE W H [OLDW OLDH]
  read -r lit cx cy minx miny maxx maxy <<<"$(stats "$1")"
  local w=$2 h=$3
  if ((lit < 50)); then
    fail "after resize to ${w}x${h}: only $lit lit pixels"
    return
  fi
  # Without depth motion the object's centre stays within 2.75 units (of
  # the 4 that half the width spans) on x and 1.8 (of 3) on y from the
  # middle; half a unit more allows for the shape around it.
  local sx=$((w / 8)) sy=$((h / 6))
  if ((cx > w / 2 - sx * 325 / 100 && cx < w / 2 + sx * 325 / 100 &&
    cy > h / 2 - sy * 230 / 100 && cy < h / 2 + sy * 230 / 100)); then
    pass "${w}x${h}: points centred (centroid $cx,$cy)"
  else
    fail "${w}x${h}: centroid $cx,$cy is not near the middle"
  fi
  [ -z "${4:-}" ] && return
  if ((maxx >= $4 || maxy >= $5)); then
    pass "${w}x${h}: points beyond the old ${4}x${5} area (up to $maxx,$maxy)"
  else
    fail "${w}x${h}: all points inside the old ${4}x${5} area"
  fi
}

"$QUORVEX" --geometry 240x180 --no-trace 2>"$WORK/stderr" &
QPID=$!
track "$QPID"
WID=$(find_window "Quorvex Screen Saver") || { fail "no window"; finish; }
sleep 0.4
xdotool windowsize "$WID" 960 720
sleep 0.8
shot "$WORK/big.png" "$WID"
check_centred "$WORK/big.png" 960 720 240 180

# And once more, to a size of another shape.
xdotool windowsize "$WID" 1000 400
sleep 0.8
shot "$WORK/wide.png" "$WID"
check_centred "$WORK/wide.png" 1000 400

kill -TERM "$QPID"
wait_exit "$QPID" 5
[ "$STATUS" = 0 ] && pass "SIGTERM ends the window with status 0" || fail "SIGTERM: status $STATUS"
finish

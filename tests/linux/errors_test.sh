#!/usr/bin/env bash
# Bad input: an unknown option, a bad geometry or window id, no X display ->
# exactly one line on stderr and status 2, and no window.
source "$(dirname "$0")/lib.sh"
export XDG_CONFIG_HOME="$WORK/config"

expect_error() {  # DESCRIPTION WORD-IN-MESSAGE COMMAND...
  local what=$1 word=$2
  shift 2
  timeout 10 "$@" >"$WORK/out" 2>"$WORK/err"
  local status=$?
  local lines
  lines=$(wc -l <"$WORK/err")
  if [ "$status" = 2 ] && [ "$lines" = 1 ] && grep -q -- "$word" "$WORK/err" && [ ! -s "$WORK/out" ]; then
    pass "$what: status 2, one line"
  else
    fail "$what: status $status, $lines stderr lines: $(head -c 300 "$WORK/err")"
  fi
}

# Without any display.
(
  unset DISPLAY
  expect_error "DISPLAY unset" "DISPLAY" "$QUORVEX"
  expect_error "DISPLAY unset, full screen" "DISPLAY" "$QUORVEX" --fullscreen
  finish
) || FAILURES=$((FAILURES + 1))
DISPLAY=:4711 expect_error "no server at the display" ":4711" "$QUORVEX"
expect_error "--display to nowhere" "nowhere:0" "$QUORVEX" --display nowhere:0

start_xvfb 640x480x24
expect_error "unknown option" "--sparkle" "$QUORVEX" --sparkle
expect_error "stray argument" "stray" "$QUORVEX" stray
expect_error "bad geometry" "geometry" "$QUORVEX" --geometry 0x480
expect_error "malformed geometry" "geometry" "$QUORVEX" --geometry 640x
expect_error "bad window id" "window id" "$QUORVEX" --window-id 12abc
expect_error "window id zero" "window id" "$QUORVEX" --window-id 0
expect_error "window id missing its value" "missing" "$QUORVEX" --window-id
expect_error "window that does not exist" "no window" "$QUORVEX" --window-id 0x7ffffff
XSCREENSAVER_WINDOW=garbage expect_error "bad XSCREENSAVER_WINDOW" "XSCREENSAVER_WINDOW" "$QUORVEX" --root
expect_error "bad trace mode" "trace mode" "$QUORVEX" --trace-mode smoke
expect_error "trace length out of range" "trace length" "$QUORVEX" --trace-length 4
expect_error "a newline in an argument stays one line" "unknown" "$QUORVEX" $'--x\ny'
# No window was left behind by any of these.
if xdotool search --name "Quorvex Screen Saver" >/dev/null 2>&1; then fail "a window appeared"; else pass "no window appeared"; fi

"$QUORVEX" --help-window >"$WORK/help" 2>&1
status=$?
[ "$status" = 0 ] && grep -q -- "--window-id" "$WORK/help" && pass "--help-window" || fail "--help-window: $status"
finish

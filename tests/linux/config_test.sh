#!/usr/bin/env bash
# `quorvex config` and the settings file as a user meets them: defaults,
# --set writing the file, bad lines warned about and replaced by defaults,
# and the precedence of command line over file over defaults in a run.
source "$(dirname "$0")/lib.sh"
export XDG_CONFIG_HOME="$WORK/config"
FILE="$XDG_CONFIG_HOME/quorvex/settings"
DEFAULTS="ShowFPS=0
UnSortPoints=0
MouseSens=1
Move3D=0
PrimitivePoints=1
HuesOfGray=0
Trace=1
ShowClock=0
TraceModeInd=2
TraceLength=1"

out=$("$QUORVEX" config 2>"$WORK/err")
[ "$out" = "$DEFAULTS" ] && [ ! -s "$WORK/err" ] && pass "no file: the defaults, silently" || fail "defaults: $out $(cat "$WORK/err")"
[ ! -e "$FILE" ] && pass "reading makes no file" || fail "config made a file"
[ "$("$QUORVEX" config --path)" = "$FILE" ] && pass "path under XDG_CONFIG_HOME" || fail "path: $("$QUORVEX" config --path)"
[ "$(XDG_CONFIG_HOME= HOME=/nonexistent/home "$QUORVEX" config --path)" = /nonexistent/home/.config/quorvex/settings ] &&
  pass "path falls back to ~/.config" || fail "fallback path"

"$QUORVEX" config --set ShowFPS=1 --set TraceModeInd=0 && pass "--set succeeds" || fail "--set failed"
expected=$(sed -e 's/^ShowFPS=0/ShowFPS=1/' -e 's/^TraceModeInd=2/TraceModeInd=0/' <<<"$DEFAULTS")
[ "$(cat "$FILE")" = "$expected" ] && pass "file holds ten lines" || fail "file: $(cat "$FILE")"
[ "$("$QUORVEX" config)" = "$expected" ] && pass "config shows the stored values" || fail "config after --set"
[ "$(ls -A "$XDG_CONFIG_HOME/quorvex")" = settings ] && pass "no temporary left" || fail "left: $(ls -A "$XDG_CONFIG_HOME/quorvex")"

for bad in Bogus=1 Trace=2 TraceLength=4 TraceModeInd=-1 Trace= Trace; do
  before=$(cat "$FILE")
  "$QUORVEX" config --set "$bad" 2>"$WORK/err"
  status=$?
  if [ "$status" = 2 ] && [ "$(wc -l <"$WORK/err")" = 1 ] && [ "$(cat "$FILE")" = "$before" ]; then
    pass "--set $bad refused, file untouched"
  else
    fail "--set $bad: status $status, $(cat "$WORK/err")"
  fi
done

printf 'ShowFPS=1\nTrace=maybe\nNoSuchThing=1\nTraceLength=3\ngarbage\n' >"$FILE"
out=$("$QUORVEX" config 2>"$WORK/err")
[ "$(wc -l <"$WORK/err")" = 3 ] && pass "one warning per bad line" || fail "warnings: $(cat "$WORK/err")"
grep -q '^Trace=1$' <<<"$out" && grep -q '^TraceLength=3$' <<<"$out" && grep -q '^ShowFPS=1$' <<<"$out" &&
  pass "bad line -> default, good lines kept" || fail "settings in force: $out"

# The file must not be able to crash the reader.
head -c 20000 /dev/urandom >"$FILE"
"$QUORVEX" config >"$WORK/out" 2>"$WORK/err"
status=$?
[ "$status" = 0 ] && [ "$(wc -l <"$WORK/out")" = 10 ] && pass "random bytes: defaults and warnings" ||
  fail "random file: status $status"

# Precedence in a run, seen on screen: the FPS text (white at 10,10) is on
# when the file says so, and off when the command line says so.
start_xvfb 640x480x24
printf 'ShowFPS=1\n' >"$FILE"
fps_pixels() {
  "$QUORVEX" --geometry 640x480 "$@" &
  local pid=$!
  track "$pid"
  local wid
  wid=$(find_window "Quorvex Screen Saver") || { fail "no window"; finish; }
  sleep 1
  shot "$WORK/fps.png" "$wid"
  kill -TERM "$pid"
  wait_exit "$pid" 5
  white "$WORK/fps.png" 60x16+8+8
}
on=$(fps_pixels)
off=$(fps_pixels --no-show-fps)
((on > 20)) && pass "file's ShowFPS=1 shows the FPS text ($on white pixels)" || fail "FPS text from the file: $on"
((off == 0)) && pass "--no-show-fps wins over the file" || fail "--no-show-fps: $off white pixels"
finish

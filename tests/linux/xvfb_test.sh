#!/usr/bin/env bash
# The front end as users and xscreensaver meet it, one row per case:
#   row DESCRIPTION ENVIRONMENT ARGUMENTS STEP...
# ENVIRONMENT and ARGUMENTS are shell words (expanded when the row runs, so
# \$HOST is the test's own window); each STEP acts on the running saver or
# checks it, in order (see step below). Rows share one 1024x768 Xvfb; a
# group needing another server starts it before its rows.
source "$(dirname "$0")/lib.sh"
export XDG_CONFIG_HOME="$WORK/config"
SETTINGS="$XDG_CONFIG_HOME/quorvex/settings"

# The saver's window: its own (found by its process id) or the one it was given.
find_own() { WID=$(xdotool search --onlyvisible --pid "$QPID" 2>/dev/null | head -n1) && [ -n "$WID" ]; }
lit_over() {  # MIN CROP
  shot "$WORK/s.png" "$WID" && N=$(lit "$WORK/s.png" "$2") && ((N >= $1))
}
moved() {  # compare fails when the pictures differ
  shot "$WORK/a.png" "$WID" && shot "$WORK/b.png" "$WID" || return 1
  N=$(compare -metric AE "$WORK/a.png" "$WORK/b.png" null: 2>&1)
  ((${N%% *} > 100))
}
centred() {  # W H OLD-W OLD-H: the picture spans past the old size, its middle near the new one's
  shot "$WORK/s.png" "$WID" && read -r bw bh bx by <<<"$(box "$WORK/s.png")" && N="$bw $bh $bx $by" &&
    ((bx + bw > ${3:-0} || by + bh > ${4:-0})) && (((2 * bx + bw - $1) ** 2 * 25 < 16 * $1 ** 2 && (2 * by + bh - $2) ** 2 * 25 < 16 * $2 ** 2))
}
never() {  # MS COMMAND...: the command stays false that long
  local end=$(($(now_ms) + $1))
  shift
  while (($(now_ms) < end)); do "$@" && return 1; sleep 0.05; done
}
prop() { xprop -id "$WID" "$1" 2>/dev/null; }
step() {
  local arg=${1#*:}
  N=
  case $1 in
    own) wait_until 20 find_own ;;
    host) WID=$HOST ;;
    root) WID=root ;;
    geom:*) N=$(xwininfo -id "$WID" | awk '/upper-left X/ {x=$4} /upper-left Y/ {y=$4} /Width/ {w=$2}
      /Height/ {h=$2} /Override/ {o=$4} END {print w "x" h "+" x "+" y "/" o}') && [[ $N == "$arg"* ]] ;;
    props) N=$(prop _NET_WM_PID; prop WM_CLIENT_MACHINE; prop _NET_WM_NAME; prop WM_NAME) &&
      [ "$N" = "_NET_WM_PID(CARDINAL) = $QPID
WM_CLIENT_MACHINE(STRING) = \"$(hostname)\"
_NET_WM_NAME(UTF8_STRING) = \"Quorvex Screen Saver\"
WM_NAME(STRING) = \"Quorvex Screen Saver\"" ] ;;
    state) N=$(prop _NET_WM_STATE) && [[ $N == *_NET_WM_STATE_FULLSCREEN* ]] ;;
    lit:*) wait_until 10 lit_over "${arg%@*}" "$(echo "$arg" | grep -o '@.*' | cut -c2-)" ;;
    dark:*) shot "$WORK/r.png" root && N=$(lit "$WORK/r.png" "$arg") && ((N == 0)) ;;
    most:*) never 2000 eval '! lit_over 0 "${arg#*@}" || ((N > ${arg%@*}))' ;;
    moves) wait_until 10 moved ;;
    centred:*) wait_until 10 centred ${arg//[x,]/ } ;;
    white:*) wait_until 10 eval 'shot "$WORK/s.png" "$WID" && N=$(white "$WORK/s.png" 60x16+8+8) && ((N > $arg))' ;;
    nowhite) never 1500 eval 'shot "$WORK/s.png" "$WID" && N=$(white "$WORK/s.png" 60x16+8+8) && ((N > 0))' ;;
    key:* | click:*) xdotool "${1%%:*}" "$arg" ;;
    move:*) xdotool mousemove ${arg/,/ } ;;
    resize:*) xdotool windowsize "$WID" ${arg/x/ } ;;
    close) python3 "$HERE/xhelper.py" close "$WID" ;;
    signal:*) kill -"$arg" "$QPID" ;;
    killhost) kill "$HOST_PID" ;;
    alive) never 600 ended "$QPID" ;;
    end:*) wait_until 5 ended "$QPID" && { wait "$QPID"; N=$?; ((N == arg)); } ;;
    err:*) N=$(cat "$WORK/err") && [ "$(wc -l <"$WORK/err")" = 1 ] && [[ $N == *"$arg"* ]] && [ ! -s "$WORK/out" ] ;;
    warns:*) N=$(cat "$WORK/err") && [ "$(wc -l <"$WORK/err")" = "${arg%%:*}" ] && [[ $N == *"${arg#*:}"* ]] ;;
    quiet) N=$(cat "$WORK/err") && [ -z "$N" ] ;;
    out:*) N=$(cat "$WORK/out") && [ "$N" = "$(eval "echo \"$arg\"")" ] ;;
    says:*) N=$(cat "$WORK/out") && for w in ${arg//,/ }; do [[ $N == *"$w"* ]] || return 1; done ;;
    file:*) N=$(cat "$SETTINGS") && [ "$N" = "$(eval "echo \"$arg\"")" ] ;;
    write:*) mkdir -p "${SETTINGS%/*}" && eval "$arg" >"$SETTINGS" ;;
    *) echo "no step $1" >&2; return 1 ;;
  esac
}
row() {
  local what=$1 env=$2 args=$3 s
  shift 3
  [[ $what == *"${ONLY:-}"* ]] || return 0
  for s in "$@"; do [[ $s == write:* ]] && step "$s"; done
  eval "exec env $env \"\$QUORVEX\" $args" >"$WORK/out" 2>"$WORK/err" &
  QPID=$! WID=
  track "$QPID"
  for s in "$@"; do
    [[ $s == write:* ]] || step "$s" || { fail "$what: $s (saw: ${N:-})"; break; }
  done
  kill "$QPID" 2>/dev/null
  wait "$QPID" 2>/dev/null
}

DEFAULTS=$'ShowFPS=0\nUnSortPoints=0\nMouseSens=1\nMove3D=0\nPrimitivePoints=1\nHuesOfGray=0\nTrace=1\nShowClock=0\nTraceModeInd=2\nTraceLength=1'
# Without a display.
row "no DISPLAY" "-u DISPLAY" "" end:2 err:DISPLAY
row "no DISPLAY, full screen" "-u DISPLAY" --fullscreen end:2 err:DISPLAY
row "no server there" DISPLAY=:4711 "" end:2 err::4711
row "--display to nowhere" "" "--display nowhere:0" end:2 err:nowhere:0
row "help" "-u DISPLAY" --help end:0 says:config,shapes,render,--fullscreen,--root,--window-id,XDG_CONFIG_HOME,.config/quorvex/settings
row "version" "-u DISPLAY" --version end:0 "out:quorvex \$(sed -n 's/^project(Quorvex VERSION \([0-9.]*\).*/\1/p' \$HERE/../../CMakeLists.txt)"
row "window help" "-u DISPLAY" -help-window end:0 quiet
row "config: defaults, no file made" "" config end:0 "out:\$DEFAULTS" quiet
row "config --path" "XDG_CONFIG_HOME= HOME=/nonexistent/home" "config --path" end:0 out:/nonexistent/home/.config/quorvex/settings
SET=$(sed -e s/ShowFPS=0/ShowFPS=1/ -e s/TraceModeInd=2/TraceModeInd=0/ -e s/TraceLength=1/TraceLength=3/ <<<"$DEFAULTS")
row "config --set" "" "config --set ShowFPS=1 --set=TraceModeInd=0 --set TraceLength=3" end:0 quiet "file:\$SET"
row "config shows the file" "" config end:0 "out:\$SET"
for bad in Bogus=1 Trace=2 TraceLength=4 TraceModeInd=3 TraceModeInd=-1 Trace= Trace; do
  row "config --set $bad" "" "config --set $bad" end:2 err:"${bad%=*}" "file:\$SET"
done
[ -n "${ONLY:-}" ] || [ "$(ls -A "${SETTINGS%/*}")" = settings ] || fail "config left: $(ls -A "${SETTINGS%/*}")"
row "config: bad lines warned" "" config 'write:printf "ShowFPS=1\nTrace=maybe\nNoSuch=1\nTraceLength=3\njunk\n"' end:0 warns:3:Trace \
  "out:\$(sed -e s/ShowFPS=0/ShowFPS=1/ -e s/TraceLength=1/TraceLength=3/ <<<\"\$DEFAULTS\")"
row "config: random bytes" "" config "write:head -c 20000 /dev/urandom" end:0 says:TraceLength=
rm -f "$SETTINGS"

start_xvfb 1024x768x24
for bad in "--sparkle|--sparkle" "stray|stray" "--geometry 0x480|geometry" "--geometry 640x|geometry" \
  "--window-id 12abc|window id" "--window-id 0|window id" "--window-id|missing" "--window-id 0x7ffffff|no window" \
  "--trace-mode smoke|trace mode" "--trace-length 4|trace length" "--duration 0|duration" \
  "--root --fullscreen|exclude" "--fullscreen --geometry 10x10|geometry" "\$'--x\\ny'|unknown"; do
  row "bad: ${bad%|*}" "" "${bad%|*}" end:2 "err:${bad#*|}"
done
row "bad XSCREENSAVER_WINDOW" XSCREENSAVER_WINDOW=garbage --root end:2 err:XSCREENSAVER_WINDOW
[ -z "$(xdotool search --name Quorvex 2>/dev/null)" ] || fail "bad input left a window"

row "window" "" "--geometry 640x480" own geom:640x480 props lit:100 moves move:300,200 key:a alive key:q end:0 quiet
row "window, Trace off, clock" "" "--geometry 640x480 --no-trace --show-clock --no-primitive-points" own \
  lit:100@640x360+0+120 most:4320@640x360+0+120 lit:300@400x90+240+20 move:300,200 key:Escape end:0
row "close request" "" "" own lit:100 close end:0
printf '<?xml version="1.0"?>\n<fontconfig><cachedir>%s</cachedir></fontconfig>\n' "$WORK/fc" >"$WORK/nofonts.conf"
row "no font: no clock, one warning" "FONTCONFIG_FILE=\$WORK/nofonts.conf" "--show-clock --no-trace -geometry=640x480" own \
  lit:100 most:300@400x90+240+20 alive move:300,200 key:q end:0 warns:1:clock
row "resize" "" "--geometry 240x180 --no-trace" own lit:50 resize:960x720 centred:960x720,240x180 \
  resize:1000x400 centred:1000x400 signal:TERM end:0
row "FPS from the file" "" "--geometry 640x480" 'write:echo ShowFPS=1' own white:20 signal:INT end:0
row "--no-show-fps over the file" "" "--geometry 640x480 --no-show-fps" 'write:echo ShowFPS=1' own lit:100 nowhite
rm -f "$SETTINGS"

# Full screen, by the rules of the Windows saver.
row "full screen, mouse" "" --fullscreen own lit:100 geom:1024x768+0+0/yes props state quiet move:100,100 alive \
  move:101,100 alive move:101,101 alive move:102,102 end:0
row "full screen, 3 px" "" --fullscreen own lit:100 move:200,200 alive move:200,203 end:0
row "full screen, key" "" --fullscreen own lit:100 key:a end:0
row "full screen, modifier" "" --fullscreen own lit:100 key:Shift_L end:0
row "full screen, left button" "" --fullscreen own lit:100 click:1 end:0
row "full screen, middle, right" "" --fullscreen own lit:100 click:2 alive click:3 end:0
row "full screen, no MouseSens" "" "--fullscreen --no-mouse-sens" own lit:100 move:10,10 move:700,500 move:20,590 alive key:space end:0
# A window manager that does full screen (its check window is the root
# here) is asked instead of passed.
R=$(xwininfo -root | awk '/Window id/ {print $4}')
xprop -root -f _NET_SUPPORTING_WM_CHECK 32x -set _NET_SUPPORTING_WM_CHECK "$R"
xprop -root -f _NET_SUPPORTED 32a -set _NET_SUPPORTED _NET_WM_STATE_FULLSCREEN
row "full screen, window manager" "" --fullscreen own lit:100 geom:1024x768+0+0/no state key:a end:0
xprop -root -remove _NET_SUPPORTING_WM_CHECK

# Someone else's window: the test's, the root, XSCREENSAVER_WINDOW.
python3 "$HERE/xhelper.py" create 400 300 100 80 >"$WORK/host" &
HOST_PID=$!
track "$HOST_PID"
wait_until 10 test -s "$WORK/host" || fail "no test window"
HOST=$(cat "$WORK/host")
row "--window-id" "" "--window-id \$HOST" host lit:100 moves dark:90x768+0+0 key:q click:1 alive signal:TERM end:0 quiet
row "hex id, no shm, SIGINT" "" "-window-id \$(printf 0x%x \$HOST) --no-shm --no-trace" host lit:50 signal:INT end:0
row "XSCREENSAVER_WINDOW, no mode" XSCREENSAVER_WINDOW=\$HOST "" host lit:100 dark:90x768+0+0 signal:TERM end:0
row "--root" "" --root root lit:100 key:q alive signal:TERM end:0
row "xscreensaver's way, window gone" XSCREENSAVER_WINDOW=\$HOST -root host lit:100 dark:90x768+0+0 killhost end:0
finish

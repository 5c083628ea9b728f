#!/usr/bin/env bash
# The front end as users and xscreensaver meet it: `row WHAT ENV ARGS STEP...` runs quorvex with ENV and ARGS
# (shell words, expanded then) and does or checks each STEP in order; ONLY=TEXT runs the rows whose WHAT has it.
source "$(dirname "$0")/lib.sh"
export XDG_CONFIG_HOME="$WORK/config"
SETTINGS="$XDG_CONFIG_HOME/quorvex/settings"

find_own() { WID=$(xdotool search --onlyvisible --pid "$QPID" 2>/dev/null | head -n1) && [ -n "$WID" ]; }
over() { shot "$WORK/s.png" "$WID" && N=$("$1" "$WORK/s.png" "$3") && (($2 ? N >= $2 : N == 0)); }  # lit|white MIN CROP
moved() { shot "$WORK/a.png" "$WID" && shot "$WORK/b.png" "$WID" &&
  N=$(compare -metric AE "$WORK/a.png" "$WORK/b.png" null: 2>&1 || :) && ((${N%% *} > 100)); }
same() { shot "$WORK/b.png" "$WID" && N=$(compare -metric AE "$WORK/"[ab].png null: 2>&1 || :) && ((${N%% *} == 0)); }
cover() { rm -f "$WORK/cover" && { python3 "$HERE/xhelper.py" create 0 0 1024 768 >"$WORK/cover" & }
  track $! && wait_until 5000 test -s "$WORK/cover"; kill $! && wait $!; wait_until 2000 same; }  # then exposed
centred() {  # W H [OLD-W OLD-H]: the points reach past the old size and centre near the new one's middle
  shot "$WORK/s.png" "$WID" && read -r w h x y <<<"$(box "$WORK/s.png")" && N="$w $h $x $y" && ((x + w > ${3:-0} ||
    y + h > ${4:-0})) && (((2 * x + w - $1) ** 2 * 25 < 16 * $1 ** 2 && (2 * y + h - $2) ** 2 * 25 < 16 * $2 ** 2))
}
placed() { N=$(xwininfo -id "$WID" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} /Width/ {w=$2}
  /Height/ {h=$2} /Override/ {o=$4} END {print w "x" h "+" x "+" y "/" o}') && [[ $N == "$1"* ]]; }
step() {
  local arg=${1#*:} crop='' title='"Quorvex Screen Saver"'
  [[ $arg == *@* ]] && crop=${arg#*@}
  N=
  case $1 in
    own) wait_until 20000 find_own ;;
    host | root) WID=${HOST:-}; [ "$1" = host ] || WID=root ;;
    geom:*) wait_until 5000 placed "$arg" ;;  # a window manager places its windows when it comes to it
    props) N=$(xprop -id "$WID" _NET_WM_PID WM_CLIENT_MACHINE _NET_WM_NAME WM_NAME | sed 's/^[A-Z_]*//' | tr '\n' ' ')
      [ "$N" = "(CARDINAL) = $QPID (STRING) = \"$(hostname)\" (UTF8_STRING) = $title (STRING) = $title " ] ;;
    state) N=$(xprop -id "$WID" _NET_WM_STATE) && [[ $N == *_NET_WM_STATE_FULLSCREEN* ]] ;;
    lit:* | white:*) wait_until 10000 over "${1%%:*}" "${arg%@*}" "$crop" ;;  # white:0@CROP: none there now
    most:*) ! wait_until 2000 eval 'over lit 1 "$crop" && ((N > ${arg%@*}))' ;;
    dark:*) shot "$WORK/r.png" root && N=$(lit "$WORK/r.png" "$arg") && ((N == 0)) ;;
    moves) wait_until 10000 moved ;;
    still) wait_until 5000 eval 'shot "$WORK/a.png" "$WID" && same' && ! wait_until 1000 eval '! same' ;;  # shot a
    cover) cover ;;
    centred:*) wait_until 10000 centred ${arg//[x,]/ } ;;
    key:* | click:*) xdotool "${1%%:*}" "$arg" ;;
    move:*) xdotool mousemove ${arg/,/ } ;;
    resize:*) xdotool windowsize "$WID" ${arg/x/ } ;;
    close) python3 "$HERE/xhelper.py" close "$WID" ;;
    monitor:* | screen:*) python3 "$HERE/xhelper.py" "${1%%:*}" ${arg//:/ } ;;
    killhost) kill "$HELPER_PID" ;;
    out:*) N=$(cat "$WORK/out") && [ "$N" = "$(eval "echo \"$arg\"")" ] ;;
    says:*) N=$(cat "$WORK/out") && for w in ${arg//,/ }; do [[ $N == *"$w"* ]] || return 1; done ;;
    file:*) N=$(cat "$SETTINGS") && [ "$N" = "$(eval "echo \"$arg\"")" ] ;;
    only:*) N=$(ls -A "${arg%=*}" 2>/dev/null); [ "$N" = "${arg#*=}" ] ;;
    *) base_step "$1" ;;
  esac
}

# The command line, the stored settings and `quorvex config`, without a display.
for bad in "|DISPLAY" "--display nowhere:0|nowhere:0" "--sparkle|--sparkle" "stray|stray" "--geometry 0x480|geometry" \
  "--geometry 640x0|geometry" "--geometry 16385x10|geometry" "--geometry 640X480|geometry" "--window-id|missing" \
  "--window-id 12abc|window id" "--window-id 0|window id" "--window-id 0x100000000|window id" \
  "--window-id 4294967296|window id" "--trace-mode smoke|trace mode" "--trace-mode 3|trace mode" \
  "--trace-length 4|trace length" "--duration 0|duration" "--duration 86401|duration" "--root --fullscreen|exclude" \
  "--fullscreen --geometry 10x10|geometry" "--fullscreen=yes|no value" "--no-geometry|unknown" "\$'--x\\ny'|unknown" \
  "--backend mir|back end" "--backend wayland --root|X11 back end" "--backend wayland --display :0|X display"; do
  row "bad: ${bad%|*}" -u\ DISPLAY "${bad%|*}" end:2 "err:1:${bad#*|}" out:
done
row "help" "-u DISPLAY" --help end:0 \
  says:config,shapes,render,--fullscreen,--root,--window-id,XDG_CONFIG_HOME,.config/quorvex/settings

put() { printf "$@" | install -D -m 644 /dev/stdin "$SETTINGS"; }  # FORMAT ARGS...: the settings file
DEFAULTS=$(printf '%s\n' ShowFPS=0 UnSortPoints=0 MouseSens=1 Move3D=0 PrimitivePoints=1 HuesOfGray=0 Trace=1 \
  ShowClock=0 TraceModeInd=2 TraceLength=1)
SET=$(sed -e s/FPS=0/FPS=1/ -e s/Ind=2/Ind=0/ -e s/Length=1/Length=3/ <<<"$DEFAULTS")
row "config: defaults, no file made" "" config end:0 "out:\$DEFAULTS" err:0: "only:$XDG_CONFIG_HOME="
row "config --path" XDG_CONFIG_HOME=/x "config --path" end:0 out:/x/quorvex/settings
row "config --path, home" "XDG_CONFIG_HOME=rel HOME=/h" "config --path" end:0 out:/h/.config/quorvex/settings
row "config --set" "" "config --set ShowFPS=1 --set=TraceModeInd=0 --set TraceLength=3" end:0 err:0: "file:\$SET" \
  "only:${SETTINGS%/*}=settings"
for bad in Bogus=1 Trace=2 TraceLength=4 TraceModeInd=3 TraceModeInd=-1 Trace= Trace; do
  row "config --set $bad" "" "config --set $bad" end:2 err:1:"${bad%=*}" "file:\$SET"
done
mkdir -p "$WORK/blocked/quorvex/settings"
row "config --set, no way to write" XDG_CONFIG_HOME=\$WORK/blocked "config --set Trace=0" end:1 err:2:"cannot write" \
  "only:$WORK/blocked/quorvex=settings"
put 'ShowFPS=1\nTrace=maybe\nNoSuch=1\nTraceLength=3\njunk\nMove3D=1\nMove3D=07\nTraceModeInd=0\n'
row "config: bad lines warned" "" config end:0 err:4:Move3D "out:\$SET"
put '\x01\xff=\0z\n%.0s' {1..20}
row "config: junk, ten warnings and a line for the rest" "" config end:0 err:11:"not listed" "out:\$DEFAULTS"
rm -f "$SETTINGS"

start_x Xvfb -screen 0 1024x768x24 -noreset && HOSTDISPLAY=$DISPLAY
row "no such window" "" "--window-id 0XfFfFfFfF" end:2 err:1:"no window 0xffffffff"
row "bad XSCREENSAVER_WINDOW" XSCREENSAVER_WINDOW=garbage --root end:2 err:1:XSCREENSAVER_WINDOW
row "window" "" "--geometry 640x480" own geom:640x480 props lit:100 moves move:300,200 key:a alive key:q end:0 err:0:
row "window, Trace off, clock" "" "--geometry 640x480 --no-trace --show-clock --no-primitive-points" own \
  lit:100@640x360+0+120 most:4320@640x360+0+120 lit:300@400x90+240+20 move:300,200 key:Escape end:0
printf '<?xml version="1.0"?>\n<fontconfig><cachedir>%s</cachedir></fontconfig>\n' "$WORK/fc" >"$WORK/nofonts.conf"
# Held by SIGUSR1, the window shows what a full put of the frame shows after frames put by their changed parts.
row "held" "" "-geometry=640x480 --show-clock" own lit:100 moves signal:USR1 still cover signal:USR2 moves key:q end:0
row "held, Trace off" "" "-geometry=640x480 --no-trace --show-clock" own lit:100 signal:USR1 still cover key:q end:0
row "no font: no clock, one warning" "FONTCONFIG_FILE=\$WORK/nofonts.conf" "--show-clock --no-trace -geometry=640x480" \
  own lit:100 most:300@400x90+240+20 alive move:300,200 key:q end:0 err:1:clock
row "resize" "" "--geometry 240x180 --no-trace" own lit:50 resize:960x720 centred:960x720,240x180 \
  resize:1000x400 centred:1000x400 signal:TERM end:0
put 'ShowFPS=1\n'
row "FPS from the file, closed" "" "" own geom:1024x768 white:21@60x16+8+8 white:3@6x16+8+8 close end:0
rm -f "$SETTINGS"

row "full screen, mouse" "" --fullscreen own lit:100 geom:1024x768+0+0/yes props state err:0: move:100,100 alive \
  move:101,100 alive move:101,101 alive move:102,102 end:0
row "full screen, 3 px" "" --fullscreen own lit:100 move:200,200 alive move:200,203 end:0
row "full screen, buttons" "" --fullscreen own lit:100 click:2 click:4 alive click:3 end:0
row "no MouseSens" "" "--fullscreen --no-mouse-sens" own lit:100 move:10,10 move:700,500 alive click:1 end:0

# Someone else's window: the test's, the root, XSCREENSAVER_WINDOW.
coproc HELPER { exec python3 "$HERE/xhelper.py" create 100 80 400 300; }
track "$HELPER_PID"
read -r -t 10 HOST <&"${HELPER[0]}" || fail "no test window"
xprop -root -f _NET_SUPPORTED 32a -set _NET_SUPPORTED _NET_WM_STATE_FULLSCREEN  # a running manager: openbox below
xprop -root -f _NET_SUPPORTING_WM_CHECK 32x -set _NET_SUPPORTING_WM_CHECK "$HOST"  # one gone: not pointing to itself
row "WM gone, override" "" --fullscreen own lit:100 geom:1024x768+0+0/yes state key:a end:0
row "--window-id" "" "--window-id \$HOST" host lit:100 moves dark:90x768+0+0 key:q click:1 alive signal:TERM end:0
row "hex id, no shm, SIGINT" "" "-window-id \$(printf 0x%x \$HOST) --no-shm --no-trace" host lit:50 signal:INT end:0
row "XSCREENSAVER_WINDOW, no mode" XSCREENSAVER_WINDOW=\$HOST "" host lit:100 dark:90x768+0+0 signal:TERM end:0
row "XSCREENSAVER_WINDOW, --geometry wins" XSCREENSAVER_WINDOW=\$HOST "--geometry 300x200" own geom:300x200
row "XSCREENSAVER_WINDOW=1, --fullscreen wins" XSCREENSAVER_WINDOW=1 --fullscreen own geom:1024x768+0+0
row "--root" "" --root root lit:100 key:q alive signal:TERM end:0
row "like xscreensaver, window gone" XSCREENSAVER_WINDOW=\$HOST -root host lit:100 dark:90x768+0+0 killhost end:0 err:0:

# Two monitors side by side, as Xinerama tells them (RandR off): an animation of its own on each, the
# clock and the FPS text on the primary only. Without -noreset a client can meet the server resetting.
start_x Xephyr -screen 800x600 -screen 640x480 +xinerama -extension RANDR -noreset
row "full screen, two monitors" "" "--fullscreen --no-trace --show-clock --show-fps" own geom:1440x600+0+0 \
  lit:100@800x600+0+0 lit:100@640x480+800+0 white:21@60x16+8+8 white:0@60x16+808+8 lit:600@260x70+515+25 \
  most:299@260x70+1155+25 move:1100,200 key:a end:0
# A window manager doing full screen fills one monitor: with two the window goes past it.
wm() { HOME=$WORK openbox >"$WORK/wm.log" 2>&1 & WM=$! && track $WM && wait_until 10000 eval \
  'xprop -root _NET_CLIENT_LIST | grep -q WINDOW' || fail "no window manager"; }  # until then it may lose a window
wm && row "two monitors under a window manager" "" "--fullscreen --no-trace" own geom:1440x600+0+0/yes \
  lit:100@800x600+0+0 lit:100@640x480+800+0 key:a end:0
# RandR 1.5 monitors a client sets on one screen; L takes the output from M, which then goes.
kill $WM; export DISPLAY=$HOSTDISPLAY && start_x Xephyr -screen 1440x600 -noreset
step monitor:M:1040x600+400+0:o && wm && row "window manager, one monitor off the corner" "" \
  "--fullscreen --no-trace --show-fps" own geom:1040x600+400+0/no state white:21@60x16+8+8 key:a end:0
kill $WM; row "RandR: monitors replaced and added, the screen grown" "" "--fullscreen --no-trace --show-fps" \
  monitor:L:800x600+0+0:o own white:21@60x16+8+8 monitor:P:640x480+800+0:p lit:100@640x480+800+0 white:21@60x16+808+8 \
  white:0@60x16+8+8 screen:1600x1200 geom:1600x1200 monitor:Q:600x600+1000+600 lit:100@600x600+1000+600 key:a end:0
finish

#!/usr/bin/env bash
# The front end on Wayland: headless sway (the layer shell, two outputs) and weston on Xvfb (no layer shell; its X
# window lets xdotool type). Rows as in xvfb_test.sh. The compositors run as a plain user, as sway demands.
source "$(dirname "$0")/lib.sh"
export XDG_CONFIG_HOME="$WORK/config"
chmod 755 "$WORK"
ME=quorvex-test
AS_USER=()  # a prefix, not a function: the compositor must be our child itself, so that its PID is the one killed
if ((EUID == 0)); then
  id "$ME" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$ME"
  AS_USER=(setpriv --reuid="$ME" --regid="$(id -g "$ME")" --clear-groups)
else
  ME=$(id -un)
fi
compositor() {  # NAME COMMAND...: started in a runtime directory of its own; sets XDG_RUNTIME_DIR and WAYLAND_DISPLAY
  export XDG_RUNTIME_DIR="$WORK/$1"
  mkdir -m 700 "$XDG_RUNTIME_DIR" && chown "$ME" "$XDG_RUNTIME_DIR"
  "${AS_USER[@]}" "${@:2}" >"$WORK/$1.log" 2>&1 &
  COMPOSITOR=$!
  track $!
  wait_until 15000 socket_up || { cat "$WORK/$1.log" >&2 && exit 1; }
  export WAYLAND_DISPLAY=$S
}
socket_up() { S=$(ls "$XDG_RUNTIME_DIR" | grep -m1 -E '^(wayland-[0-9]+|wl-[a-z]+)$'); }
# lit|white MIN CROP: at least MIN such pixels there (none for 0); lit ones under half of it, the rest our black
seen() {
  local a=${3:-9999x9999}
  a=${a%%+*} && snap "$WORK/s.png" && N=$("$1" "$WORK/s.png" "$3") || return 1
  if (($2)); then ((N >= $2)) && { [ "$1" = white ] || ((N * 2 < ${a/x/*})); }; else ((N == 0)); fi
}
moved() {  # CROP: two pictures in a row differ there
  local f
  for f in a b; do snap "$WORK/$f.png" && convert "$WORK/$f.png" -crop "$1" +repage "$WORK/$f.png" || return 1; done
  N=$(compare -metric AE "$WORK/a.png" "$WORK/b.png" null: 2>&1 || :) && ((${N%% *} > 100))
}
tree() {  # "WxH TITLE" of our window
  swaymsg -t get_tree | jq -r '..|select(.app_id? == "quorvex")|"\(.window_rect.width)x\(.window_rect.height) \(.name)"'
}
step() {
  local arg=${1#*:} crop=''
  [[ $arg == *@* ]] && crop=${arg#*@}
  N=
  case $1 in
    lit:* | white:*) wait_until 10000 seen "${1%%:*}" "${arg%@*}" "$crop" ;;
    most:*) ! wait_until 2000 eval 'seen lit 1 "$crop" && ((N > ${arg%@*}))' ;;
    moves:*) wait_until 10000 moved "$arg" ;;
    bare:*) grim "$WORK/s.png" && N=$(convert "$WORK/s.png" -crop "$arg" -alpha extract -format '%[fx:maxima]' info:) &&
      [ "$N" = 0 ] ;;  # nothing drawn: the layout has no output there
    window:*) wait_until 10000 eval 'N=$(tree) && [ "$N" = "$arg" ]' ;;
    key:*) $TYPE "$arg" ;;
    gone) kill "$COMPOSITOR" ;;
    resized) wait_until 10000 eval 'SIZE=$(tree) && [[ $SIZE != 500x400* ]]' ;;
    sized) N=$(cat "$WORK/err") && [[ $N == *"surfaces ${SIZE%% *}:"* ]] ;;  # the last size given to the window
    sway:*) swaymsg -q -- "$arg" ;;
    cursor:*) swaymsg -q "seat - cursor set ${arg/,/ }" ;;
    press:*) swaymsg -q "seat - cursor press $arg" && swaymsg -q "seat - cursor release $arg" ;;
    rate:*) N=$(sed -n 's/.*(\([0-9]*\)\.[0-9] per second).*/\1/p' "$WORK/err") &&
      ((N >= ${arg%-*} && N <= ${arg#*-})) ;;
    *) base_step "$1" ;;
  esac
}

row "no compositor" "XDG_RUNTIME_DIR=\$WORK WAYLAND_DISPLAY=nowhere" "" end:2 "err:1:Wayland compositor 'nowhere' (is"
row "no runtime directory" "-u XDG_RUNTIME_DIR" "--backend wayland" end:2 "err:1:XDG_RUNTIME_DIR is not set"
printf 'output HEADLESS-%s\n' '1 resolution 800x600 position 0 0' '2 resolution 640x480 position 800 0' \
  '3 resolution 640x480 position 1440 0' >"$WORK/sway.conf"
echo 'for_window [app_id="quorvex"] floating enable' >>"$WORK/sway.conf"
compositor sway env WLR_BACKENDS=headless WLR_HEADLESS_OUTPUTS=2 WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
  sway -c "$WORK/sway.conf"
wait_until 5000 eval 'SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock 2>/dev/null)' && export SWAYSOCK
snap() { grim - | convert - -background black -alpha remove "$1"; }  # where no output is, black
TYPE=wtype
coproc DEVICES { exec python3 "$HERE/wlhelper.py"; }
track "$DEVICES_PID"
read -r -t 10 _ <&"${DEVICES[0]}" || fail "no virtual pointer and keyboard"

row "window" "" "--geometry 640x480" "window:640x480 Quorvex Screen Saver" lit:100 moves:640x480+80+60 key:a alive \
  key:q end:0 err:0:
row "window resized, closed" "" "--no-trace --geometry 500x400 --stats" "window:500x400 Quorvex Screen Saver" \
  "sway:[app_id=quorvex] resize set 300 200" resized lit:20 "sway:[app_id=quorvex] kill" end:0 sized
row "full screen, both outputs" "" "--fullscreen --no-trace --show-clock --show-fps" lit:100@800x600+0+0 \
  lit:100@640x480+800+0 moves:640x480+800+0 most:4320@640x480+800+0 white:21@60x16+8+8 white:0@60x16+808+8 \
  lit:600@260x70+515+25 bare:640x120+800+480 key:a end:0 err:0:
row "click on the second output" "" --fullscreen lit:100@640x480+800+0 cursor:1000,200 press:button4 press:button2 \
  alive press:button1 end:0
row "mouse-sens" "" "--fullscreen --mouse-sens" lit:100 cursor:300,300 cursor:301,300 alive cursor:303,300 end:0
row "no mouse-sens" "" "--fullscreen --no-mouse-sens" lit:100 cursor:10,10 cursor:700,500 alive press:button3 end:0
# Without Trace the period is 10 ms (100 per second), but a frame waits for the last one's callback: headless sway
# sends them about every 16 ms (63 per second seen on an idle machine, fewer under load).
row "paced by frame callbacks" "" "--fullscreen --no-trace --stats --duration 2" end:0 rate:20-70
swaymsg -q output HEADLESS-1 scale 2
row "HiDPI: physical pixels" "" "--fullscreen --stats --duration 1" end:0 "err:1:surfaces 800x600:"
swaymsg -q output HEADLESS-1 scale 1
swayidle -w timeout 2 "exec '$QUORVEX' --fullscreen --duration 1 --stats 2>'$WORK/idle'" >"$WORK/swayidle.log" 2>&1 &
track $!
wait_until 15000 grep -qs "surfaces 800x600:[0-9]* 640x480:" "$WORK/idle" ||
  fail "swayidle started no saver: $(cat "$WORK/idle" "$WORK/swayidle.log")"
kill $!
row "output added" "" "--fullscreen --stats" lit:100@800x600+0+0 sway:create_output lit:100@640x480+1440+0 \
  signal:TERM end:0
row "compositor gone" "" --fullscreen lit:100@800x600+0+0 gone end:1 "err:1:lost the connection to the Wayland"

start_x Xvfb -screen 0 1024x768x24 -noreset
compositor weston weston --backend=x11-backend.so --use-pixman --width=800 --height=600 --socket=wl-weston --idle-time=0
snap() { import -silent -window root "$1"; }
TYPE="xdotool mousemove 400 300 key"
row "weston: full-screen toplevel" "" "--fullscreen --no-mouse-sens --no-trace --stats" lit:100@800x600+0+0 \
  most:4320@800x600+0+0 key:a end:0 \
  "err:1:surfaces 800x600:"
finish

# Shared by the front-end tests: a private Xvfb, polling with deadlines, lit pixels in screenshots.
# Every process started is tracked and killed by PID when the test ends.
set -uo pipefail
QUORVEX=${1:?usage: bash script <path-to-quorvex>}
HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
WORK=$(mktemp -d /tmp/quorvex-e2e.XXXXXX)
TRACKED=() FAILURES=0
unset WAYLAND_DISPLAY  # each table names the display system it tests
track() { TRACKED+=("$1"); }
trap 'for p in "${TRACKED[@]}"; do kill "$p" 2>/dev/null; wait "$p" 2>/dev/null; done; rm -rf "$WORK"' EXIT
fail() { echo "FAIL: $*" >&2 && FAILURES=$((FAILURES + 1)); }
finish() { ((FAILURES == 0)) || { echo "$FAILURES check(s) failed" >&2 && exit 1; }; }
wait_until() {  # MS COMMAND...: polls until the command succeeds
  local end=$(($(date +%s%N) / 1000000 + $1))
  shift
  until "$@"; do (($(date +%s%N) / 1000000 > end)) && return 1; sleep 0.05; done
}
start_x() {  # SERVER ARGS...: an X server of our own; sets DISPLAY. A file per server: none holds a stale number.
  : >"$WORK/$1.fd"; "$@" -displayfd 3 -nolisten tcp 3>"$WORK/$1.fd" 2>"$WORK/$1.log" & track $!  # emptied here
  wait_until 15000 test -s "$WORK/$1.fd" || { cat "$WORK/$1.log" >&2 && exit 1; }
  export DISPLAY=":$(head -n1 "$WORK/$1.fd")"
}
ended() { [ "$(ps -o stat= -p "$1" | cut -c1)" = Z ] || ! kill -0 "$1" 2>/dev/null; }  # a zombie until waited for
# shot FILE WINDOW; lit FILE [CROP]: pixels brighter than 40 of 255; box FILE: "W H X Y" around them.
shot() { [ -n "$2" ] && timeout 20 import -silent -window "$2" "$1" 2>/dev/null; }
bright() { convert "$1" ${2:+-crop "$2" +repage} -colorspace gray -threshold 15.9% -precision 10 "${@:3}"; }
lit() { bright "$1" "${2:-}" -format '%[fx:int(mean*w*h+0.5)]' info:; }
box() { bright "$1" "" -format '%@' info: | tr 'x+' '  '; }
white() { convert "$1" -crop "$2" +repage -fill black +opaque white -format '%[fx:int(mean*w*h+0.5)]' info:; }
base_step() {  # what every front-end table checks of the process itself
  local arg=${1#*:}
  case $1 in
    signal:*) kill -"$arg" "$QPID" ;;
    alive) ! wait_until 600 ended "$QPID" ;;
    end:*) wait_until 5000 ended "$QPID" && { wait "$QPID"; N=$?; ((N == arg)); } ;;
    err:*) N=$(cat "$WORK/err") && [ "$(wc -l <"$WORK/err")" = "${arg%%:*}" ] && [[ $N == *"${arg#*:}"* ]] ;;
    *) echo "no step $1" >&2 && return 1 ;;
  esac
}
row() {  # WHAT ENV ARGS STEP...: runs quorvex, then each STEP (the script's `step`) until one fails
  local what=$1 env=$2 args=$3 s
  shift 3
  [[ $what == *"${ONLY:-}"* ]] || return 0
  eval "exec env $env \"\$QUORVEX\" $args" >"$WORK/out" 2>"$WORK/err" &
  QPID=$! WID=
  track "$QPID"
  for s in "$@"; do step "$s" || { fail "$what: $s (saw: ${N:-}) $(head -c 300 "$WORK/err")" && break; }; done
  kill "$QPID" 2>/dev/null
  wait "$QPID" 2>/dev/null
}

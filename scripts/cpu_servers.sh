#!/usr/bin/env bash
# CPU of the saver and of the display server beside it, at 1920x1080 with the
# default settings (Trace, Fire) over a fixed period: `--root` under Xvfb and
# `--fullscreen` on one output of a headless sway. Each share is the process's
# user + system time over the run (the saver's from its --stats line, the
# server's from /proc), against the wall time. Not part
# of the test suite: the numbers depend on the machine and its load.
# Usage: bash scripts/cpu_servers.sh <path-to-quorvex> [seconds]   (as root: sway runs as a plain user)
set -uo pipefail
QUORVEX=${1:?usage: bash scripts/cpu_servers.sh <path-to-quorvex> [seconds]}
SECONDS_RUN=${2:-10}
ME=quorvex-test
WORK=$(mktemp -d /tmp/quorvex-cpu.XXXXXX)
chmod 755 "$WORK"
PIDS=()
trap 'for p in "${PIDS[@]}"; do kill "$p" 2>/dev/null; wait "$p" 2>/dev/null; done; rm -rf "$WORK"' EXIT
export XDG_CONFIG_HOME="$WORK/config"
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }  # user + system clock ticks
share() {  # TICKS-BEFORE TICKS-AFTER WALL-MS
  awk -v a="$1" -v b="$2" -v hz="$(getconf CLK_TCK)" -v ms="$3" 'BEGIN {printf "%.1f %%", (b - a) * 100000 / hz / ms}'
}
measure() {  # LABEL SERVER-PID ARGS...: runs the saver for the period, prints both shares
  local label=$1 server=$2 s0 s1 t0 t1
  shift 2
  s0=$(ticks "$server") t0=$(date +%s%N)
  "$QUORVEX" "$@" --duration "$SECONDS_RUN" --stats 2>"$WORK/stats"
  t1=$(date +%s%N) s1=$(ticks "$server")
  # The saver's own share is its --stats line (getrusage over the run).
  printf '%-32s client %6s   server %6s   (%s)\n' "$label" \
    "$(sed -n 's/.*CPU (\([0-9.]*\)% of one core).*/\1 %/p' "$WORK/stats")" \
    "$(share "$s0" "$s1" $(((t1 - t0) / 1000000)))" "$(sed -n 's/^quorvex: \([0-9]* frames\).*/\1/p' "$WORK/stats")"
}

Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$WORK/fd" 2>/dev/null &
PIDS+=($!)
for _ in $(seq 150); do [ -s "$WORK/fd" ] && break; sleep 0.1; done
DISPLAY=":$(head -n1 "$WORK/fd")" measure "X11: --root under Xvfb" "${PIDS[0]}" --root

id "$ME" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$ME"
mkdir -m 700 "$WORK/run" && chown "$ME" "$WORK/run"
echo 'output HEADLESS-1 resolution 1920x1080 position 0 0' >"$WORK/sway.conf"
setpriv --reuid="$ME" --regid="$(id -g "$ME")" --clear-groups env XDG_RUNTIME_DIR="$WORK/run" WLR_BACKENDS=headless \
  WLR_HEADLESS_OUTPUTS=1 WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 sway -c "$WORK/sway.conf" >/dev/null 2>&1 &
PIDS+=($!)
for _ in $(seq 150); do [ -S "$WORK/run/wayland-1" ] && break; sleep 0.1; done
sleep 1  # sway settles its first frames before the idle reading
XDG_RUNTIME_DIR="$WORK/run" WAYLAND_DISPLAY=wayland-1 measure "Wayland: --fullscreen on sway" "${PIDS[1]}" --fullscreen

#!/usr/bin/env bash
# Measures the whole process's CPU time of the full-screen saver at
# 1920x1080 under Xvfb, for each trace effect and for Trace off, over a fixed
# period, and the frames painted against the pacing (33.3/s with Trace,
# 100/s without). Not part of the test suite: the numbers depend on the
# machine. Usage: bash scripts/cpu_measure.sh <path-to-quorvex> [seconds]
set -uo pipefail
QUORVEX=${1:?usage: bash scripts/cpu_measure.sh <path-to-quorvex> [seconds]}
SECONDS_RUN=${2:-10}
WORK=$(mktemp -d /tmp/quorvex-cpu.XXXXXX)
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$WORK/fd" 2>/dev/null &
XVFB_PID=$!
trap 'kill "$XVFB_PID"; wait "$XVFB_PID" 2>/dev/null; rm -rf "$WORK"' EXIT
for _ in $(seq 150); do [ -s "$WORK/fd" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$WORK/fd")"
export XDG_CONFIG_HOME="$WORK/config"
printf '%-26s %8s %8s %9s %10s %10s\n' "settings" "frames" "per s" "expected" "CPU ms" "% of core"
measure() {  # LABEL EXPECTED-PER-SECOND OPTIONS...
  local label=$1 rate=$2
  shift 2
  local t0 t1
  t0=$(date +%s%N)
  # bash's `time` gives the process's own user + system time, start-up included.
  { time -p "$QUORVEX" --fullscreen --no-mouse-sens --duration "$SECONDS_RUN" --stats "$@" 2>"$WORK/stats"; } 2>"$WORK/time"
  t1=$(date +%s%N)
  local frames user sys
  frames=$(sed -n 's/^quorvex: \([0-9]*\) frames.*/\1/p' "$WORK/stats")
  user=$(awk '/^user/ {print $2}' "$WORK/time")
  sys=$(awk '/^sys/ {print $2}' "$WORK/time")
  awk -v l="$label" -v f="$frames" -v s="$SECONDS_RUN" -v r="$rate" -v u="$user" -v y="$sys" -v w=$(((t1 - t0) / 1000000)) \
    'BEGIN { cpu = (u + y) * 1000; printf "%-26s %8d %8.1f %9.1f %10d %9.1f%%\n", l, f, f / s, r, cpu, cpu * 100 / w }'
}
measure "Trace, Simple" 33.3 --trace --trace-mode simple
measure "Trace, Diffusion" 33.3 --trace --trace-mode diffusion
measure "Trace, Fire" 33.3 --trace --trace-mode fire
measure "Trace, Fire, clock, FPS" 33.3 --trace --trace-mode fire --show-clock --show-fps
measure "Trace off" 100 --no-trace
measure "Trace off, clock, FPS" 100 --no-trace --show-clock --show-fps

#!/usr/bin/env bash
# The real full-screen saver left running: it must keep animating, keep its
# memory flat and still end on a key with exit code 0 at the end. 30 seconds
# in the suite; QUORVEX_SOAK_SECONDS=600 for the ten-minute run.
source "$(dirname "$0")/lib.sh"
qv_init "$@"
qv_start_xvfb
qv_new_prefix

SECONDS_TO_RUN=${QUORVEX_SOAK_SECONDS:-30}
INTERVAL=$((SECONDS_TO_RUN < 60 ? 10 : 30))
# Resident memory may grow this much (KiB) from the first look to the last:
# the surface and the clouds are made once, so a leak of even a small object
# per frame (some 2000 frames a minute) stands out.
MAX_GROWTH_KB=${QUORVEX_SOAK_MAX_GROWTH_KB:-8192}
SAVER="Quorvex Screen Saver"
probe() { qv_wine "$QV_BIN/window_probe.exe" "$@"; }

# The Linux process of the saver in this prefix (Wine keeps the Windows
# command line as the process's arguments).
saver_pid() {
    local pid
    for pid in $(pgrep -f 'Quorvex\.scr' 2>/dev/null); do
        if tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
            echo "$pid"
            return 0
        fi
    done
    return 1
}
rss_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status" 2>/dev/null; }

qv_wine_bg "$QV_SCR" /s
run=$QV_RUN
if ! probe texts "$SAVER" 20000 | grep -qx "class $SAVER"; then
    qv_fail "no saver window"
    qv_finish
fi
qv_pass "the saver window is up"

pid=$(qv_wait_until 10 saver_pid >/dev/null && saver_pid) || pid=
[ -n "$pid" ] || qv_fail "no saver process found in this prefix"
first_rss=
[ -n "$pid" ] && first_rss=$(rss_kb "$pid")

start=$SECONDS
look=0
stalled=0
previous=$QV_WORK/look.0.png
qv_screenshot "$previous"
while [ $((SECONDS - start)) -lt "$SECONDS_TO_RUN" ]; do
    left=$((SECONDS_TO_RUN - (SECONDS - start)))
    sleep $((left < INTERVAL ? left : INTERVAL))
    look=$((look + 1))
    if ! qv_running "$run"; then
        qv_fail "the saver ended by itself after $((SECONDS - start)) s (exit $(cat "$run.rc"))"
        qv_finish
    fi
    current=$QV_WORK/look.$look.png
    qv_screenshot "$current"
    changed=$(qv_diff_pixels "$previous" "$current")
    lit=$(qv_lit_pixels "$current")
    # An animating picture differs from the one taken seconds before.
    if [ "${changed:-0}" -lt 500 ] || [ "${lit:-0}" -lt 50 ]; then stalled=$((stalled + 1)); fi
    rss=
    [ -n "$pid" ] && rss=$(rss_kb "$pid")
    qv_log "after $((SECONDS - start)) s: $changed pixels changed, $lit lit, resident ${rss:-?} KiB"
    rm -f "$previous"
    previous=$current
done
qv_check "the picture kept moving at every look ($stalled of $look still)" test "$stalled" -eq 0
qv_check "still exactly one saver window" test "$(probe count "$SAVER")" = 1

if [ -n "$pid" ] && [ -n "$first_rss" ]; then
    last_rss=$(rss_kb "$pid")
    growth=$((${last_rss:-0} - first_rss))
    qv_check "resident memory flat: $first_rss -> ${last_rss:-?} KiB (+$growth, at most +$MAX_GROWTH_KB)" \
        test -n "$last_rss" -a "$growth" -le "$MAX_GROWTH_KB"
fi

qv_key space
qv_expect_exit0 "after ${SECONDS_TO_RUN} s a key ends the saver" "$run" 10
qv_finish

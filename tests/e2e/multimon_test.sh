#!/usr/bin/env bash
# The full-screen saver on two monitors side by side, an 800x600 primary and
# a 640x480 one, as Xephyr's Xinerama shows them to Wine (RandR off: with it
# Wine sees one output); no virtual desktop, no window manager. Each monitor
# gets a window and animation of its own, the clock and FPS text only the
# primary; a key or a click on either monitor ends the run with exit code 0.
source "$(dirname "$0")/lib.sh"
qv_init "$@"
qv_start_xvfb 1600x700x24
: >"$QV_WORK/nested"
Xephyr -displayfd 3 -screen 800x600 -screen 640x480 +xinerama -extension RANDR -nolisten tcp \
    3>"$QV_WORK/nested" >/dev/null 2>&1 &
QV_JOBS+=($!)
qv_wait_until 20 test -s "$QV_WORK/nested" || { echo "Xephyr did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$QV_WORK/nested")"
qv_wait_until 10 qv_display_ok || { echo "display $DISPLAY not answering" >&2; exit 1; }

PRIMARY=800x600+0+0 SECOND=640x480+800+0

saver_windows() { xdotool search --onlyvisible --name "^Quorvex Screen Saver\$" 2>/dev/null; }
two_windows() { [ "$(saver_windows | wc -l)" -eq 2 ]; }

# Fresh prefix without the virtual desktop, saver started, both windows up.
start_saver() {
    qv_new_prefix
    wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1
    qv_reg_settings MouseSens=0 Trace=0 ShowClock=1 ShowFPS=1
    qv_restart_session
    qv_mouse_to 400 300
    qv_wine_bg "$QV_SCR" /s
    qv_wait_until 30 two_windows || { qv_fail "two saver windows did not appear ($(saver_windows | wc -l))"; return 1; }
}

both_drawing() {
    qv_screenshot "$1" && [ "$(qv_lit_pixels "$1" $PRIMARY)" -gt 100 ] && [ "$(qv_lit_pixels "$1" $SECOND)" -gt 100 ]
}
# Where each monitor's clock would end; points alone (240 of 3x3, no trails)
# cannot fill it.
primary_clock_only() {
    qv_screenshot "$QV_WORK/c.png" && [ "$(qv_lit_pixels "$QV_WORK/c.png" 260x70+515+25)" -gt 600 ] &&
        [ "$(qv_lit_pixels "$QV_WORK/c.png" 260x70+1155+25)" -lt 300 ]
}

picture_checks() {
    geometries=$(for id in $(saver_windows); do qv_window_geometry "$id"; done | sort | tr '\n' ' ')
    # Exactly the monitors: nothing in the band below the smaller one (which
    # no monitor shows, so a picture of it is undefined).
    qv_expect_same "one window per monitor, each on its monitor" "$geometries" "$SECOND $PRIMARY "
    qv_check "both monitors show points" qv_wait_until 15 both_drawing "$QV_WORK/a.png"
    qv_wait_until 5 both_drawing "$QV_WORK/b.png" || true
    for area in $PRIMARY $SECOND; do
        convert "$QV_WORK/a.png" -crop "$area" +repage "$QV_WORK/a.crop.png"
        convert "$QV_WORK/b.png" -crop "$area" +repage "$QV_WORK/b.crop.png"
        changed=$(qv_diff_pixels "$QV_WORK/a.crop.png" "$QV_WORK/b.crop.png")
        qv_check "the picture on $area moves ($changed pixels differ)" test "$changed" -gt 50
    done
    fps="$(qv_lit_pixels "$QV_WORK/a.png" 90x16+10+10) $(qv_lit_pixels "$QV_WORK/a.png" 90x16+810+10)"
    qv_check "the FPS text on the primary only (lit: $fps)" awk -v f="$fps" 'BEGIN { split(f, n); exit !(n[1] > 40 && n[2] < 10) }'
    qv_check "the clock on the primary only" qv_wait_until 10 primary_clock_only
}

# Input on either monitor ends both windows.
while read -r label x y action; do
    start_saver || continue
    if [ "$label" = a-key-on-the-second-monitor ]; then picture_checks; fi
    qv_mouse_to "$x" "$y"
    if [ "$action" = key ]; then qv_key Return; else qv_click 1; fi
    qv_expect_exit0 "$label" "$QV_RUN" 15
    qv_drop_prefix
done <<'EOF'
a-key-on-the-second-monitor 1100 200 key
a-click-on-the-second-monitor 1100 200 click
a-key-on-the-primary 400 300 key
EOF
qv_finish

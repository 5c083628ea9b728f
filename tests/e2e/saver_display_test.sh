#!/usr/bin/env bash
# The full-screen saver under Wine: it covers the whole (virtual) desktop,
# animates, keeps a second start from running, and ends on a key with exit
# code 0. A desktop of odd width shows the 8-bit surface with padded rows.
source "$(dirname "$0")/lib.sh"
qv_init "$@"
qv_start_xvfb

shot_checks() {
    local label=$1 geometry=$2 a=$QV_WORK/$1.a.png b=$QV_WORK/$1.b.png
    local id
    if ! id=$(qv_wait_window "Quorvex Screen Saver" 20); then
        qv_fail "$label: no window \"Quorvex Screen Saver\""
        return 1
    fi
    local got
    got=$(qv_window_geometry "$id")
    qv_check "$label: the saver window covers the desktop ($got)" test "$got" = "$geometry"
    # Give the animation time to draw, then two pictures a moment apart.
    qv_wait_until 10 lit_enough || true
    qv_screenshot "$a"
    sleep 0.4
    qv_screenshot "$b"
    local lit_a lit_b diff
    lit_a=$(qv_lit_pixels "$a")
    lit_b=$(qv_lit_pixels "$b")
    diff=$(qv_diff_pixels "$a" "$b")
    qv_check "$label: first picture shows points ($lit_a lit pixels)" test "$lit_a" -gt 500
    qv_check "$label: second picture shows points ($lit_b lit pixels)" test "$lit_b" -gt 500
    qv_check "$label: the picture moves ($diff pixels differ)" test "$diff" -gt 200
}

lit_enough() {
    qv_screenshot "$QV_WORK/probe.png" && [ "$(qv_lit_pixels "$QV_WORK/probe.png")" -gt 500 ]
}

# --- 800 x 600 desktop, default settings
qv_new_prefix
qv_wine_bg "$QV_SCR" /s
first=$QV_RUN
shot_checks "800x600" "800x600+0+0"

# A second saver while one runs ends at once, and leaves the first alone.
qv_wine_bg "$QV_SCR" /s
second=$QV_RUN
qv_expect_exit0 "a second /s while one runs ends" "$second" 15
qv_check "the first saver still runs after the second start" qv_running "$first"
count=$(qv_wine "$QV_BIN/window_probe.exe" count "Quorvex Screen Saver")
qv_check "exactly one saver window ($count)" test "$count" = 1

qv_key space
qv_expect_exit0 "a key ends the saver" "$first" 15
qv_drop_prefix

# --- an odd-sized desktop: rows of the 8-bit surface are padded
qv_new_prefix
qv_reg_set 'Software\Wine\Explorer\Desktops' Default REG_SZ 797x571
qv_restart_session
qv_wine_bg "$QV_SCR" /s
run=$QV_RUN
shot_checks "797x571" "797x571+0+0"
qv_check "797x571: the saver is still running" qv_running "$run"
qv_key Escape
qv_expect_exit0 "797x571: a key ends the saver" "$run" 15
qv_drop_prefix

qv_finish

#!/usr/bin/env bash
# What ends the full-screen saver: a key, the left or right button, the Alt
# key alone, and with MouseSens a move of more than one pixel. A one-pixel
# step, the middle button and, without MouseSens, any move leave it running.
# Every ending is exit code 0. Each run has its own prefix.
source "$(dirname "$0")/lib.sh"
qv_init "$@"
qv_start_xvfb

# start_saver Name=value...: fresh prefix with those settings, saver shown.
start_saver() {
    qv_new_prefix
    qv_mouse_to 400 300
    if [ $# -gt 0 ]; then qv_reg_settings "$@"; fi
    qv_wine_bg "$QV_SCR" /s
    if ! qv_wait_window "Quorvex Screen Saver" 20 >/dev/null; then
        qv_fail "saver window did not appear (settings: $*)"
        return 1
    fi
    # The window is up; let its first frames and messages go through.
    qv_wait_until 5 saver_drawing || true
}

saver_drawing() {
    qv_screenshot "$QV_WORK/probe.png" && [ "$(qv_lit_pixels "$QV_WORK/probe.png")" -gt 100 ]
}

# Passes when the run is still going after `seconds`.
still_running() {
    local what=$1 seconds=$2
    if qv_wait_until "$seconds" qv_ended "$QV_RUN"; then
        qv_fail "$what: the saver ended (exit $(cat "$QV_RUN.rc"))"
        return 1
    fi
    qv_pass "$what: the saver keeps running"
}

if start_saver MouseSens=0; then
    qv_key Return
    qv_expect_exit0 "a key" "$QV_RUN" 15
fi
qv_drop_prefix

if start_saver MouseSens=0; then
    qv_click 1
    qv_expect_exit0 "the left button" "$QV_RUN" 15
fi
qv_drop_prefix

if start_saver MouseSens=0; then
    qv_click 3
    qv_expect_exit0 "the right button" "$QV_RUN" 15
fi
qv_drop_prefix

if start_saver MouseSens=0; then
    qv_key Alt_L
    qv_expect_exit0 "the Alt key alone (key menu)" "$QV_RUN" 15
fi
qv_drop_prefix

if start_saver MouseSens=1; then
    xdotool mousemove_relative -- 1 0
    xdotool mousemove_relative -- 0 1
    xdotool mousemove_relative -- -1 0
    still_running "MouseSens, one-pixel steps" 1.5
    xdotool mousemove_relative -- 2 0
    qv_expect_exit0 "MouseSens, a two-pixel move" "$QV_RUN" 15
fi
qv_drop_prefix

if start_saver MouseSens=0; then
    xdotool mousemove 200 150
    xdotool mousemove 600 450
    xdotool mousemove_relative -- 2 0
    qv_click 2
    still_running "no MouseSens, moves and the middle button" 2
    qv_key space
    qv_expect_exit0 "no MouseSens, then a key" "$QV_RUN" 15
fi
qv_drop_prefix

qv_finish

#!/usr/bin/env bash
# The screen-saver password check before the full-screen saver closes, with
# a stand-in for the system's PASSWORD.CPL beside the saver (it shows a small
# prompt window that takes the focus and answers as this script tells it):
# a refused prompt keeps the saver running and animating, and the close
# request that the prompt's own focus change queued does not ask again; a
# later key asks again, an accepted prompt ends the saver with exit code 0.
# Without the switch, with the switch unreadable, without the stand-in, or
# in preview mode the saver ends without asking. Each run has its own prefix.
source "$(dirname "$0")/lib.sh"
qv_init "$@"
qv_start_xvfb

SAVER="Quorvex Screen Saver"
PROMPT="Quorvex test password prompt"
# Away from the prompt window (20,20 240x80 on the desktop).
FIELD=800x400+0+200

# start_saver TYPE DATA [with-standin]: fresh prefix, ScreenSaveUsePassword
# stored as TYPE/DATA, MouseSens off (keys end the saver; the cursor count
# then moves only with the password prompt), saver started and drawing.
start_saver() {
    qv_new_prefix
    qv_mouse_to 400 300
    qv_reg_settings MouseSens=0
    wine reg add 'HKCU\Control Panel\Desktop' /v ScreenSaveUsePassword /t "$1" /d "$2" /f >/dev/null 2>&1
    if [ "${3:-}" = with-standin ]; then
        APP=$(qv_app_dir password_cpl.dll=PASSWORD.CPL)
    else
        APP=$(qv_app_dir)
    fi
    CALLS=$APP/password_calls.log
    qv_wine_bg "$APP/Quorvex.scr" /s
    SAVER_RUN=$QV_RUN
    qv_wait_window "$SAVER" 20 >/dev/null || qv_fail "no saver window"
    qv_wait_until 10 animating || qv_fail "the saver does not draw"
}

lit_field() {
    qv_screenshot "$QV_WORK/probe.png" && [ "$(qv_lit_pixels "$QV_WORK/probe.png" "$FIELD")" -gt 300 ]
}
animating() { lit_field; }

# Pixels of the field that change between two pictures 0.4 s apart.
field_change() {
    local a=$QV_WORK/field.a.png b=$QV_WORK/field.b.png
    qv_screenshot "$a"
    sleep 0.4
    qv_screenshot "$b"
    convert "$a" -crop "$FIELD" +repage "$a"
    convert "$b" -crop "$FIELD" +repage "$b"
    qv_diff_pixels "$a" "$b"
}

answer() {
    echo "$1" >"$APP/answer.tmp"
    mv "$APP/answer.tmp" "$APP/password_answer.txt"
}

calls_logged() { [ "$(grep -sc '^call ' "$CALLS")" -ge "$1" ]; }
line_logged() { grep -sqxF "$1" "$CALLS"; }
no_log() { [ ! -e "$CALLS" ]; }

# refuse_then_accept LOOP: the prompt either runs every message of the
# saver's thread while it is up ("thread", as a modal dialog does: the close
# request its focus change causes reaches the saver during the prompt) or
# only its own ("own": that request is still queued when it returns).
refuse_then_accept() {
    local loop=$1
    start_saver REG_DWORD 1 with-standin
    if [ "$loop" = own ]; then : >"$APP/password_own_loop.txt"; fi
    qv_key space
    qv_check "$loop loop: a key asks for the password" qv_wait_until 15 line_logged "prompt has focus"
    qv_expect_same "$loop loop: the prompt gets the saver window and a visible cursor" "$(head -n1 "$CALLS")" \
        "call window $SAVER cursor 0"
    qv_check "$loop loop: the prompt is shown" qv_wait_until 10 qv_has_window "$PROMPT"
    local change
    change=$(field_change)
    qv_check "$loop loop: no frames are drawn while the prompt is up ($change pixels changed)" test "$change" -eq 0

    answer 0
    qv_check "$loop loop: the prompt is refused" qv_wait_until 10 line_logged "answer 0"
    qv_check "$loop loop: the prompt window is gone" qv_wait_until 10 qv_no_window "$PROMPT"
    if qv_wait_until 2 calls_logged 2; then
        qv_fail "$loop loop: after a refusal the saver asked again at once"
    else
        qv_pass "$loop loop: after a refusal the saver does not ask again by itself"
    fi
    qv_check "$loop loop: the saver keeps running after a refusal" qv_running "$SAVER_RUN"
    change=$(field_change)
    qv_check "$loop loop: the saver animates again after a refusal ($change pixels changed)" test "$change" -gt 200

    qv_key space
    qv_check "$loop loop: a later key asks again" qv_wait_until 15 calls_logged 2
    qv_expect_same "$loop loop: the cursor was hidden again after the first prompt" \
        "$(grep '^call ' "$CALLS" | sed -n 2p)" "call window $SAVER cursor 0"
    answer 1
    qv_expect_exit0 "$loop loop: an accepted password ends the saver" "$SAVER_RUN" 15
    qv_expect_same "$loop loop: two prompts in all" "$(grep -c '^call ' "$CALLS")" 2
    qv_drop_prefix
}

refuse_then_accept thread
refuse_then_accept own

# ---------------------------------------------------------------- the switch as text
# The value's type is not examined: "1" as REG_SZ is in use as well.
start_saver REG_SZ 1 with-standin
answer 1
qv_key space
qv_expect_exit0 "ScreenSaveUsePassword \"1\" (REG_SZ): asks, accepted, ends" "$SAVER_RUN" 15
qv_check "ScreenSaveUsePassword \"1\" (REG_SZ): the prompt was asked" line_logged "answer 1"
qv_drop_prefix

# ---------------------------------------------------------------- no password in force
for case in "REG_DWORD 0 with-standin:switch 0" "REG_SZ 12345 with-standin:switch longer than 4 bytes" \
            "REG_DWORD 1 -:switch 1 without PASSWORD.CPL"; do
    label=${case#*:}
    # shellcheck disable=SC2086
    start_saver ${case%%:*}
    qv_key space
    qv_expect_exit0 "$label: a key ends the saver at once" "$SAVER_RUN" 15
    qv_check "$label: no prompt" no_log
    qv_drop_prefix
done

# ---------------------------------------------------------------- preview
qv_new_prefix
wine reg add 'HKCU\Control Panel\Desktop' /v ScreenSaveUsePassword /t REG_DWORD /d 1 /f >/dev/null 2>&1
APP=$(qv_app_dir password_cpl.dll=PASSWORD.CPL)
CALLS=$APP/password_calls.log
qv_expect_same "a preview asked to close ends without a prompt" \
    "$(qv_wine "$QV_BIN/preview_driver.exe" "$(winepath -w "$APP/Quorvex.scr" 2>/dev/null)")" \
    "saver_window found
exit_after_close 0"
qv_check "preview: the password check never ran" no_log
qv_drop_prefix

qv_finish

#!/usr/bin/env bash
# The preview mode: the saver as a disabled child of the display-properties
# box (played by preview_host.exe), of the box's size, deaf to keys and
# clicks, ending when the box is destroyed; at an odd size too. Without a
# box handle it reports that it cannot create its window, in the user's
# language.
source "$(dirname "$0")/lib.sh"
qv_init "$@"
qv_start_xvfb

SCR_WIN=
host_report() {
    qv_wine "$QV_BIN/preview_host.exe" "$SCR_WIN" "$@" >"$QV_WORK/host.out" || true
    cat "$QV_WORK/host.out" >&2
}
field() { awk -v k="$1" '$1 == k { $1 = ""; sub(/^ /, ""); print; exit }' "$QV_WORK/host.out"; }
expect_field() { # label key expected
    local got
    got=$(field "$2")
    qv_check "$1 ($2: ${got:-<none>})" test "$got" = "$3"
}

# WS_CHILD | WS_VISIBLE | WS_DISABLED
PREVIEW_STYLE=0x58000000

for size in "152 112" "151 111"; do
    set -- $size
    qv_new_prefix
    SCR_WIN=$(winepath -w "$QV_SCR" 2>/dev/null)
    label="${1}x$2"
    host_report "$1" "$2" --hold-ms 2500
    expect_field "$label: box made" box_client "${1}x$2"
    expect_field "$label: saver window inside the box" saver_window found
    expect_field "$label: it is the box's child" saver_parent_is_box yes
    expect_field "$label: owned by the saver process" saver_process saver
    expect_field "$label: fills the box" saver_client "${1}x$2"
    expect_field "$label: at the box's origin" saver_position "0,0"
    style=$(field saver_style)
    qv_check "$label: child, visible, disabled ($style)" \
        test $((style & PREVIEW_STYLE)) -eq $((PREVIEW_STYLE))
    expect_field "$label: no extended style" saver_exstyle 0x00000000
    expect_field "$label: still running after 2.5 s" alive_after_hold yes
    expect_field "$label: keys, clicks and moves do nothing" alive_after_input yes
    expect_field "$label: its window survives them" saver_window_after_input yes
    expect_field "$label: destroying the box ends it with exit 0" exit_after_destroy 0
    qv_drop_prefix
done

# /p without a handle: no parent, so the child window cannot be made.
message_check() { # label expected-text locale
    local label=$1 text=$2
    qv_new_prefix
    export LANG=$3 LC_ALL=$3
    qv_wine_bg "$QV_SCR" /p
    if ! qv_wine "$QV_BIN/window_probe.exe" texts "Quorvex Screen Saver" 15000 >"$QV_WORK/box.txt"; then
        qv_fail "$label: no message box titled \"Quorvex Screen Saver\""
    else
        qv_check "$label: a message box (class #32770)" grep -qx 'class #32770' "$QV_WORK/box.txt"
        qv_check "$label: it says \"$text\"" grep -q "^child Static [0-9-]* $text\$" "$QV_WORK/box.txt"
        qv_check "$label: it has one OK button" test "$(grep -c '^child Button' "$QV_WORK/box.txt")" -eq 1
        qv_check "$label: the process waits for the answer" qv_running "$QV_RUN"
        qv_wine "$QV_BIN/window_probe.exe" command "Quorvex Screen Saver" 1 >/dev/null || true
        qv_expect_exit0 "$label: OK ends it" "$QV_RUN" 15
    fi
    export LANG=C.UTF-8 LC_ALL=C.UTF-8
    qv_drop_prefix
}

message_check "/p without a handle" "Unable to create a Window!" C.UTF-8
message_check "/p without a handle, Russian" "Невозможно создать окно!" ru_RU.UTF-8

qv_finish

#!/usr/bin/env bash
# Quorvex.scr started with every command line of the entry table and with
# hostile ones: empty arguments, 32 KB arguments, characters outside ASCII,
# a second saver while one runs. Each case names the outcome it must have,
#
#   saver    the full-screen saver window appears; a key ends it
#   dialog   the configuration dialog appears, and no saver window
#   message  the "Unable to create a Window!" box appears, and no saver window
#   silent   nothing appears and the process ends by itself
#
# and every start must end with exit code 0. All cases share one prefix, so
# a process that hangs on or leaves a window behind shows up in the next one.
source "$(dirname "$0")/lib.sh"
qv_init "$@"
qv_start_xvfb
qv_new_prefix

SAVER="Quorvex Screen Saver"
DIALOG="Quorvex Screen Saver v4.4"
probe() { qv_wine "$QV_BIN/window_probe.exe" "$@"; }
repeat() { printf "%${2}s" '' | tr ' ' "$1"; }

nothing_left() {
    local saver dialog
    saver=$(probe count "$SAVER")
    dialog=$(probe count "$DIALOG")
    [ "$saver" = 0 ] && [ "$dialog" = 0 ]
}

# expect OUTCOME LABEL ARGS...
expect() {
    local outcome=$1 label=$2
    shift 2
    label="$label -> $outcome"
    qv_wine_bg "$QV_SCR" "$@"
    local run=$QV_RUN out=$QV_WORK/probe.txt
    case $outcome in
    saver)
        if probe texts "$SAVER" 15000 >"$out" && grep -qx "class $SAVER" "$out"; then
            qv_pass "$label: saver window"
            qv_check "$label: no dialog" test "$(probe count "$DIALOG")" = 0
            qv_key space
        else
            qv_fail "$label: no saver window ($(head -n1 "$out"))"
        fi
        ;;
    dialog)
        if probe texts "$DIALOG" 15000 >"$out"; then
            qv_pass "$label: dialog"
            qv_check "$label: no saver window" test "$(probe count "$SAVER")" = 0
            probe command "$DIALOG" 2 >/dev/null || true # Cancel
        else
            qv_fail "$label: no dialog"
        fi
        ;;
    message)
        if probe texts "$SAVER" 15000 >"$out" && grep -qx 'class #32770' "$out"; then
            qv_check "$label: \"Unable to create a Window!\"" grep -q ' Unable to create a Window!$' "$out"
            probe command "$SAVER" 1 >/dev/null || true # OK
        else
            qv_fail "$label: no message box ($(head -n1 "$out"))"
        fi
        ;;
    silent) ;;
    esac
    qv_expect_exit0 "$label" "$run" 15
    if qv_ended "$run"; then
        [ -n "${ALONGSIDE:-}" ] || qv_check "$label: no window left behind" nothing_left
    else
        # Do not let a hung start spoil the cases after it.
        qv_restart_session
    fi
}

# ---------------------------------------------------------------- the entry table
expect saver "/s" /s
expect saver "-S" -S
expect saver "s" s
expect saver "xs" xs
expect message "/p 1234 (not a window)" /p 1234
expect message "/p without a host" /p
expect dialog "/c:1234" /c:1234
expect dialog "/C:1234" /C:1234
expect dialog "/c" /c
expect dialog "no argument"
expect silent "/a 1234 (no password service under Wine)" /a 1234
expect dialog "/s5" /s5
expect dialog "/scr" /scr
expect dialog "/x:12" /x:12
expect dialog "/" /

# ---------------------------------------------------------------- empty arguments
expect dialog "one empty argument" ""
expect dialog "two empty arguments" "" ""
expect message "/p with an empty host" /p ""
expect dialog "/ followed by a blank" "/ "

# ---------------------------------------------------------------- 32 KB arguments
# A 32 000-character argument: the command line stays under the system's
# limit of 32 767 characters.
expect dialog "x + 32 000 times s" "x$(repeat s 31999)"
expect dialog "/c: + 32 000 digits as the owner" "/c:$(repeat 7 31997)"
expect saver "/s + a 32 000-character second argument" /s "$(repeat 9 32000)"
# Zeros read as the handle 0: no host, so the window cannot be made.
expect message "/p + 32 000 zeros as the host" /p "$(repeat 0 32000)"
expect silent "/a + a 32 000-character parent" /a "$(repeat 5 32000)"

# ---------------------------------------------------------------- characters outside ASCII
# Letters that look like s, p, a and C but are Cyrillic: no exact match, so
# the dialog, and a Cyrillic "С:" gives it no owner.
expect dialog "/ѕ (Cyrillic dze)" /ѕ
expect dialog "/р (Cyrillic er)" /р
expect dialog "/а (Cyrillic a)" /а
expect dialog "/С:1234 (Cyrillic Es)" /С:1234
expect dialog "/ы" /ы
expect saver "/s with a non-ASCII second argument" /s "ünïcødé ✓"
expect dialog "a quote after s" '/s"'

# ---------------------------------------------------------------- a second start
# While a saver runs, another saver or a preview ends at once without a word.
qv_wine_bg "$QV_SCR" /s
first=$QV_RUN
if probe texts "$SAVER" 15000 >/dev/null; then
    ALONGSIDE=1
    expect silent "/s while a saver runs" /s
    expect silent "/p 1234 while a saver runs" /p 1234
    ALONGSIDE=
    qv_check "the first saver still runs" qv_running "$first"
    qv_check "still exactly one saver window" test "$(probe count "$SAVER")" = 1
    qv_key space
else
    qv_fail "the first saver did not start"
fi
qv_expect_exit0 "the first saver, ended by a key" "$first" 15

qv_finish

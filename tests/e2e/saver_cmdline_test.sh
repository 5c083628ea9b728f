#!/usr/bin/env bash
# Every row of the command-line table: the exact, case-sensitive letters s/S
# and p/P (after dropping the first character of a longer argument) start the
# window modes, a/A the password change, everything else the configuration
# dialog. Each start runs in its own prefix and ends with exit code 0.
source "$(dirname "$0")/lib.sh"
qv_init "$@"
qv_start_xvfb

SAVER="Quorvex Screen Saver"
DIALOG="Quorvex Screen Saver v4.4"
probe() { qv_wine "$QV_BIN/window_probe.exe" "$@"; }

expect_saver() { # args...
    local label="$* -> saver"
    qv_new_prefix
    qv_wine_bg "$QV_SCR" "$@"
    local id
    if id=$(qv_wait_window "$SAVER" 20); then
        local g
        g=$(qv_window_geometry "$id")
        qv_check "$label: full-screen window ($g)" test "$g" = "800x600+0+0"
        qv_check "$label: no dialog" test "$(probe count "$DIALOG")" = 0
        qv_key space
    else
        qv_fail "$label: no saver window"
    fi
    qv_expect_exit0 "$label" "$QV_RUN" 15
    qv_drop_prefix
}

expect_dialog() { # args...
    local label="${*:-(no argument)} -> configure"
    qv_new_prefix
    qv_wine_bg "$QV_SCR" "$@"
    if probe texts "$DIALOG" 15000 >"$QV_WORK/dialog.txt"; then
        qv_pass "$label: the dialog \"$DIALOG\" is shown"
        qv_check "$label: no saver window" test "$(probe count "$SAVER")" = 0
        probe command "$DIALOG" 2 >/dev/null || true # Cancel
    else
        qv_fail "$label: no dialog"
    fi
    qv_expect_exit0 "$label" "$QV_RUN" 15
    qv_drop_prefix
}

expect_create_failure() { # args...
    local label="$* -> preview without a usable host"
    qv_new_prefix
    qv_wine_bg "$QV_SCR" "$@"
    if probe texts "$SAVER" 15000 >"$QV_WORK/box.txt" && grep -qx 'class #32770' "$QV_WORK/box.txt"; then
        qv_check "$label: \"Unable to create a Window!\"" grep -q ' Unable to create a Window!$' "$QV_WORK/box.txt"
        probe command "$SAVER" 1 >/dev/null || true
    else
        qv_fail "$label: no message box"
    fi
    qv_expect_exit0 "$label" "$QV_RUN" 15
    qv_drop_prefix
}

for arg in /s -S s xs; do expect_saver "$arg"; done
expect_create_failure /p 1234
for arg in /c:1234 /C:1234 /c /s5 /scr /x:12 /; do expect_dialog "$arg"; done
expect_dialog

# Password change: the system service is missing under Wine, so nothing is
# shown and the process simply ends.
qv_new_prefix
qv_wine_bg "$QV_SCR" /a 1234
qv_expect_exit0 "/a 1234 -> password change" "$QV_RUN" 15
qv_drop_prefix

qv_finish

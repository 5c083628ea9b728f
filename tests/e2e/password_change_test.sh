#!/usr/bin/env bash
# Password-change mode (/a): the saver hands over to the system's dialog in
# MPR.DLL, PwdChangePasswordA("SCRSAVE", <second argument as a window>, 0, 0).
# A stand-in MPR.DLL beside the saver (preferred to Wine's own through
# WINEDLLOVERRIDES) records the call. Without the export the mode just ends.
source "$(dirname "$0")/lib.sh"
qv_init "$@"
qv_start_xvfb

# change_password STAND-IN ARGS...: runs Quorvex.scr ARGS with STAND-IN
# copied in as MPR.DLL (or none for "-"); sets CALLS to its log.
change_password() {
    local standin=$1
    shift
    qv_new_prefix
    if [ "$standin" = - ]; then
        APP=$(qv_app_dir)
    else
        APP=$(qv_app_dir "$standin=MPR.DLL")
    fi
    CALLS=$APP/mpr_calls.log
    WINEDLLOVERRIDES="$WINEDLLOVERRIDES;mpr=n,b" qv_wine_bg "$APP/Quorvex.scr" "$@"
}

change_password mpr.dll /a 1234
qv_expect_exit0 "/a 1234 ends" "$QV_RUN" 20
qv_expect_same "/a 1234 passes its owner to the password dialog" "$(cat "$CALLS" 2>/dev/null)" \
    "PwdChangePasswordA SCRSAVE 1234 0 0"
qv_drop_prefix

change_password mpr.dll -a
qv_expect_exit0 "-a without a second argument ends" "$QV_RUN" 20
qv_expect_same "-a without a second argument passes no owner" "$(cat "$CALLS" 2>/dev/null)" \
    "PwdChangePasswordA SCRSAVE 0 0 0"
qv_drop_prefix

# A module of that name without the export (the PASSWORD.CPL stand-in).
change_password password_cpl.dll /a 1234
qv_expect_exit0 "/a with an MPR.DLL lacking PwdChangePasswordA ends" "$QV_RUN" 20
qv_check "no password dialog was asked for" test ! -e "$CALLS"
qv_drop_prefix

# Wine's own MPR.DLL.
change_password - /a 1234
qv_expect_exit0 "/a with the system's MPR.DLL ends" "$QV_RUN" 20
qv_drop_prefix

qv_finish

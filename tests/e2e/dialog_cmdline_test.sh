#!/usr/bin/env bash
# Every way the desktop (or a user) asks for the configuration dialog opens
# it, whatever owner handle the command line carries: a real window becomes
# the owner, a handle that names no window (or is not a number) gives a
# dialog without owner instead of no dialog at all.
source "$(dirname "$0")/lib.sh"
qv_init "$@"
qv_start_xvfb
quietly() { "$@" >/dev/null; }

for args in "/c:1234" "/C:1234" "/c" "" "/c:xyz"; do
    label=${args:-no argument}
    qv_new_prefix
    # shellcheck disable=SC2086 # the empty case must pass no argument at all
    qv_wine_bg "$QV_SCR" $args
    if qv_inspect wait 20 >/dev/null; then
        qv_pass "$label: the dialog appears"
        qv_expect_same "$label: without owner" "$(qv_inspect state | grep '^dialog owner')" "dialog owner none"
        qv_inspect sysclose >/dev/null
        qv_check "$label: the dialog closes" quietly qv_inspect gone 10
    else
        qv_fail "$label: no dialog"
    fi
    qv_expect_exit0 "$label: configure mode ends" "$QV_RUN" 10
    qv_drop_prefix
done

# A real owner window of another process, as the display-properties window.
qv_new_prefix
qv_expect_same "/c:<owner window> is owned and disables its owner while up" \
    "$(qv_inspect owned "$(winepath -w "$QV_SCR" 2>/dev/null)")" "owner ours
owner enabled 0
exit 0
owner enabled 1"
qv_drop_prefix

qv_finish

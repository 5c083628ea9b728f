#!/usr/bin/env bash
# The saver's drawing surface on Wine's GDI (surface_check.exe drives the
# host's own surface code): padded rows at widths that are not a multiple of
# 4, a 0 x 0 resize after a surface existed, a refused 8-bit section, the
# text set-up, and no GDI object left behind after a thousand re-creations.
source "$(dirname "$0")/lib.sh"
qv_init "$@"
qv_start_xvfb
qv_new_prefix
rc=0
qv_wine "$QV_BIN/surface_check.exe" || rc=$?
qv_check "surface_check.exe: every check passed (exit $rc)" test "$rc" -eq 0
qv_finish

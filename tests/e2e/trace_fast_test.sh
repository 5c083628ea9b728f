#!/usr/bin/env bash
# The 32-bit build's vectorised trace passes give the bytes of its plain
# passes, with SSE2 and, where the processor has it, with AVX2
# (tests/win32/trace_fast_check.cpp).
source "$(dirname "$0")/lib.sh"
qv_init "$@"
qv_new_prefix

out=$QV_WORK/trace_fast.txt
status=0
qv_wine "$QV_BIN/trace_fast_check.exe" >"$out" || status=$?
cat "$out"
qv_check "trace_fast_check exits 0" test "$status" -eq 0
qv_check "trace_fast_check ran its cases" grep -qE '^[1-9][0-9]* passed, 0 failed$' "$out"
qv_finish

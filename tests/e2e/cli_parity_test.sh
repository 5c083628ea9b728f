#!/usr/bin/env bash
# The Windows build of the `quorvex` tool (i686, x87 under Wine) prints the
# same shapes and renders the same frames, byte for byte, as the native build.
source "$(dirname "$0")/lib.sh"
qv_init "$@"
if [ ! -x "$QV_NATIVE" ] || [ ! -f "$QV_BIN/quorvex.exe" ]; then
    echo "needs the native quorvex and $QV_BIN/quorvex.exe" >&2
    exit 1
fi
qv_new_prefix
EXE=$QV_BIN/quorvex.exe
OUT=$QV_WORK/out
mkdir -p "$OUT"
OUT_WIN=$(winepath -w "$OUT" 2>/dev/null)

# Console output differs only in the platform's line ends.
windows_output() { wine "$EXE" "$@" 2>/dev/null | tr -d '\r'; }

same_text() { # label args...
    local label=$1
    shift
    "$QV_NATIVE" "$@" >"$OUT/native.txt" 2>/dev/null || true
    windows_output "$@" >"$OUT/windows.txt" || true
    if [ ! -s "$OUT/native.txt" ]; then
        qv_fail "$label: the native build printed nothing"
    elif cmp -s "$OUT/native.txt" "$OUT/windows.txt"; then
        qv_pass "$label: identical ($(wc -c <"$OUT/native.txt") bytes)"
    else
        qv_fail "$label: outputs differ ($(diff "$OUT/native.txt" "$OUT/windows.txt" | grep -c '^[<>]') lines)"
    fi
}

same_text "shapes (the list)" shapes
for id in 0 3 7 11 16 20; do
    same_text "shapes $id (every point)" shapes "$id"
done

same_frame() { # label render-args...
    local label=$1
    shift
    rm -f "$OUT/native.ppm" "$OUT/windows.ppm"
    "$QV_NATIVE" render "$@" --out "$OUT/native.ppm" >/dev/null 2>&1 || true
    wine "$EXE" render "$@" --out "$OUT_WIN\\windows.ppm" >/dev/null 2>&1 || true
    if [ ! -s "$OUT/native.ppm" ] || [ ! -s "$OUT/windows.ppm" ]; then
        qv_fail "$label: a frame is missing"
    elif cmp -s "$OUT/native.ppm" "$OUT/windows.ppm"; then
        local lit
        lit=$(qv_lit_pixels "$OUT/native.ppm" "" 0)
        # An all-black pair would prove nothing.
        qv_check "$label: identical frames with points ($lit lit)" test "$lit" -gt 50
    else
        qv_fail "$label: frames differ ($(cmp -l "$OUT/native.ppm" "$OUT/windows.ppm" | wc -l) bytes)"
    fi
}

same_frame "trace, fire" --size 320x240 --seed 7 --frames 150 --frame-ms 30
same_frame "trace, diffusion, grey, 3D" --size 301x199 --seed 123456789 --frames 400 --frame-ms 33 \
    --set TraceModeInd=1 --set HuesOfGray=1 --set Move3D=1 --set TraceLength=3
same_frame "trace, simple, mixed points" --size 640x480 --seed 4000000000 --frames 700 --frame-ms 16 \
    --set TraceModeInd=0 --set UnSortPoints=1 --start-tick 4294967000
same_frame "no trace, plus points" --size 400x300 --seed 99 --frames 300 --frame-ms 10 \
    --set Trace=0 --set PrimitivePoints=0
same_frame "preview" --size 152x112 --seed 5 --frames 200 --frame-ms 30 --preview

qv_finish

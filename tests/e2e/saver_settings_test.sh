#!/usr/bin/env bash
# Settings from the registry change what the full-screen saver draws:
# Trace 0 with PrimitivePoints 0 gives plus-shaped points and no trails
# (PrimitivePoints 1 plain squares), ShowFPS 1 the white FPS text at
# (10, 10) with the suffix of the user's language, ShowClock 1 a clock at the
# top right, and a Trace value of the wrong type leaves the trails on.
source "$(dirname "$0")/lib.sh"
qv_init "$@"
qv_start_xvfb

# run_saver tag shots Name=value...: a fresh prefix with these settings;
# takes `shots` screenshots $QV_WORK/tag.N.png 0.3 s apart once it draws,
# then ends the saver with a key.
run_saver() {
    local tag=$1 shots=$2
    shift 2
    qv_new_prefix
    qv_mouse_to 400 300
    qv_reg_settings MouseSens=0 "$@"
    qv_wine_bg "$QV_SCR" /s
    if ! qv_wait_window "Quorvex Screen Saver" 20 >/dev/null; then
        qv_fail "$tag: no saver window"
        qv_drop_prefix
        return 1
    fi
    # The FPS average settles and the picture fills within a second or two.
    qv_wait_until 10 drawing || true
    sleep 1
    local i
    for ((i = 1; i <= shots; i++)); do
        qv_screenshot "$QV_WORK/$tag.$i.png"
        [ "$i" -lt "$shots" ] && sleep 0.3
    done
    qv_key space
    qv_expect_exit0 "$tag: ends on a key" "$QV_RUN" 15
    qv_drop_prefix
}

drawing() {
    qv_screenshot "$QV_WORK/probe.png" && [ "$(qv_lit_pixels "$QV_WORK/probe.png" "" 0)" -gt 100 ]
}

# "plus square" counts of 3 x 3 footprints: a plus has equal centre and arms
# over four equal, darker, lit corners; a square is nine equal pixels.
footprints() {
    qv_lit_list "$1" "" 0 | awk '
        function at(x, y) { k = x "," y; return (k in v) ? v[k] : 0 }
        { v[$1 "," $2] = $3 + $4 + $5 }
        END {
            for (key in v) {
                split(key, p, ","); x = p[1] + 0; y = p[2] + 0; c = v[key]
                n = at(x, y - 1); s = at(x, y + 1); w = at(x - 1, y); e = at(x + 1, y)
                if (!(c > 0 && n == c && s == c && w == c && e == c)) continue
                a = at(x - 1, y - 1); b = at(x + 1, y - 1); d = at(x - 1, y + 1); f = at(x + 1, y + 1)
                if (a > 0 && a < c && b == a && d == a && f == a) plus++
                if (a == c && b == c && d == c && f == c) square++
            }
            print plus + 0, square + 0
        }'
}

# "count minx miny maxx maxy" of the pure white pixels in the FPS band over
# several pictures: the FPS text is white; no point ever is (the tint's three
# components add up to 500).
white_box() {
    local f
    for f in "$@"; do
        qv_lit_list "$f" 400x40+0+0 254 | awk '$3 == 255 && $4 == 255 && $5 == 255'
    done | awk 'NR == 1 { a = $1; b = $2; c = $1; d = $2 }
                { if ($1 < a) a = $1; if ($2 < b) b = $2; if ($1 > c) c = $1; if ($2 > d) d = $2; n++ }
                END { print n + 0, a + 0, b + 0, c + 0, d + 0 }'
}

# "count right top" of the pixels lit in every picture inside the top-right
# area where the clock stands: moving points do not stay put, the clock does.
CLOCK_AREA=360x130+440+0
steady_box() {
    local args=() f
    for f in "$@"; do args+=("(" "$f" -crop "$CLOCK_AREA" +repage -colorspace Gray -threshold 1% ")"); done
    local out=$QV_WORK/steady.png
    convert "${args[@]}" -evaluate-sequence min "$out" 2>/dev/null
    local count trim
    count=$(convert "$out" -format '%[fx:round(mean*w*h)]' info: 2>/dev/null)
    trim=$(convert "$out" -format '%@' info: 2>/dev/null)   # WxH+X+Y of the lit part
    awk -v n="$count" -v t="$trim" 'BEGIN {
        split(t, a, /[x+]/); print n, 440 + a[3] + a[1], a[4] }'
}

# --- Trace 0, PrimitivePoints 0: plus-shaped points, no trails
if run_saver plus 3 Trace=0 PrimitivePoints=0; then
    read -r plus square < <(footprints "$QV_WORK/plus.1.png")
    lit=$(qv_lit_pixels "$QV_WORK/plus.1.png" "" 0)
    qv_check "Trace 0, PrimitivePoints 0: plus-shaped points ($plus plus, $square square)" \
        test "$plus" -ge 20 -a "$square" -le 2
    qv_check "Trace 0: no trails, at most 240 3x3 points lit ($lit pixels)" test "$lit" -le 2160 -a "$lit" -gt 200
    read -r steady_control _ _ < <(steady_box "$QV_WORK"/plus.*.png)
    qv_check "ShowClock 0: nothing steady at the top right ($steady_control pixels)" test "$steady_control" -lt 60
fi

# --- the same with PrimitivePoints 1: plain squares
if run_saver square 1 Trace=0 PrimitivePoints=1; then
    read -r plus square < <(footprints "$QV_WORK/square.1.png")
    qv_check "Trace 0, PrimitivePoints 1: plain square points ($plus plus, $square square)" \
        test "$plus" -le 2 -a "$square" -ge 20
fi

# --- ShowFPS: white text at (10, 10), English suffix, then Russian
if run_saver fps_en 3 ShowFPS=1; then
    read -r n_en x0 y0 right_en y1 < <(white_box "$QV_WORK"/fps_en.*.png)
    qv_check "ShowFPS 1: white text drawn ($n_en pixels)" test "$n_en" -ge 30
    qv_check "ShowFPS 1: it starts at (10, 10) (first white pixel at $x0, $y0)" \
        test "$x0" -ge 10 -a "$x0" -le 14 -a "$y0" -ge 10 -a "$y0" -le 16
    qv_check "ShowFPS 1: one line of text (rows $y0..$y1)" test "$y1" -le 30
fi
export LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8
if run_saver fps_ru 3 ShowFPS=1; then
    read -r n_ru x0 y0 right_ru _ < <(white_box "$QV_WORK"/fps_ru.*.png)
    qv_check "ShowFPS 1, Russian: white text at (10, 10) ($n_ru pixels from $x0, $y0)" \
        test "$n_ru" -ge 30 -a "$x0" -ge 10 -a "$x0" -le 14
    # " кадр/с" is three characters longer than " fps".
    qv_check "ShowFPS 1, Russian: the longer suffix (text ends at x $right_ru, English at ${right_en:-?})" \
        test "$right_ru" -ge $((${right_en:-1000} + 12))
fi
export LANG=C.UTF-8 LC_ALL=C.UTF-8

# --- ShowClock without Trace: redrawn every frame at the top right
if run_saver clock 4 ShowClock=1 Trace=0; then
    read -r steady right top < <(steady_box "$QV_WORK"/clock.*.png)
    qv_check "ShowClock 1: a steady text at the top right ($steady pixels)" test "$steady" -ge 150
    qv_check "ShowClock 1: it ends 25 px from the right edge (at $right)" test "$right" -ge 740 -a "$right" -le 776
    qv_check "ShowClock 1: it starts near the top (row $top)" test "$top" -ge 20 -a "$top" -le 60
fi

# --- Trace stored as a number, not as text: the default (trails) stays
qv_new_prefix
qv_reg_set 'Software\Quorvex' Trace REG_DWORD 0
qv_reg_set 'Software\Quorvex' MouseSens REG_SZ 0
qv_wine_bg "$QV_SCR" /s
if qv_wait_window "Quorvex Screen Saver" 20 >/dev/null; then
    qv_wait_until 10 drawing || true
    sleep 1
    qv_screenshot "$QV_WORK/dword.png"
    lit=$(qv_lit_pixels "$QV_WORK/dword.png" "" 0)
    qv_check "Trace as REG_DWORD 0 is ignored: trails remain ($lit pixels lit)" test "$lit" -gt 5000
    qv_key space
    qv_expect_exit0 "Trace as REG_DWORD: ends on a key" "$QV_RUN" 15
else
    qv_fail "Trace as REG_DWORD: no saver window"
fi
qv_drop_prefix

qv_finish

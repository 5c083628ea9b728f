#!/usr/bin/env bash
# With a Russian user interface the saver opens the dialog template ABOUT
# (its name comes from the Russian string table) with the Russian texts and
# trace-effect names, and OK stores the settings as in English.
source "$(dirname "$0")/lib.sh"
qv_init "$@"
qv_start_xvfb
export LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8

qv_new_prefix
qv_wine_bg "$QV_SCR" /c
quietly() { "$@" >/dev/null; }
qv_check "the dialog appears" quietly qv_inspect wait 20

qv_expect_same "Russian control texts" \
    "$(qv_inspect children | sed -E 's/^child ([0-9]+) id ([0-9]+) class [^ ]+ .* text /\1 \2 /' | grep -Ev '^[78] ')" \
    "0 1 OK
1 2 Отмена
2 65535 Параметры
3 256 Показывать FPS
4 257 Перемешать точки
5 258 Выход при перемещении мышки
6 259 Перемещение в 3D-пространстве
9 65535 О программе
10 65535 Quorvex Screen Saver v4.4\\n© The Quorvex authors
11 65535 Сайт программы:
12 262 Упрощенная прорисовка точек
13 263 Градации серого
14 264 След
15 265 Пламя
16 266 Slider1
17 267 Длина следа
18 268 Отображать часы"

qv_expect_same "Russian trace-effect names, defaults shown" \
    "$(qv_inspect state | grep -E '^(combo|trackbar|check 26[24])')" "check 262 1 enabled 0
check 264 1 enabled 1
combo selection 2 count 3 enabled 1
combo item 0 Простой
combo item 1 Растворение
combo item 2 Пламя
combo text Пламя
trackbar position 1 range 0 3 enabled 1"

qv_inspect select 1 click 257 click 1 >/dev/null
qv_check "OK closes the dialog" quietly qv_inspect gone 10
qv_expect_exit0 "configure mode ends" "$QV_RUN" 10
qv_expect_same "OK stores the settings" "$(qv_reg_values 'Software\Quorvex')" "HuesOfGray REG_SZ 0
MouseSens REG_SZ 1
Move3D REG_SZ 0
PrimitivePoints REG_SZ 1
ShowClock REG_SZ 0
ShowFPS REG_SZ 0
Trace REG_SZ 1
TraceLength REG_SZ 1
TraceModeInd REG_SZ 1
UnSortPoints REG_SZ 1"
qv_drop_prefix

qv_finish

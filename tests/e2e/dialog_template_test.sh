#!/usr/bin/env bash
# The two dialog templates as stored in Quorvex.scr, read back item by item:
# header, styles, ids (65535 as a 16-bit value in the 32-bit field), classes,
# texts and rectangles, both filed under language 1049.
source "$(dirname "$0")/lib.sh"
qv_init "$@"
qv_start_xvfb
qv_new_prefix
scr=$(winepath -w "$QV_SCR" 2>/dev/null)

english=$(qv_inspect template "$scr" ABOUT_E)
russian=$(qv_inspect template "$scr" ABOUT)

# The link captions are build options: addresses of the right form, the same
# in both templates.
link() { awk -v n="$2" '$1 == "item" && $2 == n { sub(/.* text /, ""); print }' <<<"$1"; }
mail=$(link "$english" 7)
web=$(link "$english" 8)
qv_check "mail caption looks like an address ($mail)" grep -qE '^[^ @]+@[^ @]+\.[a-z]+$' <<<"$mail"
qv_check "web caption looks like a web address ($web)" grep -qE '^https?://[^ ]+$' <<<"$web"
qv_expect_same "both templates carry the same links" "$(link "$russian" 7) $(link "$russian" 8)" "$mail $web"

# Classes are compared without case: the resource compiler stores the
# trackbar's class name in capitals, and window classes ignore case.
normalise() {
    awk '$1 == "item" && $6 != "BUTTON" && $6 != "STATIC" && $6 != "COMBOBOX" { $6 = tolower($6) } { print }'
}

qv_expect_same "ABOUT_E template" "$(normalise <<<"$english")" "languages 1049
dialog ABOUT_E language 1049 version 1 signature 0xFFFF help 0 exstyle 0x00000000 style 0x80C808C0 items 19 rect 0 0 164 233 menu - class -
caption Quorvex Screen Saver v4.4
font 8 weight 0 italic 0 charset 0 face MS Sans Serif
item 0 id 1 class BUTTON style 0x50010001 exstyle 0x00000000 help 0 rect 20 213 50 14 text OK
item 1 id 2 class BUTTON style 0x50010000 exstyle 0x00000000 help 0 rect 93 213 50 14 text Cancel
item 2 id 65535 class BUTTON style 0x50000007 exstyle 0x00000000 help 0 rect 8 3 149 136 text Options
item 3 id 256 class BUTTON style 0x50010003 exstyle 0x00000000 help 0 rect 15 14 49 10 text Show FPS
item 4 id 257 class BUTTON style 0x50010003 exstyle 0x00000000 help 0 rect 15 27 47 10 text Mix points
item 5 id 258 class BUTTON style 0x50010003 exstyle 0x00000000 help 0 rect 15 40 87 8 text Exit if mouse moved
item 6 id 259 class BUTTON style 0x50010003 exstyle 0x00000000 help 0 rect 15 52 134 8 text Moving of the object center in 3D
item 7 id 260 class BUTTON style 0x50010000 exstyle 0x00000000 help 0 rect 39 169 88 10 text $mail
item 8 id 261 class BUTTON style 0x50010000 exstyle 0x00000000 help 0 rect 41 191 88 11 text $web
item 9 id 65535 class BUTTON style 0x50000007 exstyle 0x00000000 help 0 rect 8 142 149 66 text About
item 10 id 65535 class STATIC style 0x50020001 exstyle 0x00000000 help 0 rect 13 151 139 17 text Quorvex Screen Saver v4.4\\n© The Quorvex authors
item 11 id 65535 class STATIC style 0x50020001 exstyle 0x00000000 help 0 rect 45 181 79 8 text Web site:
item 12 id 262 class BUTTON style 0x50010003 exstyle 0x00000000 help 0 rect 15 65 136 8 text Primitive points draw
item 13 id 263 class BUTTON style 0x50010003 exstyle 0x00000000 help 0 rect 15 79 136 8 text Hues of gray
item 14 id 264 class BUTTON style 0x50010003 exstyle 0x00000020 help 0 rect 15 105 48 8 text Trace
item 15 id 265 class COMBOBOX style 0x50010003 exstyle 0x00000000 help 0 rect 67 104 78 69 text 
item 16 id 266 class msctls_trackbar32 style 0x50010001 exstyle 0x00000000 help 0 rect 67 118 78 19 text Slider1
item 17 id 267 class STATIC style 0x50020000 exstyle 0x00000000 help 0 rect 15 123 41 8 text Trace length
item 18 id 268 class BUTTON style 0x50010003 exstyle 0x00000000 help 0 rect 15 92 136 8 text Show clock"

qv_expect_same "ABOUT template" "$(normalise <<<"$russian")" "languages 1049
dialog ABOUT language 1049 version 1 signature 0xFFFF help 0 exstyle 0x00000000 style 0x84C808C0 items 19 rect 0 0 164 233 menu - class -
caption Quorvex Screen Saver v4.4
font 8 weight 0 italic 0 charset 0 face MS Sans Serif
item 0 id 1 class BUTTON style 0x50010001 exstyle 0x00000000 help 0 rect 20 213 50 14 text OK
item 1 id 2 class BUTTON style 0x50010000 exstyle 0x00000000 help 0 rect 93 213 50 14 text Отмена
item 2 id 65535 class BUTTON style 0x50000007 exstyle 0x00000000 help 0 rect 8 3 149 136 text Параметры
item 3 id 256 class BUTTON style 0x50010003 exstyle 0x00000000 help 0 rect 15 14 73 10 text Показывать FPS
item 4 id 257 class BUTTON style 0x50010003 exstyle 0x00000000 help 0 rect 15 27 80 10 text Перемешать точки
item 5 id 258 class BUTTON style 0x50010003 exstyle 0x00000000 help 0 rect 15 40 136 8 text Выход при перемещении мышки
item 6 id 259 class BUTTON style 0x50010003 exstyle 0x00000000 help 0 rect 15 53 136 8 text Перемещение в 3D-пространстве
item 7 id 260 class BUTTON style 0x50010000 exstyle 0x00000000 help 0 rect 41 171 88 10 text $mail
item 8 id 261 class BUTTON style 0x50010000 exstyle 0x00000000 help 0 rect 41 192 88 11 text $web
item 9 id 65535 class BUTTON style 0x50000007 exstyle 0x00000000 help 0 rect 8 142 149 66 text О программе
item 10 id 65535 class STATIC style 0x50020001 exstyle 0x00000000 help 0 rect 14 153 137 17 text Quorvex Screen Saver v4.4\\n© The Quorvex authors
item 11 id 65535 class STATIC style 0x50020001 exstyle 0x00000000 help 0 rect 45 183 79 8 text Сайт программы:
item 12 id 262 class BUTTON style 0x50010003 exstyle 0x00000000 help 0 rect 15 66 136 8 text Упрощенная прорисовка точек
item 13 id 263 class BUTTON style 0x50010003 exstyle 0x00000000 help 0 rect 15 79 136 8 text Градации серого
item 14 id 264 class BUTTON style 0x50010003 exstyle 0x00000020 help 0 rect 15 105 48 8 text След
item 15 id 265 class COMBOBOX style 0x50010003 exstyle 0x00000000 help 0 rect 67 104 78 69 text 
item 16 id 266 class msctls_trackbar32 style 0x50010001 exstyle 0x00000000 help 0 rect 67 118 78 19 text Slider1
item 17 id 267 class STATIC style 0x50020000 exstyle 0x00000000 help 0 rect 15 123 45 8 text Длина следа
item 18 id 268 class BUTTON style 0x50010003 exstyle 0x00000000 help 0 rect 15 92 136 8 text Отображать часы"

qv_finish

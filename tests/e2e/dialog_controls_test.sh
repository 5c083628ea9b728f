#!/usr/bin/env bash
# The configuration dialog as a user meets it (English interface): what it
# shows for stored settings, the Trace enabling rule, the links, and what OK,
# Cancel and the caption's close button leave in the registry. Every dialog
# run has its own prefix.
source "$(dirname "$0")/lib.sh"
qv_init "$@"
qv_start_xvfb

# Opens the dialog (`/c`) in a fresh prefix after storing `Name=value`s.
open_dialog() {
    qv_new_prefix
    if [ $# -gt 0 ]; then qv_reg_settings "$@"; fi
    qv_wine_bg "$QV_SCR" /c
    qv_inspect wait 20 >/dev/null || qv_fail "the dialog did not appear"
}

# The dialog has gone and the process ended with code 0.
expect_closed() {
    qv_check "$1: dialog closes" quietly qv_inspect gone 10
    qv_expect_exit0 "$1: configure mode ends" "$QV_RUN" 10
}

state() { qv_inspect state | grep -v '^dialog style'; }
quietly() { "$@" >/dev/null; }

# ---------------------------------------------------------------- defaults
open_dialog
qv_expect_same "defaults with no stored key" "$(state)" "check 256 0 enabled 1
check 257 0 enabled 1
check 258 1 enabled 1
check 259 0 enabled 1
check 262 1 enabled 0
check 263 0 enabled 1
check 264 1 enabled 1
check 268 0 enabled 1
combo selection 2 count 3 enabled 1
combo item 0 Simple
combo item 1 Diffusion
combo item 2 Fire
combo text Fire
trackbar position 1 range 0 3 enabled 1
label 267 enabled 1
dialog owner none"

# The live controls, in creation (= tab) order, with their classes and texts
# (the two link captions are the build's choice and are checked below).
qv_expect_same "controls in template order" \
    "$(qv_inspect children | sed -E 's/^child ([0-9]+) id ([0-9]+) class ([^ ]+) .* text /\1 \2 \3 /' |
        grep -Ev '^[78] ')" "0 1 Button OK
1 2 Button Cancel
2 65535 Button Options
3 256 Button Show FPS
4 257 Button Mix points
5 258 Button Exit if mouse moved
6 259 Button Moving of the object center in 3D
9 65535 Button About
10 65535 Static Quorvex Screen Saver v4.4\\n© The Quorvex authors
11 65535 Static Web site:
12 262 Button Primitive points draw
13 263 Button Hues of gray
14 264 Button Trace
15 265 ComboBox Fire
16 266 msctls_trackbar32 Slider1
17 267 Static Trace length
18 268 Button Show clock"

# Trace off: simple points editable (still checked), trace controls greyed.
trace_off="check 262 1 enabled 1
check 264 0 enabled 1
combo enabled 0
trackbar enabled 0
label 267 enabled 0"
trace_view() {
    awk '/^check 26[24] / || /^label/ { print; next }
         /^combo selection/ { print "combo enabled", $NF }
         /^trackbar/ { print "trackbar enabled", $NF }'
}
qv_expect_same "Trace switched off" "$(qv_inspect click 264 state | trace_view)" "$trace_off"
qv_expect_same "simple points can be cleared while Trace is off" \
    "$(qv_inspect click 262 state | awk '/^check 262 /')" "check 262 0 enabled 1"
qv_expect_same "Trace switched on forces simple points on and greys them" \
    "$(qv_inspect click 264 state | trace_view)" "check 262 1 enabled 0
check 264 1 enabled 1
combo enabled 1
trackbar enabled 1
label 267 enabled 1"
qv_expect_same "Trace off again leaves simple points checked" "$(qv_inspect click 264 state | trace_view)" "$trace_off"

# The mail and web buttons hand their captions to the shell and the dialog
# stays open.
urls=$QV_WORK/urls.log
qv_record_urls "$urls"
mail=$(qv_inspect children | awk '$4 == 260 { print $NF }')
web=$(qv_inspect children | awk '$4 == 261 { print $NF }')
qv_inspect click 260 >/dev/null
qv_check "mail button opens mailto:$mail" qv_wait_until 15 grep -sqxF "mailto:$mail" "$urls"
qv_inspect click 261 >/dev/null
qv_check "web button opens $web" qv_wait_until 15 grep -sqxF "$web" "$urls"
qv_check "dialog still open after the links" quietly qv_inspect wait 0
qv_check "configure mode still running after the links" qv_running "$QV_RUN"

# OK reads the controls back, whatever the record held, and stores all ten.
qv_inspect click 256 click 263 select 0 slide 2 click 1 >/dev/null
expect_closed "OK"
qv_expect_same "OK stores all ten values as text" "$(qv_reg_values 'Software\Quorvex')" "HuesOfGray REG_SZ 1
MouseSens REG_SZ 1
Move3D REG_SZ 0
PrimitivePoints REG_SZ 1
ShowClock REG_SZ 0
ShowFPS REG_SZ 1
Trace REG_SZ 0
TraceLength REG_SZ 2
TraceModeInd REG_SZ 0
UnSortPoints REG_SZ 0"
qv_drop_prefix

# ---------------------------------------------------------------- Cancel
stored=(ShowFPS=1 UnSortPoints=1 MouseSens=0 Move3D=1 PrimitivePoints=0 HuesOfGray=1 Trace=0 ShowClock=1
        TraceModeInd=1 TraceLength=3)
open_dialog "${stored[@]}"
before=$(qv_reg_values 'Software\Quorvex')
qv_expect_same "stored settings with Trace off" "$(state)" "check 256 1 enabled 1
check 257 1 enabled 1
check 258 0 enabled 1
check 259 1 enabled 1
check 262 0 enabled 1
check 263 1 enabled 1
check 264 0 enabled 1
check 268 1 enabled 1
combo selection 1 count 3 enabled 0
combo item 0 Simple
combo item 1 Diffusion
combo item 2 Fire
combo text Diffusion
trackbar position 3 range 0 3 enabled 0
label 267 enabled 0
dialog owner none"
qv_inspect click 264 click 257 select 2 slide 0 click 2 >/dev/null
expect_closed "Cancel"
qv_expect_same "Cancel stores nothing" "$(qv_reg_values 'Software\Quorvex')" "$before"
qv_drop_prefix

# ---------------------------------------------------------------- caption close
open_dialog
qv_inspect click 256 sysclose >/dev/null
expect_closed "caption close button"
qv_check "caption close button stores nothing" test -z "$(qv_reg_values 'Software\Quorvex')"
qv_drop_prefix

# ---------------------------------------------------------------- out of range
open_dialog TraceModeInd=7 TraceLength=9
qv_expect_same "stored TraceModeInd 7 and TraceLength 9" \
    "$(state | grep -E '^(combo (selection|text)|trackbar)')" "combo selection -1 count 3 enabled 1
combo text 
trackbar position 3 range 0 3 enabled 1"
qv_inspect click 1 >/dev/null
expect_closed "OK with out-of-range values"
qv_expect_same "OK stores no selection as / and the clamped length" \
    "$(qv_reg_values 'Software\Quorvex' | grep '^Trace[LM]')" "TraceLength REG_SZ 3
TraceModeInd REG_SZ /"
qv_drop_prefix

qv_finish

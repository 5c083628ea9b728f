#!/usr/bin/env bash
# Hand-edited settings under HKCU\Software\Quorvex against the real
# Quorvex.scr. Each of the ten values is stored in turn as REG_DWORD,
# REG_BINARY, REG_MULTI_SZ, an empty REG_SZ and a 200-character REG_SZ, with
# data that would flip the field if its bytes were taken as text. The saver
# must keep every such field at its default: the configuration dialog's
# controls show what it loaded, and the full-screen saver must run and end on
# a key. Decimal texts that do fit (odd ones included) must load as the
# number they spell, and a well-formed value beside hostile ones must still
# count.
source "$(dirname "$0")/lib.sh"
qv_init "$@"
qv_start_xvfb
qv_new_prefix

SAVER="Quorvex Screen Saver"
NAMES=(ShowFPS UnSortPoints MouseSens Move3D PrimitivePoints HuesOfGray Trace ShowClock TraceModeInd TraceLength)
DEFAULTS=(0 0 1 0 1 0 1 0 2 1)
KINDS=(REG_DWORD REG_BINARY REG_MULTI_SZ EMPTY LONG)
CHECK_IDS=(256 257 258 259 262 263 264 268)
MODES=(Simple Diffusion Fire)
probe() { qv_wine "$QV_BIN/window_probe.exe" "$@"; }
repeat() { printf "%${2}s" '' | tr ' ' "$1"; }

# The text that would move field i off its default if the loader took any
# bytes as text: "1" for a switch that is off, "0" for one that is on, "0"
# for TraceModeInd (2) and "3" for TraceLength (1).
tempting() {
    case $1 in
    8) echo 0 ;;
    9) echo 3 ;;
    *) if [ "${DEFAULTS[$1]}" = 0 ]; then echo 1; else echo 0; fi ;;
    esac
}

# One .reg line storing field i as `kind`.
reg_line() {
    local i=$1 kind=$2 name=${NAMES[$1]} text hex
    text=$(tempting "$i")
    hex=$(printf '%02x' "'$text")
    case $kind in
    REG_DWORD)
        # The number whose first byte is the tempting character, except for
        # switches that are on: 0, whose bytes are all zero (an empty text).
        if [ "$i" -lt 8 ] && [ "${DEFAULTS[$i]}" = 1 ]; then
            echo "\"$name\"=dword:00000000"
        elif [ "$i" -lt 8 ]; then
            echo "\"$name\"=dword:00000001"
        else
            echo "\"$name\"=dword:000000$hex"
        fi
        ;;
    REG_BINARY) echo "\"$name\"=hex:$hex" ;;
    REG_MULTI_SZ) echo "\"$name\"=hex(7):$hex,00,00" ;;
    EMPTY) echo "\"$name\"=\"\"" ;;
    LONG) echo "\"$name\"=\"$(repeat "$text" 200)\"" ;;
    esac
}

# Replaces the whole key by the given .reg lines, in one regedit run.
store() {
    local file=$QV_WORK/values.$RANDOM.reg line
    {
        printf 'REGEDIT4\r\n\r\n[-HKEY_CURRENT_USER\\Software\\Quorvex]\r\n\r\n'
        printf '[HKEY_CURRENT_USER\\Software\\Quorvex]\r\n'
        for line in "$@"; do printf '%s\r\n' "$line"; done
    } >"$file"
    wine regedit /S "$(winepath -w "$file" 2>/dev/null)" >/dev/null 2>&1
}

# What the dialog must show for the ten field values given (field order).
expected_state() {
    local v=("$@") k trace=${v[6]}
    for k in 0 1 2 3 4 5 6 7; do
        local field=$k check enabled=1
        [ "$k" -ge 4 ] && field=$((k + 0))
        check=${v[$field]}
        if [ "$k" = 4 ]; then
            # Trace plots the simple way: the box is then ticked and grey.
            if [ "$trace" = 1 ]; then check=1 enabled=0; else enabled=1; fi
        fi
        echo "check ${CHECK_IDS[$k]} $check enabled $enabled"
    done
    local mode=${v[8]} selection=-1 text=""
    if [ "$mode" -ge 0 ] && [ "$mode" -le 2 ]; then selection=$mode text=${MODES[$mode]}; fi
    echo "combo selection $selection count 3 enabled $trace"
    echo "combo text $text"
    local length=${v[9]}
    [ "$length" -lt 0 ] && length=0
    [ "$length" -gt 3 ] && length=3
    echo "trackbar position $length range 0 3 enabled $trace"
    echo "label 267 enabled $trace"
}

dialog_state() {
    qv_wine_bg "$QV_SCR" /c
    local run=$QV_RUN
    qv_inspect wait 20 state sysclose gone 10 | grep -E '^(check|combo (selection|text)|trackbar|label)'
    qv_expect_exit0 "$LABEL: configure mode ends" "$run" 10 >/dev/null
}

# expect_dialog LABEL VALUES... : the dialog shows the ten values given.
expect_dialog() {
    LABEL=$1
    shift
    qv_expect_same "$LABEL: the dialog shows $*" "$(dialog_state)" "$(expected_state "$@")"
}

# The stored types are what the round meant to store (else the round would
# prove nothing).
expect_types() {
    local label=$1 listing name want got i
    shift
    listing=$(qv_reg_values 'Software\Quorvex')
    for i in "${!NAMES[@]}"; do
        name=${NAMES[$i]}
        want=$1
        shift
        [ "$want" = EMPTY ] || [ "$want" = LONG ] && want=REG_SZ
        got=$(awk -v n="$name" '$1 == n { print $2 }' <<<"$listing")
        [ "$got" = "$want" ] || qv_fail "$label: $name stored as '${got:-nothing}', meant $want"
    done
}

expect_saver_runs() {
    local label=$1
    qv_wine_bg "$QV_SCR" /s
    local run=$QV_RUN
    if probe texts "$SAVER" 15000 | grep -qx "class $SAVER"; then
        sleep 2
        qv_check "$label: the saver still runs after 2 s" qv_running "$run"
        qv_key space
    else
        qv_fail "$label: no saver window"
    fi
    qv_expect_exit0 "$label: a key ends the saver" "$run" 15
}

# ---------------------------------------------------------------- the observable works
# Every field away from its default, as the dialog would store it.
store '"ShowFPS"="1"' '"UnSortPoints"="1"' '"MouseSens"="0"' '"Move3D"="1"' '"PrimitivePoints"="0"' \
    '"HuesOfGray"="1"' '"Trace"="0"' '"ShowClock"="1"' '"TraceModeInd"="0"' '"TraceLength"="3"'
expect_dialog "stored decimal text" 1 1 0 1 0 1 0 1 0 3

# ---------------------------------------------------------------- hostile types
# Round r stores field i as KINDS[(i + r) % 5], so every field meets every
# kind and each round mixes them. Variant B keeps a well-formed Trace "0"
# beside the nine hostile values, which also makes PrimitivePoints visible.
for r in 0 1 2 3 4; do
    lines=()
    kinds=()
    for i in "${!NAMES[@]}"; do
        kind=${KINDS[$(((i + r) % 5))]}
        kinds+=("$kind")
        lines+=("$(reg_line "$i" "$kind")")
    done
    store "${lines[@]}"
    expect_types "round $r" "${kinds[@]}"
    expect_dialog "round $r (${kinds[*]})" "${DEFAULTS[@]}"
    [ $((r % 2)) = 0 ] && expect_saver_runs "round $r"

    lines[6]='"Trace"="0"'
    kinds[6]=REG_SZ
    store "${lines[@]}"
    expect_types "round $r, Trace 0" "${kinds[@]}"
    expect_dialog "round $r with a well-formed Trace 0" 0 0 1 0 1 0 0 0 2 1
    [ $((r % 2)) = 1 ] && expect_saver_runs "round $r with Trace off"
done

# ---------------------------------------------------------------- odd text that fits
# Every byte counts its code minus 48, modulo 2^32: "-" is -3, "1a" 59, " "
# -16, "/" -1 (all on); "-7" is -23 (no trace effect selected); "-1" is -29
# (shortest trace); "4294967298" wraps to 2; "99999999999" to 1215752191.
store '"ShowFPS"="-"' '"UnSortPoints"="1a"' '"MouseSens"="0000"' '"Move3D"=" "' '"PrimitivePoints"="00"' \
    '"HuesOfGray"="9"' '"Trace"="0"' '"ShowClock"="/"' '"TraceModeInd"="-7"' '"TraceLength"="-1"'
expect_dialog "odd decimal text, Trace off" 1 1 0 1 0 1 0 1 -23 -29
expect_saver_runs "odd decimal text, Trace off"

store '"ShowFPS"="1"' '"Trace"="1"' '"ShowClock"="1"' '"TraceModeInd"="4294967298"' \
    '"TraceLength"="99999999999"' '"MouseSens"="0"'
expect_dialog "wrapping numbers, Trace on" 1 0 0 0 1 0 1 1 2 1215752191
expect_saver_runs "wrapping numbers, Trace on"

qv_finish

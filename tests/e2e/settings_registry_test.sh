#!/usr/bin/env bash
# The settings as the saver reads them from HKCU\Software\Quorvex (through
# settings_dump.exe, which runs the saver's own registry store): defaults
# without a key, decimal text as stored, and defaults for values of another
# type, empty values and values too long for the 128-byte buffer. Saving
# writes ten one-character REG_SZ values that load back unchanged.
source "$(dirname "$0")/lib.sh"
qv_init "$@"
qv_new_prefix

KEY='Software\Quorvex'
DEFAULTS="ShowFPS=0 UnSortPoints=0 MouseSens=1 Move3D=0 PrimitivePoints=1 HuesOfGray=0 Trace=1 ShowClock=0 TraceModeInd=2 TraceLength=1"

dump() { qv_wine "$QV_BIN/settings_dump.exe" "$@" | tr '\n' ' ' | sed 's/ $//'; }
clear_key() { wine reg delete "HKCU\\$KEY" /f >/dev/null 2>&1 || true; }

# expect_settings label "Name=value ..." — the named fields as given, every
# other field at its default.
expect_settings() {
    local label=$1 want=$DEFAULTS pair got
    for pair in $2; do
        want=$(sed -E "s/(^| )${pair%%=*}=[^ ]*/\\1$pair/" <<<"$want")
    done
    got=$(dump)
    if [ "$got" = "$want" ]; then
        qv_pass "$label"
    else
        qv_fail "$label: got '$got', want '$want'"
    fi
}

clear_key
expect_settings "no key: every default" ""

clear_key
qv_reg_import '"ShowFPS"="7"' '"MouseSens"="0"' '"Trace"="0"' '"TraceModeInd"="/"' '"TraceLength"="12"'
expect_settings "decimal text: 7 is on, 0 off, '/' is -1, two digits after one-digit values" \
    "ShowFPS=1 MouseSens=0 Trace=0 TraceModeInd=-1 TraceLength=12"

clear_key
qv_reg_import '"ShowFPS"=dword:00000001' '"MouseSens"=dword:00000000' '"Trace"=hex:30' \
    '"PrimitivePoints"=hex(7):30,00,00' '"TraceModeInd"=dword:00000000' '"TraceLength"=hex(2):33,00' \
    '"HuesOfGray"="1"'
listing=$(wine reg query "HKCU\\$KEY" 2>/dev/null | tr -d '\r')
qv_check "the odd types are in place" test "$(grep -cE 'REG_(DWORD|BINARY|MULTI_SZ|EXPAND_SZ)' <<<"$listing")" -eq 6
expect_settings "values of another type keep their defaults; a text beside them still counts" "HuesOfGray=1"

clear_key
qv_reg_import '"ShowFPS"=""' '"MouseSens"=""' '"Trace"=""' '"PrimitivePoints"=""' '"TraceModeInd"=""' \
    '"TraceLength"=""'
listing=$(wine reg query "HKCU\\$KEY" 2>/dev/null | tr -d '\r')
qv_check "six empty REG_SZ values are in place" test "$(grep -cE '^ +[A-Za-z]+ +REG_SZ *$' <<<"$listing")" -eq 6
expect_settings "empty values keep their defaults" ""

clear_key
zeros() { printf '%*s' "$1" '' | tr ' ' 0; }
qv_reg_import "\"MouseSens\"=\"$(zeros 300)\"" "\"Trace\"=\"$(zeros 128)\"" \
    "\"TraceModeInd\"=\"$(zeros 126)1\"" "\"TraceLength\"=\"$(zeros 127)3\""
qv_check "the 300-character value is in place" test "$(qv_reg_query "$KEY" MouseSens | tr -d ' ' | wc -c)" -eq 301
expect_settings "127 characters fit the buffer, 128 and more keep the default" "TraceModeInd=1"

clear_key
got=$(dump save ShowFPS=1 MouseSens=0 TraceModeInd=-1 TraceLength=3 ShowClock=1)
want="ShowFPS=1 UnSortPoints=0 MouseSens=0 Move3D=0 PrimitivePoints=1 HuesOfGray=0 Trace=1 ShowClock=1 TraceModeInd=-1 TraceLength=3"
qv_check "save without a key, then load: the same values ($got)" test "$got" = "$want"
listing=$(wine reg query "HKCU\\$KEY" 2>/dev/null | tr -d '\r')
for pair in $want; do
    name=${pair%%=*}
    line=$(awk -v n="$name" '$1 == n' <<<"$listing")
    type=$(awk '{ print $2 }' <<<"$line")
    data=$(awk '{ print $3 }' <<<"$line")
    qv_check "saved $name as one-character REG_SZ ($type '$data')" \
        test "$type" = REG_SZ -a "${#data}" -eq 1
done
qv_check "saved TraceModeInd -1 as '/'" test "$(qv_reg_query "$KEY" TraceModeInd)" = /
count=$(grep -c REG_SZ <<<"$listing" || true)
qv_check "exactly ten values saved ($count)" test "$count" -eq 10

qv_finish

#!/usr/bin/env bash
# bash wine.sh <win32-bin-dir> <native-quorvex> <table.txt> runs the rows of a table against the real Quorvex.scr
# and the test driver in a WINEPREFIX and Xvfb display of its own (an 800x600 Wine virtual desktop). A row is
# "label | command line | set-up | step; step; ...". Set-up words: Name=text (REG_SZ under HKCU\Software\Quorvex), a
# raw REGEDIT4 line for that key, desk:<raw line> for HKCU\Control Panel\Desktop, dll:built=name and file:name beside
# the row's copy of the saver, lang=ru. Rows start from an empty key, no password switch, the pointer centred; a step
# is s_<word> below. A row fails unless its saver has ended and no window is left. "[name]" starts a block of expected
# lines; "@ arch win64", "@ screens WxH..." (left to right) and "@ primary N" pick the machine.
set -uo pipefail
BIN=$(cd "$1" && pwd) NATIVE=$2 TABLE=$3
BUILD=$(cd "$BIN/../.." && pwd) ARCH=$(sed -n 's/^@ arch //p' "$TABLE")
SCREENS=$(sed -n 's/^@ screens //p' "$TABLE") PRIMARY=$(sed -n 's/^@ primary //p' "$TABLE")
VERSION=$(sed -n 's/^project(Quorvex VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")
SETUP=$BUILD/QuorvexSetup-$VERSION.exe SYS_SCR='C:\windows\system32\Quorvex.scr'
UNINST='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvex'
# The tool compared with the native one, and the saver the installer puts in System32.
TOOL=$BIN/quorvex.exe BUILT=$BIN/Quorvex.scr WINE=wine VIEW=
[ "${ARCH:=win32}" = win32 ] ||
    TOOL=$BUILD/win64/bin/quorvex.exe BUILT=$BUILD/win64/bin/Quorvex.scr WINE=/usr/lib/wine/wine64 VIEW=/reg:64
SAVER="Quorvex Screen Saver" DIALOG="Quorvex Screen Saver v4.4" PROMPT="Quorvex test password prompt"
WORK=$(mktemp -d "${TMPDIR:-/tmp}/quorvex-e2e.XXXXXX")
TEMPLATE=${QV_TEMPLATE:-${TMPDIR:-/tmp}/quorvex-wine-template}-$ARCH
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;mpr=n,b" LANG=C.UTF-8 LC_ALL=C.UTF-8
FAILS=0 RUN= JOBS=() N=0 PREFIX=$WORK/prefix SYS=$WORK/prefix/drive_c/windows/system32
declare -A BLOCK

ok() { echo "ok   - $LABEL: $*"; }
fail() { echo "FAIL - $LABEL: $*"; FAILS=$((FAILS + 1)); [ -z "${QV_FAILFAST:-}" ] || exit 1; }
not() { ! "$@"; }
check() { local what=$1; shift; if "$@"; then ok "$what"; else fail "$what"; fi; }
until_ok() { # SECONDS cmd...: polls cmd every 0.1 s up to the deadline
    local end=$(($(date +%s%N) / 1000000 + $(awk -v s="$1" 'BEGIN { printf "%d", s * 1000 }'))) && shift
    until "$@"; do [ "$(($(date +%s%N) / 1000000))" -lt "$end" ] || return 1; sleep 0.1; done
}
same() { # what actual expected
    if [ "$2" = "$3" ]; then ok "$1"; else fail "$1"; diff <(echo "$3") <(echo "$2") | sed 's/^/      /'; fi
}
cleanup() {
    WINEPREFIX=$PREFIX wineserver -k 2>/dev/null
    kill "${JOBS[@]}" 2>/dev/null
    WINEPREFIX=$PREFIX timeout 10 wineserver -w 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# ---------------------------------------------------------------- display and prefix
xserver() { # server args...: started in the background; DISPLAY names it
    "$@" -nolisten tcp 3>"$WORK/display.$1" >/dev/null 2>&1 &
    JOBS+=($!) # the server itself, so that the clean-up stops it
    until_ok 20 test -s "$WORK/display.$1" || { echo "$1 did not start"; exit 1; }
    export DISPLAY=":$(head -n1 "$WORK/display.$1")"
    until_ok 10 xdotool getmouselocation >/dev/null 2>&1 || exit 1
}
if [ -z "$SCREENS" ]; then xserver Xvfb -displayfd 3 -screen 0 800x600x24
else
    xserver Xvfb -displayfd 3 -screen 0 1600x700x24
    # With RandR Wine sees one output; without it, Xinerama's monitors.
    xserver Xephyr -displayfd 3 $(printf -- '-screen %s ' $SCREENS) +xinerama -extension RANDR
fi
# The template prefix is made once per machine under a lock, and again when Wine or its fonts change (it keeps the
# fonts it was made with); each table gets a copy whose registry and ini files are private, the rest hard links.
(
    flock 9
    export WINEPREFIX=$TEMPLATE DISPLAY= stamp="$(wine --version 2>/dev/null; dpkg-query -W wine libwine fonts-wine \
        fonts-liberation 2>/dev/null) v3"
    [ "$(cat "$TEMPLATE/.qv-ready" 2>/dev/null)" = "$stamp" ] && exit 0
    rm -rf "$TEMPLATE"
    WINEARCH=$ARCH wineboot -i >/dev/null 2>&1
    # One 800x600 virtual desktop: a screen of known size, and `wine X` returns X's own exit code.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 800x600 /f >/dev/null 2>&1
    wineserver -w
    [ -f "$TEMPLATE/system.reg" ] && echo "$stamp" >"$TEMPLATE/.qv-ready"
) 9>"$TEMPLATE.lock"
export WINEPREFIX=$PREFIX
cp -al "$TEMPLATE" "$PREFIX" && (cd "$TEMPLATE" && find . -type f ! -path './drive_c/windows/sys*' -print0 |
    xargs -0 cp -p --parents --remove-destination -t "$PREFIX")
restart() { wineserver -k 2>/dev/null; wineserver -w 2>/dev/null; }
# Several monitors show only without the virtual desktop, in a fresh session; the primary is screen PRIMARY (0).
[ -z "$SCREENS" ] || { wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v PrimaryMonitor /d "${PRIMARY:-0}" /f >/dev/null 2>&1; restart; }
drv() { wine "$BIN/driver.exe" "$@" 2>/dev/null | tr -d '\r'; return "${PIPESTATUS[0]}"; }
wpath() { winepath -w "$1" 2>/dev/null; }
regedit_lines() { # Lines of a REGEDIT4 file, imported in one regedit run.
    printf 'REGEDIT4\r\n\r\n%s\r\n' "$@" >"$WORK/import.reg"
    wine regedit /S "$(wpath "$WORK/import.reg")" >/dev/null 2>&1
}
values() { # "Name TYPE data" of HKCU\Software\Quorvex (or KEY), sorted
    wine reg query "${1:-HKCU\Software\Quorvex}" 2>/dev/null | tr -d '\r' |
        awk 'NF >= 2 && $2 ~ /^REG_/ { print $1, $2, $3 }' | LC_ALL=C sort
}
rep() { printf "%${2}s" '' | tr ' ' "$1"; }

# ---------------------------------------------------------------- pictures
shot() { import -window root "$WORK/${1:-shot}.png" 2>/dev/null; }
differs() { # N [crop]: a new shot differs from shot a in more than N pixels
    shot b && CHANGED=$( (compare -metric AE ${2:+-extract "$2"} "$WORK/a.png" "$WORK/b.png" null: 2>&1 || :) |
        awk '{ printf "%d", $1 }') && [ "$CHANGED" -gt "$1" ]
}
seen() { # min|max CROP LEVEL N: "pixels left top right bottom" (the last two past the end), within CROP ("" for
    # all), of the pixels brighter than LEVEL in each (min) or any (max) of N new shots
    local i files=()
    for ((i = 0; i < $4; i++)); do shot "s$i" && files+=("$WORK/s$i.png"); done
    convert "${files[@]}" ${2:+-crop "$2"} +repage -colorspace Gray -evaluate-sequence "$1" -threshold "$3" \
        -format '%[fx:round(mean*w*h)] %@' info: 2>/dev/null |
        awk '{ split($2, a, /[x+]/); print $1, a[3], a[4], a[3] + a[1], a[4] + a[2] }'
}
lit_in() { read -r LIT _ < <(seen max "${3:-}" 0 1) && [ "$LIT" -ge "$1" ] && [ "$LIT" -le "$2" ]; }

# ---------------------------------------------------------------- rows
geometries() { # WxH+X+Y of every saver window, sorted
    for id in $(xdotool search --onlyvisible --name "^$SAVER\$" 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$id")" && echo "${WIDTH}x$HEIGHT+$X+$Y"
    done | LC_ALL=C sort
}
s_saver() { # [WxH+X+Y...]: a saver window on each monitor (800x600+0+0), exactly, each drawing; no dialog
    local g n=$(($# ? $# : 1))
    [ $# -gt 0 ] || set -- 800x600+0+0
    until_ok 30 eval '[ "$(geometries | wc -l)" = $n ]'
    same "a window on each monitor" "$(geometries)" "$(printf '%s\n' "$@" | LC_ALL=C sort)"
    same "no dialog beside it" "$(drv count "$DIALOG")" 0
    # Input goes to the focus: a key sent before it would be lost.
    check "the primary has the focus" until_ok 10 focused
    for g in "$@"; do check "$g draws" until_ok 10 lit_in 101 9999999 "$g"; done
}
focused() { [ "$(drv front)" = "front $SAVER focus $SAVER" ]; }
s_dialog() { # the configuration dialog is up, and no saver window
    s_count "$DIALOG" 1 20
    same "no saver window beside it" "$(drv count "$SAVER")" 0
}
s_msgbox() { # the saver's message box with this text; OK ends it
    same "a message box \"$1\" with an icon and OK" "$(drv children "$SAVER" 15 | sed -E 's/^window ([^ ]+) .*/\1/
        s/^child [0-9]+ id ([0-9]+) class ([^ ]+) .* text /\2 \1 /; s/^Button 1 .*/Button 1 OK/')" \
        "$(printf '%s\n' '#32770' 'Static 1088 ' 'Button 1 OK' "Static 65535 $1")"
    check "it waits for the answer" running
    drv post "$SAVER" 273 1 >/dev/null
}
s_cancel() { drv post "$DIALOG" 273 2 >/dev/null; }
s_key() { xdotool key --clearmodifiers "$@"; }
s_click() { xdotool click "$1"; }
s_move() { xdotool mousemove "$@"; }
s_rel() { xdotool mousemove_relative -- "$@"; }
running() { [ -n "$RUN" ] && [ ! -f "$RUN.rc" ]; }
s_runs() { # the saver keeps running for S seconds, its windows still there (they go well before the process ends)
    if until_ok "$1" test -f "$RUN.rc" || count_is "$SAVER" 0; then fail "ended within $1 s"; else ok "runs on"; fi
}
s_exit() { # [S [CODE]]: what was started ends with exit code CODE (0) within S (15) s
    if until_ok "${1:-15}" test -f "$RUN.rc"; then same "ends with exit code ${2:-0}" "$(cat "$RUN.rc")" "${2:-0}"
    else fail "still running after ${1:-15} s"; fi
}
s_lit() { check "between $1 and $2 lit pixels ${3:-} (${LIT:-?})" until_ok 10 lit_in "$@"; }
s_white() { # MAX CROP: at most MAX pure white pixels within CROP in 5 shots together (the FPS text flickers)
    read -r LIT _ < <(seen max "$2" 99.99% 5)
    check "at most $1 white pixels in $2 ($LIT)" test "$LIT" -le "$1"
}
s_soak() { # S: keeps drawing a moving picture, resident memory grows < 8 MiB
    local pid=$(pgrep -nf "${WORK##*/}.*Quorvex\.scr") rss i
    rss=$(ps -o rss= -p "$pid")
    for ((i = 0; i < $1; i += 10)); do s_runs 10; s_moves; s_lit 50 480000; done
    check "resident KiB: $rss, then $(ps -o rss= -p "$pid")" test "$(ps -o rss= -p "$pid")" -le $((rss + 8192))
}
s_moves() { shot a; check "the picture moves" until_ok 5 differs 200 "${1:-}"; }
s_frozen() { shot a; check "nothing is drawn" not until_ok 0.5 differs 0 "$1"; }
s_still() { # the picture settles and stays, and a repaint of the whole window (a full copy) shows it unchanged
    check "the picture settles" until_ok 5 eval 'shot a && ! differs 0'; s_frozen ''; drv repaint
    check "a full copy shows the same" not until_ok 1 differs 0; }
s_points() { # plus|square: footprints of the 3x3 points
    shot
    read -r plus square < <(convert "$WORK/shot.png" -depth 8 txt:- 2>/dev/null | awk -F'[,:() ]+' '
        function at(x, y) { return (x "," y) in v ? v[x "," y] : 0 }
        NR > 1 && $3 + $4 + $5 > 0 { v[$1 "," $2] = $3 + $4 + $5 }
        END { for (k in v) { split(k, p, ","); x = p[1]; y = p[2]; c = v[k]
                  if (!(at(x, y-1) == c && at(x, y+1) == c && at(x-1, y) == c && at(x+1, y) == c)) continue
                  a = at(x-1, y-1); e = at(x+1, y-1) + at(x-1, y+1) + at(x+1, y+1)
                  if (a > 0 && a < c && e == 3 * a) plus++; if (a == c && e == 3 * c) square++ }
              print plus + 0, square + 0 }')
    if [ "$1" = plus ]; then check "plus-shaped points ($plus/$square)" test "$plus" -ge 20 -a "$square" -le 2
    else check "square points ($plus/$square)" test "$plus" -le 2 -a "$square" -ge 20; fi
}
s_fps() { # [X]: white FPS text from (10, 10), one line; with X, it ends past X + 12
    local n x0 y0 y1
    until_ok 10 eval 'read -r n x0 y0 FPS_RIGHT y1 < <(seen max 400x40+0+0 99.99% 3) && [ "$n" -gt 10 ]'
    check "white FPS text at ($x0, $y0)..($FPS_RIGHT, $y1), $n pixels" \
        test "$n" -ge 30 -a "$x0" -ge 10 -a "$x0" -le 14 -a "$y0" -ge 10 -a "$y0" -le 16 -a "$y1" -le 31
    [ -z "${1:-}" ] || check "a suffix longer than \" fps\" (to $FPS_RIGHT, not $1)" test "$FPS_RIGHT" -ge $(($1 + 12))
}
s_clock() { # yes|no: a steady text at the top right, ending 25 px from the edge
    local n left top right
    read -r n left top right _ < <(seen min 360x130+440+0 1% 4)
    if [ "$1" = no ]; then check "nothing steady at the top right ($n)" test "$n" -lt 60
    else check "a clock at the top right: $n pixels, right end $((right + 440)), top $top" \
        test "$n" -ge 150 -a "$right" -ge 300 -a "$right" -le 336 -a "$top" -ge 20 -a "$top" -le 60; fi
}
s_drv() { # BLOCK cmd...: the driver's lines whose first word a line of BLOCK has, link captions masked, are BLOCK
    local want=${BLOCK[$1]} keys
    shift
    keys=$(awk '{ print $1 }' <<<"$want" | sort -u | paste -sd'|')
    same "driver $*" "$(drv "$@" | grep -E "^($keys) " | sed -E 's/^(child [78] .* text ).*/\1<link>/')" "$want"
}
s_state() { # the dialog shows these ten field values (settings order); Trace on checks and disables 262
    local m=(${MODES:-Simple Diffusion Fire}) tr=$7 sel=-1 text=
    [ "$9" -ge 0 ] && [ "$9" -le 2 ] && sel=$9 text=${m[$9]}
    same "the dialog shows $*" "$(drv state)" "$(printf '%s\n' "checks ${*:1:4} $((tr == 1 ? 1 : $5)) ${*:6:3}" \
        "enabled 1 1 1 1 $((tr != 1)) 1 1 1 $tr $tr $tr" "combo $sel $text / ${m[*]}" \
        "trackbar $((${10} < 0 ? 0 : ${10} > 3 ? 3 : ${10})) 0 3" 'owner none')"
}
s_do() { drv "$@" >/dev/null; }
s_gone() { s_count "$DIALOG" 0; }
s_log() { # N: the password service was called N times, for the saver's window with the cursor hidden
    same "the password calls" "$(grep '^call' "$APP/calls.log")" "$(yes "call window $SAVER cursor 0" | head -n "$1")"
}
s_run() { # driver commands that print ok/FAIL lines themselves
    local out rc
    out=$(drv "$@") && rc=0 || rc=$?
    sed 's/^/      /' <<<"$out"
    check "driver $*: every check passed" test "$rc" = 0 -a -n "$out"
}
# What an XP loader lacks that a newer MinGW runtime or a change of ours could pull in: Vista's clocks, condition
# variables, SRW locks, fiber-local storage, one-time init, ...Ex creation and locale calls, DPI calls (the
# manifest sets DPI awareness), later registry and process calls, waits on an address.
POST_XP='GetTickCount64|QueryUnbiasedInterruptTime|GetSystemTimePreciseAsFileTime|.*(ConditionVariable|SRWLock).*'
POST_XP+='|Fls[A-Z].*|InitOnce.*|Create(Event|Mutex|Semaphore|WaitableTimer)Ex[AW]|QueryFullProcessImageName[AW]'
POST_XP+='|InitializeCriticalSectionEx|.*(Locale[A-Za-z]*|Format|String)Ex|.*(LocaleName|PreferredUILanguages).*'
POST_XP+='|.*(DPIAware|Dpi).*|Reg(GetValue|SetKeyValue|DeleteTree|DeleteKeyEx)[AW]|WaitOnAddress|WakeByAddress.*'
s_pe() { # FILE FORMAT VERSION BYTES: a GUI or console PE of FORMAT that an XP loader takes (subsystem and OS
    # version at most VERSION, major * 100 + minor), importing only from XP's own DLLs, at most BYTES long
    local h LABEL="$LABEL: ${1#"$BUILD"/}"
    h=$(objdump -p "$1" 2>/dev/null)
    same "a $2, version at most $3, importing from kernel32 and nothing Windows XP lacks" "$(awk -v max="$3" \
        -v f="^($POST_XP)\$" '/file format/ { print $NF } /DLL Name:/ { dll = tolower($3); k += dll == "kernel32.dll" }
        /^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_]/ && ($3 ~ f || (dll == "msvcrt.dll" && $3 ~ /_s$/) ||
            dll !~ /^(kernel32|user32|gdi32|advapi32|shell32|comctl32|comdlg32|ole32|oleaut32|version|msvcrt)\.dll$/) {
            print dll, $3 }
        /^Major(Subsystem|OSystem)Version/ { M = $2 } /^Minor(Subsystem|OSystem)Version/ { v = M * 100 + $2 }
        v > m { m = v } END { if (!k) print "no kernel32.dll"; if (!m || m > max) print "version", m }' <<<"$h")" "$2"
    check "$(stat -c %s "$1") bytes, at most $4" test "$(stat -c %s "$1")" -le "$4"
    [[ $1 != *.scr ]] || check "a program for the GUI" grep -q 'Subsystem.*(Windows GUI)' <<<"$h"
}
s_same_out() { # quorvex.exe ARGS prints what the native tool prints
    "$NATIVE" "$@" >"$WORK/n.txt" 2>/dev/null
    "$WINE" "$TOOL" "$@" 2>/dev/null | tr -d '\r' >"$WORK/w.txt"
    check "quorvex $*: the same $(wc -c <"$WORK/n.txt") bytes" eval '[ -s "$WORK/n.txt" ] && cmp -s "$WORK"/[nw].txt'
}
s_same_frame() { # quorvex.exe render ARGS gives the native tool's frame, with points
    rm -f "$WORK/n.ppm" "$WORK/w.ppm"
    "$NATIVE" render "$@" --out "$WORK/n.ppm" >/dev/null 2>&1
    "$WINE" "$TOOL" render "$@" --out "$(wpath "$WORK")\\w.ppm" >/dev/null 2>&1
    check "render $*: the same frame, with points" eval 'cmp -s "$WORK"/[nw].ppm && [ "$(convert "$WORK/n.ppm" \
        -threshold 0 -format "%[fx:round(mean*w*h)]" info:)" -gt 50 ]'
}
s_stored() { same "ten values stored" "$(values | wc -l)" 10; }
s_links() { # the mail and web buttons hand their captions to the shell
    local p mail web
    for p in mailto http https; do wine reg add "HKCR\\$p\\shell\\open\\command" /ve /f /d \
        "\"$(wpath "$BIN/driver.exe")\" record \"$(wpath "$WORK/urls")\" \"%1\"" >/dev/null 2>&1; done
    read -r mail web < <(drv children "$DIALOG" 0 | awk '$4 ~ /^26[01]$/ { printf "%s ", $NF }')
    check "a mail and a web address ($mail, $web)" eval '[[ $mail =~ ^[^@]+@[^@]+\.[a-z]+$ && $web =~ ^https?://. ]]'
    drv click 260 click 261
    check "the mail button opens mailto:$mail" until_ok 15 grep -sqxF "mailto:$mail" "$WORK/urls"
    check "the web button opens $web" until_ok 15 grep -sqxF "$web" "$WORK/urls"
    check "the dialog stays" count_is "$DIALOG" 1
    rm -f "$WORK/urls"
}
s_values() { # the ten values stored as text, in settings order (none: no value)
    local names=(ShowFPS UnSortPoints MouseSens Move3D PrimitivePoints HuesOfGray Trace ShowClock TraceModeInd
        TraceLength) i
    same "HKCU\\Software\\Quorvex holds $*" "$(values)" "$([ "$1" = none ] || for i in {0..9}; do
        echo "${names[i]} REG_SZ ${@:i+1:1}"; done | LC_ALL=C sort)"
}
s_logged() { check "logged \"$*\"" until_ok 15 grep -sqxF "$*" "$APP/calls.log"; }
calls_over() { [ "$(grep -sc '^call\|^Pwd' "$APP/calls.log")" -gt "$1" ]; }
s_calls() { # N [S]: N calls of the password service (and none more for S seconds)
    check "$1 password call(s)" until_ok 15 calls_over $(($1 - 1))
    [ -z "${2:-}" ] || check "no further call for $2 s" not until_ok "$2" calls_over "$1"
}
s_nolog() { check "no password service was called" test ! -e "$APP/calls.log"; }
s_answer() { echo "$1" >"$APP/a.tmp" && mv "$APP/a.tmp" "$APP/password_answer.txt"; }
count_is() { [ "$(drv count "$1")" = "$2" ]; }
s_count() { check "$2 window(s) \"$1\" within ${3:-10} s" until_ok "${3:-10}" count_is "$1" "$2"; } # TITLE N [S]
s_again() { start "$@"; } # a further start beside the first; RUN names it
s_first() { RUN=$FIRST; }
s_sh() { check "$*" eval "$*"; }

# The installer, silent: the saver of the table's architecture in the real System32, an Add/Remove Programs entry
# (in that registry view only) and the current screen saver set; the installed saver runs and a key ends it.
s_install() { # [FOLDER]: the uninstaller's, given as /D=FOLDER
    local got kb
    INST=${1:-'C:\Program Files\Quorvex'}
    launch wine "$SETUP" /S ${1:+"/D=$1"} && s_exit 120
    check "the built saver in the real System32" cmp -s "$BUILT" "$SYS/Quorvex.scr"
    check "nothing in SysWOW64" test ! -e "$SYS/../syswow64/Quorvex.scr"
    got=$(wine reg query "$UNINST" $VIEW 2>/dev/null | tr -d '\r' |
        awk '$2 ~ /^REG_/ { n = $1; $1 = $2 = ""; sub(/^ +/, ""); print n "=" $0 }')
    same "the Add/Remove Programs entry" "$(grep -E '^(Display|Publisher|.*Uninstall)' <<<"$got")" \
        "$(printf '%s\n' "DisplayIcon=$SYS_SCR,0" 'DisplayName=Quorvex Screen Saver' "DisplayVersion=$VERSION" \
            'Publisher=The Quorvex authors' "QuietUninstallString=\"$INST\\Uninstall.exe\" /S" \
            "UninstallString=\"$INST\\Uninstall.exe\"")"
    kb=$(($(sed -n 's/^EstimatedSize=//p' <<<"$got") + 0))
    check "EstimatedSize $kb KiB covers the saver" test $((kb * 1024)) -ge "$(stat -c %s "$BUILT")" -a "$kb" -lt 2048
    [ -z "$VIEW" ] || check "no entry in the 32-bit registry view" not wine reg query "$UNINST"
    same "the current screen saver" "$(scrnsave)" "$SYS_SCR"
    launch "$WINE" "$SYS_SCR" /s && s_saver && s_key Return && s_exit
}
scrnsave() { values 'HKCU\Control Panel\Desktop' | sed -n 's/^SCRNSAVE.EXE REG_SZ //p'; }
uninstalled() { [ ! -e "$SYS/Quorvex.scr" ] && [ ! -e "$(winepath -u "$INST" 2>/dev/null)" ] &&
    ! wine reg query "$UNINST" $VIEW >/dev/null 2>&1; }
s_uninstall() { # [SAVER]: silent; SCRNSAVE.EXE, when it names SAVER, stays; the settings stay
    [ -z "${1:-}" ] || wine reg add 'HKCU\Control Panel\Desktop' /v SCRNSAVE.EXE /d "$1" /f >/dev/null 2>&1
    launch wine "$INST\\Uninstall.exe" /S && s_exit 60
    # It finishes from a copy of itself in the temp folder.
    check "saver, uninstaller and entry gone" until_ok 30 uninstalled
    same "SCRNSAVE.EXE afterwards" "$(scrnsave)" "${1:-}"
    same "the user's settings stay" "$(values)" "MouseSens REG_SZ 0"
}
start() { launch wine "$APP/Quorvex.scr" "$@"; } # the row's copy of the saver
launch() { # launcher program args...: in the background; RUN names it
    RUN=$WORK/run.$((++N))
    ("$@" >/dev/null 2>&1; echo $? >"$RUN.part" && mv "$RUN.part" "$RUN.rc") &
    JOBS+=($!)
}

row() { # label | args | set-up | steps
    IFS='|' read -r LABEL args setup steps <<<"$1"
    LABEL=$(echo $LABEL)
    local words=() lines=('[-HKEY_CURRENT_USER\Software\Quorvex]' '[HKEY_CURRENT_USER\Control Panel\Desktop]'
        '"ScreenSaveUsePassword"=-' '[HKEY_CURRENT_USER\Software\Quorvex]') w
    eval "words=($setup)"
    APP=$WORK/app.$((N + 1))
    mkdir -p "$APP" && cp "$BIN/Quorvex.scr" "$APP/"
    export LANG=C.UTF-8 LC_ALL=C.UTF-8 MODES=
    for w in "${words[@]}"; do
        case $w in
        dll:*) w=${w#dll:} && cp "$BIN/${w%%=*}" "$APP/${w#*=}" ;;
        file:*) : >"$APP/${w#file:}" ;;
        lang=ru) export LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8 MODES="Простой Растворение Пламя" ;;
        desk:*) lines+=('[HKEY_CURRENT_USER\Control Panel\Desktop]' "${w#desk:}") ;;
        \"*) lines+=('[HKEY_CURRENT_USER\Software\Quorvex]' "$w") ;;
        *) lines+=('[HKEY_CURRENT_USER\Software\Quorvex]' "\"${w%%=*}\"=\"${w#*=}\"") ;;
        esac
    done
    regedit_lines "${lines[@]}"
    xdotool mousemove 400 300
    RUN=
    eval "words=($args)"
    [ "${words[*]}" = - ] || { start "${words[@]}"; FIRST=$RUN; }
    IFS=';' read -ra steps <<<"$steps"
    for step in "${steps[@]}"; do eval "s_${step#"${step%%[! ]*}"}"; done
    if running || { [ -n "${FIRST:-}" ] && [ ! -f "$FIRST.rc" ]; }; then
        fail "the saver still runs at the end of the row"
        restart
    fi
    FIRST=
    same "no saver window or dialog left" "$(drv count "$SAVER" count "$DIALOG" | paste -sd' ')" "0 0"
}

name= ROWS=()
while IFS= read -r line || [ -n "$line" ]; do
    case $line in
    '#'* | '@'* | '') name= ;;
    '['*']') name=${line:1:-1} BLOCK[$name]= ;;
    *) if [ -n "$name" ]; then BLOCK[$name]+="${BLOCK[$name]:+$'\n'}$line"; else ROWS+=("$line"); fi ;;
    esac
done <"$TABLE"
for line in "${ROWS[@]}"; do row "$line"; done
[ "$FAILS" = 0 ] || { echo "$FAILS check(s) failed"; exit 1; }

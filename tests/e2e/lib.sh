# Shared helpers of the Wine end-to-end scripts. A script starts with
#
#   source "$(dirname "$0")/lib.sh"
#   qv_init "$@"          # $1: dir with Quorvex.scr, $2: native quorvex
#   qv_start_xvfb         # own display, DISPLAY exported
#   qv_new_prefix         # own WINEPREFIX, copied from a shared template
#
# and everything it started is stopped by the EXIT trap: the Xvfb it started,
# the wineserver of each prefix it made (which takes that prefix's Wine
# processes with it), its own background jobs, and its work directory.
# Nothing here waits a fixed time: every wait polls a condition up to a
# deadline.
# shellcheck shell=bash

set -euo pipefail

QV_TEMPLATE=${QV_TEMPLATE:-${TMPDIR:-/tmp}/quorvex-wine-template}
QV_POLL=${QV_POLL:-0.1}
QV_PREFIXES=()
QV_JOBS=()
QV_XVFB_PID=
QV_WORK=
QV_FAILS=0

# ---------------------------------------------------------------- set-up

qv_init() {
    if [ $# -lt 1 ] || [ ! -f "$1/Quorvex.scr" ]; then
        echo "usage: bash $0 <win32-bin-dir> <native-quorvex>; no Quorvex.scr in '${1:-}'" >&2
        exit 2
    fi
    QV_BIN=$(cd "$1" && pwd)
    QV_NATIVE=${2:-}
    QV_SCR=$QV_BIN/Quorvex.scr
    QV_WORK=$(mktemp -d "${TMPDIR:-/tmp}/quorvex-e2e.XXXXXX")
    trap qv_cleanup EXIT
    trap 'exit 130' INT TERM
    export WINEDEBUG=-all
    # No Mono or Gecko installer prompts: the saver needs neither.
    export WINEDLLOVERRIDES="mscoree,mshtml="
    # English user interface unless a test asks for another.
    export LANG=C.UTF-8 LC_ALL=C.UTF-8
    unset WINEPREFIX
}

qv_log() { echo "[$(date +%T)] $*" >&2; }

# A failed check is reported and counted; qv_finish turns the count into the
# exit code so one run reports every failing check.
qv_check() {
    local what=$1
    shift
    if "$@"; then
        echo "ok   - $what"
    else
        echo "FAIL - $what"
        QV_FAILS=$((QV_FAILS + 1))
    fi
}

qv_fail() {
    echo "FAIL - $*"
    QV_FAILS=$((QV_FAILS + 1))
}

qv_pass() { echo "ok   - $*"; }

qv_finish() {
    if [ "$QV_FAILS" -ne 0 ]; then
        echo "$QV_FAILS check(s) failed"
        exit 1
    fi
    exit 0
}

qv_now_ms() { date +%s%3N; }

# Polls `cmd...` every QV_POLL seconds until it succeeds or `seconds` (may be
# fractional) pass.
qv_wait_until() {
    local seconds=$1
    shift
    local deadline
    deadline=$(($(qv_now_ms) + $(awk -v s="$seconds" 'BEGIN { printf "%d", s * 1000 }')))
    while :; do
        if "$@"; then return 0; fi
        if [ "$(qv_now_ms)" -ge "$deadline" ]; then return 1; fi
        sleep "$QV_POLL"
    done
}

# Starts Xvfb on a display it picks itself (-displayfd) and exports DISPLAY.
qv_start_xvfb() {
    local geometry=${1:-800x600x24}
    local fdfile=$QV_WORK/xvfb.display
    : >"$fdfile"
    Xvfb -displayfd 3 -screen 0 "$geometry" -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
    QV_XVFB_PID=$!
    qv_wait_until 20 test -s "$fdfile" || { echo "Xvfb did not start" >&2; exit 1; }
    export DISPLAY=":$(head -n1 "$fdfile")"
    qv_wait_until 10 qv_display_ok || { echo "display $DISPLAY not answering" >&2; exit 1; }
    # Pointer in the middle of the screen: with no window manager the keyboard
    # goes to the window under the pointer, which is then the saver's.
    xdotool mousemove 400 300 >/dev/null 2>&1 || true
}

qv_display_ok() { xdotool getmouselocation >/dev/null 2>&1; }

# The template prefix is made once per machine (wineboot is slow) under a
# lock so parallel scripts do not both build it.
qv_ensure_template() {
    local stamp
    stamp="$(wine --version 2>/dev/null) v2"
    mkdir -p "$(dirname "$QV_TEMPLATE")"
    (
        flock 9
        if [ -f "$QV_TEMPLATE/.qv-ready" ] && [ "$(cat "$QV_TEMPLATE/.qv-ready")" = "$stamp" ]; then
            exit 0
        fi
        rm -rf "$QV_TEMPLATE"
        qv_log "building the Wine template prefix $QV_TEMPLATE"
        # No display while booting: nothing may show up on anyone's screen.
        # 32-bit unless asked (QV_WINEARCH): with wine64 installed Wine would
        # otherwise make a 64-bit prefix.
        WINEPREFIX=$QV_TEMPLATE DISPLAY= WINEARCH=${QV_WINEARCH:-win32} wineboot -i >/dev/null 2>&1 || true
        # Every program started in a copy runs inside one 800x600 virtual
        # desktop, so `wine Quorvex.scr /s` gets a screen of known size and
        # returns the saver's own exit code.
        WINEPREFIX=$QV_TEMPLATE DISPLAY= wine reg add 'HKCU\Software\Wine\Explorer' \
            /v Desktop /d Default /f >/dev/null 2>&1
        WINEPREFIX=$QV_TEMPLATE DISPLAY= wine reg add 'HKCU\Software\Wine\Explorer\Desktops' \
            /v Default /d 800x600 /f >/dev/null 2>&1
        # Copies must start from a quiet prefix with the registry on disk.
        WINEPREFIX=$QV_TEMPLATE wineserver -w || true
        [ -f "$QV_TEMPLATE/system.reg" ] || { echo "wineboot failed" >&2; exit 1; }
        echo "$stamp" >"$QV_TEMPLATE/.qv-ready"
    ) 9>"$QV_TEMPLATE.lock"
}

# Makes a fresh prefix for one saver run and exports WINEPREFIX. The big,
# never-written system directories are hard links to the template; every
# other file (registry, ini files) is a private copy.
qv_new_prefix() {
    qv_ensure_template
    local dst
    dst=$(mktemp -d "$QV_WORK/prefix.XXXXXX")
    rmdir "$dst"
    cp -al "$QV_TEMPLATE" "$dst"
    # Private copies in place of the links, in one cp.
    (cd "$QV_TEMPLATE" &&
        find . -type f ! -path './drive_c/windows/system32/*' ! -path './drive_c/windows/syswow64/*' -print0 |
        xargs -0 cp -p --parents --remove-destination -t "$dst")
    rm -f "$dst/.qv-ready"
    export WINEPREFIX=$dst
    QV_PREFIXES+=("$dst")
    QV_PREFIX=$dst
}

# Ends the Wine session of the current prefix (the desktop included), so the
# next program starts one that reads the registry afresh: needed after
# changing the virtual desktop's settings.
qv_restart_session() {
    wineserver -k >/dev/null 2>&1 || true
    wineserver -w >/dev/null 2>&1 || true
}

# Stops every Wine process of the current prefix and removes the prefix.
qv_drop_prefix() {
    local prefix=${1:-${WINEPREFIX:-}}
    [ -n "$prefix" ] || return 0
    WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
    WINEPREFIX=$prefix wineserver -w >/dev/null 2>&1 || true
    case "$prefix" in "$QV_WORK"/*) rm -rf "$prefix" ;; esac
    if [ "${WINEPREFIX:-}" = "$prefix" ]; then unset WINEPREFIX; fi
}

qv_cleanup() {
    local rc=$?
    set +e
    local p
    for p in "${QV_PREFIXES[@]}"; do
        [ -d "$p" ] && WINEPREFIX=$p wineserver -k >/dev/null 2>&1
    done
    for p in "${QV_JOBS[@]}"; do
        kill "$p" 2>/dev/null
    done
    for p in "${QV_PREFIXES[@]}"; do
        [ -d "$p" ] && WINEPREFIX=$p timeout 10 wineserver -w >/dev/null 2>&1
    done
    if [ -n "$QV_XVFB_PID" ]; then
        kill "$QV_XVFB_PID" 2>/dev/null
        wait "$QV_XVFB_PID" 2>/dev/null
    fi
    if [ -n "$QV_WORK" ] && [ -z "${QV_KEEP:-}" ]; then
        rm -rf "$QV_WORK"
    elif [ -n "$QV_WORK" ]; then
        echo "kept $QV_WORK" >&2
    fi
    exit "$rc"
}

# ---------------------------------------------------------------- processes

# Runs `wine args...` in the background in the current prefix. Sets QV_RUN to
# a handle for qv_wait_exit / qv_running; the exit code lands in a file.
QV_RUN_COUNT=0
qv_wine_bg() {
    QV_RUN_COUNT=$((QV_RUN_COUNT + 1))
    QV_RUN=$QV_WORK/run.$QV_RUN_COUNT
    rm -f "$QV_RUN.rc"
    (
        rc=0
        wine "$@" >"$QV_RUN.out" 2>"$QV_RUN.err" || rc=$?
        # Appears whole: a reader never sees the file before the code is in it.
        echo "$rc" >"$QV_RUN.rc.part" && mv -f "$QV_RUN.rc.part" "$QV_RUN.rc"
    ) &
    QV_JOBS+=($!)
}

# Runs `wine args...` in the foreground; prints its stdout, returns its code.
qv_wine() {
    wine "$@" 2>/dev/null | tr -d '\r'
    return "${PIPESTATUS[0]}"
}

qv_running() { [ ! -f "$1.rc" ]; }
qv_ended() { [ -f "$1.rc" ]; }

# Waits up to `seconds` for the run to end; prints its exit code. Fails when
# it is still running at the deadline.
qv_wait_exit() {
    local run=$1 seconds=$2
    qv_wait_until "$seconds" qv_ended "$run" || return 1
    cat "$run.rc"
}

# Checks that the run ended within `seconds` with exit code 0.
qv_expect_exit0() {
    local what=$1 run=$2 seconds=$3 rc
    if rc=$(qv_wait_exit "$run" "$seconds"); then
        if [ "$rc" = 0 ]; then qv_pass "$what (exit 0)"; else qv_fail "$what: exit code $rc"; fi
    else
        qv_fail "$what: still running after ${seconds}s"
    fi
}

# ---------------------------------------------------------------- windows

# X window id of the first visible window whose title is exactly `name`.
qv_window_id() {
    xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1
}

qv_has_window() { [ -n "$(qv_window_id "$1")" ]; }
qv_no_window() { [ -z "$(qv_window_id "$1")" ]; }

# Waits for a visible window titled `name`; prints its X id.
qv_wait_window() {
    local name=$1 seconds=${2:-20}
    qv_wait_until "$seconds" qv_has_window "$name" || return 1
    qv_window_id "$name"
}

# "WxH+X+Y" of an X window, in root coordinates.
qv_window_geometry() {
    local info
    info=$(xwininfo -id "$1" 2>/dev/null) || return 1
    local x y w h
    x=$(awk '/Absolute upper-left X/ { print $4 }' <<<"$info")
    y=$(awk '/Absolute upper-left Y/ { print $4 }' <<<"$info")
    w=$(awk '/Width:/ { print $2 }' <<<"$info")
    h=$(awk '/Height:/ { print $2 }' <<<"$info")
    echo "${w}x${h}+${x}+${y}"
}

# ---------------------------------------------------------------- input

qv_key() { xdotool key --clearmodifiers "$1"; }
qv_click() { xdotool click "$1"; }
qv_mouse_to() { xdotool mousemove "$1" "$2"; }

# ---------------------------------------------------------------- pictures

qv_screenshot() { import -window root "$1" 2>/dev/null; }

# Number of pixels in `file` (optionally only inside geometry WxH+X+Y) whose
# brightest channel exceeds `level` (0..255, default 24).
qv_lit_pixels() {
    local file=$1 geometry=${2:-} level=${3:-24}
    local crop=()
    [ -n "$geometry" ] && crop=(-crop "$geometry" +repage)
    convert "$file" "${crop[@]}" -channel RGB -separate -evaluate-sequence max \
        -threshold "$(awk -v l="$level" 'BEGIN { printf "%.4f%%", l * 100 / 255 }')" \
        -format '%[fx:round(mean*w*h)]' info: 2>/dev/null
}

# Number of pixels that differ between two pictures of the same size.
qv_diff_pixels() {
    local out
    out=$(compare -metric AE "$1" "$2" null: 2>&1 >/dev/null) || true
    # compare prints e.g. "1234" or "1.234e+06".
    awk '{ printf "%d\n", $1 }' <<<"$out"
}

# Writes the pixel rows of a picture as plain text, one "x y r g b" per line
# of the pixels brighter than `level`: for small shape analyses in awk.
qv_lit_list() {
    local file=$1 geometry=${2:-} level=${3:-24}
    local crop=()
    [ -n "$geometry" ] && crop=(-crop "$geometry" +repage)
    convert "$file" "${crop[@]}" -depth 8 txt:- 2>/dev/null |
        awk -F'[,:() ]+' -v l="$level" 'NR > 1 { if ($3 > l || $4 > l || $5 > l) print $1, $2, $3, $4, $5 }'
}

# ---------------------------------------------------------------- registry

# qv_reg_set 'Software\Quorvex' Name [REG_SZ] data   (HKCU, current prefix)
qv_reg_set() {
    local key=$1 name=$2 type=REG_SZ data
    if [ $# -ge 4 ]; then
        type=$3
        data=$4
    else
        data=$3
    fi
    wine reg add "HKCU\\$key" /v "$name" /t "$type" /d "$data" /f >/dev/null 2>&1
}

# Several values at once: qv_reg_settings Name=value ... under Software\Quorvex
# as REG_SZ, through one regedit import.
qv_reg_settings() {
    local file=$QV_WORK/settings.$RANDOM.reg pair
    {
        printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Quorvex]\r\n'
        for pair in "$@"; do
            printf '"%s"="%s"\r\n' "${pair%%=*}" "${pair#*=}"
        done
    } >"$file"
    wine regedit /S "$(winepath -w "$file" 2>/dev/null)" >/dev/null 2>&1
}

# Raw value lines of a REGEDIT4 file for HKCU\Software\Quorvex, e.g.
#   qv_reg_import '"ShowFPS"=dword:00000001' '"Trace"=hex:30'
qv_reg_import() {
    local file=$QV_WORK/import.$RANDOM.reg line
    {
        printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Quorvex]\r\n'
        for line in "$@"; do printf '%s\r\n' "$line"; done
    } >"$file"
    wine regedit /S "$(winepath -w "$file" 2>/dev/null)" >/dev/null 2>&1
}

# Prints the data of a value, empty when it is missing.
qv_reg_query() {
    wine reg query "HKCU\\$1" /v "$2" 2>/dev/null | tr -d '\r' |
        awk -v n="$2" '$1 == n { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'
}

# ---------------------------------------------------------------- dialog and password helpers
# (used by dialog_*_test.sh and password_*_test.sh)

# A private copy of Quorvex.scr in a directory of its own, so that stand-ins
# for system modules can sit beside it: qv_app_dir [built-file=name ...]
# copies each named file of the bin dir in under the given name. Prints the
# directory.
qv_app_dir() {
    local dir pair
    dir=$(mktemp -d "$QV_WORK/app.XXXXXX")
    cp "$QV_SCR" "$dir/Quorvex.scr"
    for pair in "$@"; do
        cp "$QV_BIN/${pair%%=*}" "$dir/${pair#*=}"
    done
    echo "$dir"
}

# Sends what the shell opens for mailto:, http: and https: in the current
# prefix to dialog_driver.exe, which appends each target as a line to
# `file`, instead of a mail program or browser.
qv_record_urls() {
    local file=$1 proto command
    command="\"$(winepath -w "$QV_BIN/dialog_driver.exe" 2>/dev/null)\" record \"$(winepath -w "$file" 2>/dev/null)\" \"%1\""
    for proto in mailto http https; do
        wine reg add "HKCR\\$proto\\shell\\open\\command" /ve /d "$command" /f >/dev/null 2>&1
    done
}

# Runs dialog_driver.exe with the given commands; prints its lines.
qv_inspect() { qv_wine "$QV_BIN/dialog_driver.exe" "$@"; }

# qv_expect_same what actual expected: passes when the two texts are equal,
# otherwise fails and shows the difference.
qv_expect_same() {
    if [ "$2" = "$3" ]; then
        qv_pass "$1"
    else
        qv_fail "$1"
        diff <(echo "$3") <(echo "$2") | sed 's/^/      /' || true
    fi
}

# "Name TYPE data" of every value under HKCU\<key>, sorted by name; empty
# when the key is missing.
qv_reg_values() {
    wine reg query "HKCU\\$1" 2>/dev/null | tr -d '\r' |
        awk 'NF >= 2 && $2 ~ /^REG_/ { print $1, $2, $3 }' | LC_ALL=C sort
}

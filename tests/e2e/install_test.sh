#!/usr/bin/env bash
# Shipping for Windows: the savers and tools load on Windows XP (imports,
# subsystem version, size), the 64-bit tool computes the native frames, and
# the installer installs, registers, runs and removes Quorvex in a 64-bit and
# a 32-bit prefix. Arguments as every script here; the 64-bit tree and the
# installer are found beside the 32-bit tree (build/win64, build/).
source "$(dirname "$0")/lib.sh"
qv_init "$@"
BUILD=$(cd "$QV_BIN/../.." && pwd)
W64=$BUILD/win64/bin
VERSION=$(sed -n 's/^project(Quorvex VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../../CMakeLists.txt")
SETUP=$BUILD/QuorvexSetup-$VERSION.exe
for f in "$W64/Quorvex.scr" "$W64/quorvex.exe" "$SETUP" "$QV_NATIVE"; do
    [ -f "$f" ] || { echo "missing $f: run scripts/build.sh" >&2; exit 1; }
done

# What a Windows XP SP3 loader lacks: Vista's tick count, condition variables,
# SRW locks, fiber-local storage, one-time init, locale-name (...Ex) calls,
# DPI functions (DPI awareness lives in the manifest) and later registry
# calls; also every DLL but XP's own, and the *_s functions of Vista's msvcrt.
POST_XP='GetTickCount64|QueryUnbiasedInterruptTime|GetSystemTimePreciseAsFileTime|InitializeConditionVariable'
POST_XP+='|SleepConditionVariable(CS|SRW)|Wake(All)?ConditionVariable|InitializeSRWLock|(Try)?(Acquire|Release)SRWLock.*'
POST_XP+='|Fls(Alloc|Free|GetValue|SetValue)|InitOnce.*|Create(Event|Mutex|Semaphore|WaitableTimer)Ex[AW]'
POST_XP+='|InitializeCriticalSectionEx|(Get|Enum)[A-Za-z]*(Locale|Format|Languages)Ex|(CompareString|LCMapString)Ex'
POST_XP+='|[A-Za-z]*LocaleName[A-Za-z]*|LCIDToLocaleName|Get[A-Za-z]*PreferredUILanguages|SetThreadPreferredUILanguages'
POST_XP+='|[A-Za-z]*(DPIAware|DpiAwareness)[A-Za-z]*|[A-Za-z]*ForDpi|GetDpiFor[A-Za-z]*|EnableNonClientDpiScaling'
POST_XP+='|ChangeWindowMessageFilter(Ex)?|Reg(GetValue|SetKeyValue|DeleteTree|DeleteKeyEx|LoadMUIString)[AW]'
POST_XP+='|QueryFullProcessImageName[AW]|GetFinalPathNameByHandle[AW]|WaitOnAddress|WakeByAddress.*|GetErrorMode'
XP_DLLS='kernel32|user32|gdi32|advapi32|shell32|comctl32|comdlg32|ole32|oleaut32|version|winmm|msvcrt'

check_binary() { # file pe-format highest-subsystem-version(major*100+minor) max-bytes
    local f=$1 name=${1#"$BUILD"/} dump imports bad
    dump=$(objdump -p "$f" 2>/dev/null) || true
    imports=$(awk '/DLL Name:/ { dll = tolower($3) } /^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_]/ { print dll, $3 }' <<<"$dump")
    local pe=no
    grep -q "file format $2\$" <<<"$dump" && grep -q '^kernel32.dll ' <<<"$imports" && pe=yes
    qv_check "$name: a $2 importing from kernel32 ($(wc -l <<<"$imports") imports)" test $pe = yes
    bad=$(awk -v f="^($POST_XP)\$" -v d="^($XP_DLLS)\\\\.dll\$" \
        '$2 ~ f || $1 !~ d || ($1 == "msvcrt.dll" && $2 ~ /_s$/) { printf " %s:%s", $1, $2 }' <<<"$imports")
    qv_check "$name: nothing imported that Windows XP lacks${bad:+ (found$bad)}" test -z "$bad"
    local ver
    ver=$(awk '/^Major(Subsystem|OSystem)Version/ { M = $2 } /^Minor(Subsystem|OSystem)Version/ { v = M * 100 + $2; if (v > m) m = v } END { print m + 0 }' <<<"$dump")
    qv_check "$name: subsystem and OS version $ver at most $3" test "$ver" -gt 0 -a "$ver" -le "$3"
    qv_check "$name: $(stat -c %s "$f") bytes, at most $4" test "$(stat -c %s "$f")" -le "$4"
}
check_binary "$QV_BIN/Quorvex.scr" pei-i386 501 409600
check_binary "$QV_BIN/quorvex.exe" pei-i386 501 2000000
check_binary "$W64/Quorvex.scr" pei-x86-64 502 409600
check_binary "$W64/quorvex.exe" pei-x86-64 502 2000000
check_binary "$SETUP" pei-i386 501 2000000

qv_start_xvfb
WINE64=/usr/lib/wine/wine64
QV_TEMPLATE=$QV_TEMPLATE-win64 QV_WINEARCH=win64 qv_new_prefix

# The 64-bit tool against the native one, byte for byte; OUT is the frame file.
parity() { # label args...
    local label=$1 n=$QV_WORK/n.txt w=$QV_WORK/w.txt
    shift
    rm -f "$QV_WORK"/[nw].*
    "$QV_NATIVE" "${@/#OUT/$QV_WORK/n.ppm}" >"$n" 2>/dev/null || true
    "$WINE64" "$W64/quorvex.exe" "${@/#OUT/Z:$QV_WORK/w.ppm}" 2>/dev/null | tr -d '\r' >"$w" || true
    case "$*" in *OUT*) n=$QV_WORK/n.ppm w=$QV_WORK/w.ppm ;; esac
    qv_check "64-bit $label: identical ($(wc -c <"$n" 2>/dev/null) bytes)" eval '[ -s "$n" ] && cmp -s "$n" "$w"'
}
parity "shapes (the list)" shapes
parity "shapes 11" shapes 11
parity "trace, fire" render --size 320x240 --seed 7 --frames 150 --frame-ms 30 --out OUT
parity "diffusion, grey, 3D" render --size 301x199 --seed 123456789 --frames 400 --frame-ms 33 \
    --set TraceModeInd=1 --set HuesOfGray=1 --set Move3D=1 --set TraceLength=3 --out OUT
parity "simple, mixed points, late tick" render --size 640x480 --seed 4000000000 --frames 700 \
    --frame-ms 16 --set TraceModeInd=0 --set UnSortPoints=1 --start-tick 4294967000 --out OUT

UNINST='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvex'
SYS_SCR='C:\windows\system32\Quorvex.scr'
gone() { [ ! -e "$1/Quorvex.scr" ] && [ ! -e "$2" ] && ! wine reg query "$UNINST" $3 >/dev/null 2>&1; }
drawing() { qv_screenshot "$QV_WORK/s.png" && [ "$(qv_lit_pixels "$QV_WORK/s.png")" -gt 100 ]; }

install_case() { # arch launcher registry-view saver-built SCRNSAVE.EXE-set-before-uninstall
    local arch=$1 launcher=$2 view=$3 built=$4 other=$5 sys=$WINEPREFIX/drive_c/windows/system32
    local dir="$WINEPREFIX/drive_c/Program Files/Quorvex" got rc
    qv_reg_settings MouseSens=0
    qv_wine_bg "$SETUP" /S
    qv_expect_exit0 "$arch: silent install" "$QV_RUN" 120
    qv_check "$arch: the built saver in the real System32" cmp -s "$built" "$sys/Quorvex.scr"
    qv_check "$arch: nothing in SysWOW64" test ! -e "$sys/../syswow64/Quorvex.scr"
    got=$(wine reg query "$UNINST" $view 2>/dev/null | tr -d '\r' |
        awk '$2 ~ /^REG_/ { n = $1; $1 = $2 = ""; sub(/^ +/, ""); print n "=" $0 }') || true
    qv_expect_same "$arch: Add/Remove Programs entry" "$(grep -E '^(Display|Publisher|.*Uninstall)' <<<"$got")" \
        "$(printf '%s\n' "DisplayIcon=$SYS_SCR,0" 'DisplayName=Quorvex Screen Saver' "DisplayVersion=$VERSION" \
            'Publisher=The Quorvex authors' 'QuietUninstallString="C:\Program Files\Quorvex\Uninstall.exe" /S' \
            'UninstallString="C:\Program Files\Quorvex\Uninstall.exe"')"
    local kb=$(($(sed -n 's/^EstimatedSize=//p' <<<"$got") + 0))
    qv_check "$arch: EstimatedSize $kb KiB covers the saver" test $((kb * 1024)) -ge "$(stat -c %s "$built")" -a "$kb" -lt 2048
    [ -z "$view" ] || qv_check "$arch: no entry in the 32-bit registry view" eval '! wine reg query "$UNINST" >/dev/null 2>&1'
    qv_expect_same "$arch: the current screen saver" "$(qv_reg_query 'Control Panel\Desktop' SCRNSAVE.EXE)" "$SYS_SCR"

    qv_mouse_to 400 300
    ( "$launcher" "$SYS_SCR" /s >/dev/null 2>&1; echo $? >"$QV_WORK/saver.rc" ) &
    QV_JOBS+=($!)
    if qv_wait_window "Quorvex Screen Saver" 30 >/dev/null; then
        qv_check "$arch: the installed saver draws" qv_wait_until 10 drawing
        qv_key Return
        qv_wait_until 15 test -s "$QV_WORK/saver.rc" && rc=$(cat "$QV_WORK/saver.rc") || rc=running
        qv_check "$arch: a key ends it (exit $rc)" test "$rc" = 0
    else
        qv_fail "$arch: the installed saver showed no window"
    fi

    [ -z "$other" ] || qv_reg_set 'Control Panel\Desktop' SCRNSAVE.EXE "$other"
    qv_wine_bg 'C:\Program Files\Quorvex\Uninstall.exe' /S
    qv_expect_exit0 "$arch: silent uninstall" "$QV_RUN" 60
    # The uninstaller finishes from a copy of itself in the temp folder.
    qv_check "$arch: saver, uninstaller and entry gone" qv_wait_until 30 gone "$sys" "$dir" "$view"
    qv_expect_same "$arch: SCRNSAVE.EXE afterwards" "$(qv_reg_query 'Control Panel\Desktop' SCRNSAVE.EXE)" "$other"
    qv_expect_same "$arch: the user's settings stay" "$(qv_reg_query 'Software\Quorvex' MouseSens)" 0
    qv_drop_prefix
}
install_case win64 "$WINE64" /reg:64 "$W64/Quorvex.scr" ''
QV_TEMPLATE=$QV_TEMPLATE-win32 QV_WINEARCH=win32 qv_new_prefix
install_case win32 wine '' "$QV_BIN/Quorvex.scr" 'C:\windows\system32\other.scr'
qv_finish

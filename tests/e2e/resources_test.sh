#!/usr/bin/env bash
# The resources of the built Quorvex.scr, read back as a data file: both
# string tables, what LoadStringA hands an English and a Russian user, the
# description, the icon, the DPI manifest and the version record.
source "$(dirname "$0")/lib.sh"
qv_init "$@"
qv_new_prefix
SCR_WIN=$(winepath -w "$QV_SCR" 2>/dev/null)

qv_wine "$QV_BIN/resource_reader.exe" "$SCR_WIN" >"$QV_WORK/en.txt" || qv_fail "resource_reader (English) failed"
LANG=ru_RU.UTF-8 LC_ALL=ru_RU.UTF-8 qv_wine "$QV_BIN/resource_reader.exe" "$SCR_WIN" >"$QV_WORK/ru.txt" ||
    qv_fail "resource_reader (Russian) failed"

has() { # file line
    grep -qxF -- "$2" "$1"
}
expect() { # file line
    qv_check "$(basename "$1" .txt): $2" has "$1" "$2"
}

en=$QV_WORK/en.txt
ru=$QV_WORK/ru.txt
expect "$en" "loaded yes"

english=("Quorvex Screen Saver" "Unable to register Window Class!" "Unable to create a Window!" " fps" "ABOUT_E"
         "Simple" "Diffusion" "Fire")
russian=("Quorvex Screen Saver" "Невозможно зарегистрировать окно!" "Невозможно создать окно!" " кадр/с" "ABOUT"
         "Простой" "Растворение" "Пламя")
for id in 1 2 3 4 5 6 7 8; do
    expect "$en" "string 1033 $id ${english[id - 1]}"
    expect "$en" "string 1049 $id ${russian[id - 1]}"
done
expect "$en" "string 1033 100 Quorvex Screen Saver"
expect "$en" "string 1049 100 Quorvex Screen Saver"

# LoadStringA: the English table for an English user; the Russian one, in
# code page 1251, for a Russian user.
hex() { printf '%s' "$1" | iconv -f UTF-8 -t "$2" | od -An -tx1 | tr -d ' \n'; }
expect "$en" "acp 1252"
expect "$ru" "acp 1251"
for id in 1 2 3 4 5 6 7 8; do
    expect "$en" "loadstring $id $(hex "${english[id - 1]}" CP1252)"
    expect "$ru" "loadstring $id $(hex "${russian[id - 1]}" CP1251)"
done

expect "$en" "description Quorvex Screen Saver"
expect "$en" "description_bytes 40"
expect "$en" "icon MAINICON yes"
expect "$en" "manifest_dpi_awareness PerMonitorV2, PerMonitor"
expect "$en" "manifest_dpi_aware true"
expect "$en" "version_file 4.4.3.1"
expect "$en" "version_product 4.4.3.1"
expect "$en" "version FileDescription Quorvex Screen Saver v4.4"
expect "$en" "version OriginalFilename Quorvex.scr"
expect "$en" "version InternalName Quorvex.scr"
expect "$en" "version FileVersion 4.4.3.1"

# A GUI program, 32-bit, with no DLL beyond the system's own.
headers=$(i686-w64-mingw32-objdump -p "$QV_SCR" 2>/dev/null)
qv_check "Quorvex.scr is a 32-bit PE" grep -q 'file format pei-i386' <<<"$headers"
qv_check "Quorvex.scr is a GUI program" grep -q 'Subsystem.*(Windows GUI)' <<<"$headers"
deps=$(i686-w64-mingw32-objdump -p "$QV_SCR" 2>/dev/null | awk '/DLL Name:/ { print tolower($3) }' | sort -u | tr '\n' ' ')
extra=$(tr ' ' '\n' <<<"$deps" | grep -v -E '^(kernel32|user32|gdi32|advapi32|shell32|comctl32|msvcrt)\.dll$' | grep . || true)
qv_check "only system DLLs are imported ($deps)" test -z "$extra"

qv_finish

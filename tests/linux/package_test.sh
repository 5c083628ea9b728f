#!/usr/bin/env bash
# The Debian package of this build: files, fields, lintian, and the tool, the xscreensaver hack, its
# settings file and the manual page taken out of it with dpkg-deb -x (nothing is installed). For another
# architecture's package, QUORVEX_EMULATOR runs its programs (qemu-aarch64-static -L /usr/aarch64-linux-gnu).
source "$(dirname "$0")/lib.sh"
VERSION=$(sed -n 's/^project(Quorvex VERSION \([0-9.]*\).*/\1/p' "$HERE/../../CMakeLists.txt")
# The packages scripts/build.sh made after this build of the tool, and nothing lintian would say of them.
CHANGES=${QUORVEX_CHANGES:-$HERE/../../build/deb/quorvex_${VERSION}-1_$(dpkg --print-architecture).changes}
DEB=${CHANGES%.changes}.deb
[ "$DEB" -nt "$QUORVEX" ] || { fail "no package newer than $QUORVEX: run scripts/build.sh" && finish; }
[ -f "${DEB/quorvex_/quorvex-dbgsym_}" ] && grep -q " ${DEB##*/}$" "$CHANGES" || fail "changes: $(cat "$CHANGES")"
lintian --pedantic -I --fail-on error,warning,info,pedantic "$CHANGES" >"$WORK/lintian" 2>&1 ||
  fail "lintian: $(cat "$WORK/lintian")"
[ "$(dpkg-deb -c "$DEB" | awk '!/\/$/ {$3 = $4 = $5 = ""; print}' | tr -s ' ' | LC_ALL=C sort)" = \
"-rw-r--r-- root/root ./usr/share/doc/quorvex/changelog.Debian.gz
-rw-r--r-- root/root ./usr/share/doc/quorvex/copyright
-rw-r--r-- root/root ./usr/share/lintian/overrides/quorvex
-rw-r--r-- root/root ./usr/share/man/man6/quorvex.6.gz
-rw-r--r-- root/root ./usr/share/xscreensaver/config/quorvex.xml
-rwxr-xr-x root/root ./usr/bin/quorvex
lrwxrwxrwx root/root ./usr/libexec/xscreensaver/quorvex -> ../../bin/quorvex" ] || fail "files: $(dpkg-deb -c "$DEB")"
[[ $(dpkg-deb -f "$DEB" Depends) == *"libc6 (>="*libx11-6* ]] || fail "Depends: $(dpkg-deb -f "$DEB")"

read -ra RUN <<<"${QUORVEX_EMULATOR:-}"
dpkg-deb -x "$DEB" "${X:=$WORK/root}"
[ "$("${RUN[@]}" "$X/usr/bin/quorvex" --version)" = "quorvex $VERSION" ] || fail "--version"
start_x Xvfb -screen 0 320x240x24 -noreset
"${RUN[@]}" "$X/usr/libexec/xscreensaver/quorvex" -root -duration 1 -stats 2>"$WORK/err" &&
  grep -Eq ' [1-9][0-9]* frames' "$WORK/err" || fail "the hack as xscreensaver starts it: $(cat "$WORK/err")"

# Every argument quorvex.xml can pass is accepted (options are all read before
# --help-window is acted on), and every setting has a control.
python3 - "$X/usr/share/xscreensaver/config/quorvex.xml" >"$WORK/args" <<'PY' || fail "quorvex.xml does not parse"
import sys, xml.etree.ElementTree as ET
for el in ET.parse(sys.argv[1]).getroot().iter():
    for v in filter(None, (el.get(k) for k in ("arg", "arg-set", "arg-unset"))):
        print(*{v.replace("%", str(n)) for n in range(int(el.get("low", 0)), int(el.get("high", 0)) + 1)}, sep="\n")
PY
"${RUN[@]}" "$X/usr/bin/quorvex" $(<"$WORK/args") --help-window >/dev/null 2>"$WORK/err" || fail "quorvex.xml: $(cat "$WORK/err")"
for o in root trace{,-mode,-length} show-{fps,clock} hues-of-gray {primitive,mix}-points move-3d mouse-sens; do
  grep -Eq -- "^--(no-)?$o( |$)" "$WORK/args" || fail "quorvex.xml has no control for --$o"
done

# The manual page: every command and option the tool lists, the settings file, the environment, exit statuses.
LC_ALL=C MANWIDTH=2000 man --warnings -l "$X/usr/share/man/man6/quorvex.6.gz" >"$WORK/man" 2>"$WORK/manerr"
[ ! -s "$WORK/manerr" ] || fail "man: $(cat "$WORK/manerr")"
for word in $({ "$QUORVEX" --help; "$QUORVEX" --help-window; "$QUORVEX" config --help; "$QUORVEX" render --help; } |
  grep -o -- '--[a-z0-9-]*[a-z0-9]' | sort -u) config shapes render .config/quorvex/settings DISPLAY \
  XSCREENSAVER_WINDOW XDG_CONFIG_HOME LC_TIME "EXIT STATUS" ENVIRONMENT FILES; do
  grep -q -- "$word" "$WORK/man" || fail "the manual page does not mention $word"
done
finish

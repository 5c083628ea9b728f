#!/usr/bin/env bash
# The Debian packages scripts/build.sh made after this build of the tool: files, fields, lintian, and the tool, the
# xscreensaver hack, its settings file and the manual page taken out with dpkg-deb -x (nothing is installed). For
# another architecture's package, QUORVEX_EMULATOR runs its programs (qemu-aarch64-static -L /usr/aarch64-linux-gnu).
source "$(dirname "$0")/lib.sh"
VERSION=$(sed -n 's/^project(Quorvex VERSION \([0-9.]*\).*/\1/p' "$HERE/../../CMakeLists.txt")
CHANGES=${QUORVEX_CHANGES:-$HERE/../../build/deb/quorvex_${VERSION}-1_$(dpkg --print-architecture).changes}
DEB=${CHANGES%.changes}.deb
[ "$DEB" -nt "$QUORVEX" ] || { fail "no package newer than $QUORVEX: run scripts/build.sh" && finish; }
[ -f "${DEB/quorvex_/quorvex-dbgsym_}" ] && grep -q " ${DEB##*/}$" "$CHANGES" || fail "changes: $(cat "$CHANGES")"
lintian -I --pedantic --fail-on error,warning,info,pedantic "$CHANGES" &>"$WORK/l" || fail "lintian: $(<"$WORK/l")"
files=$(dpkg-deb -c "$DEB" | awk '!/\/$/ {print $1 ($2 == "root/root" ? "" : $2) ":" $6 $7 $8}' | LC_ALL=C sort | xargs)
want=$(printf '%s\n' lrwxrwxrwx:./usr/libexec/xscreensaver/quorvex-\>../../bin/quorvex -rwxr-xr-x:./usr/bin/quorvex \
  -rw-r--r--:./usr/share/{doc/quorvex/{changelog.Debian.gz,copyright},lintian/overrides/quorvex,man/man6/quorvex.6.gz} \
  -rw-r--r--:./usr/share/xscreensaver/config/quorvex.xml | LC_ALL=C sort | xargs)
[ "$files" = "$want" ] || fail "files: $files"
[[ $(dpkg-deb -f "$DEB" Depends) == *"libc6 (>="*libx11-6* ]] || fail "Depends: $(dpkg-deb -f "$DEB")"
! ldd "$QUORVEX" | grep -q libwayland-client ||
  [[ $(dpkg-deb -f "$DEB" Depends) == *libwayland-client0*libxkbcommon0* ]] || fail "Wayland: $(dpkg-deb -f "$DEB")"

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

# The manual page (lintian checks its groff): each command and option listed, settings file, environment, exit statuses.
LC_ALL=C MANWIDTH=2000 man -l "$X/usr/share/man/man6/quorvex.6.gz" >"$WORK/man"
for word in $({ "$QUORVEX" --help; "$QUORVEX" --help-window; "$QUORVEX" config --help; "$QUORVEX" render --help; } |
  grep -o -- '--[a-z0-9-]*[a-z0-9]' | sort -u) config shapes render .config/quorvex/settings DISPLAY \
  XSCREENSAVER_WINDOW WAYLAND_DISPLAY swayidle XDG_CONFIG_HOME LC_TIME "EXIT STATUS" ENVIRONMENT FILES; do
  grep -q -- "$word" "$WORK/man" || fail "the manual page does not mention $word"
done
finish

#!/usr/bin/env bash
# Makes quorvex_VERSION-1_ARCH.deb from a built quorvex with dpkg-deb:
# the tool, the xscreensaver hack (a link to it) and its settings file, the
# manual page and the Debian copyright and changelog. Depends is computed by
# dpkg-shlibdeps from the binary.
# Usage: build-deb.sh <quorvex binary> <output dir>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
binary=$1
out=$(mkdir -p "$2" && cd "$2" && pwd)
version=$(sed -n 's/^project(Quorvex VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
arch=$(dpkg --print-architecture)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
umask 022
stage=$work/src/debian/quorvex

install -D -m 755 "$binary" "$stage/usr/bin/quorvex"
strip --strip-unneeded --remove-section=.comment --remove-section=.note "$stage/usr/bin/quorvex"
mkdir -p "$stage/usr/libexec/xscreensaver"
ln -s ../../bin/quorvex "$stage/usr/libexec/xscreensaver/quorvex"
install -D -m 644 "$root/quorvex.xml" "$stage/usr/share/xscreensaver/config/quorvex.xml"
install -D -m 644 "$root/docs/quorvex.6" "$stage/usr/share/man/man6/quorvex.6"
install -D -m 644 "$here/copyright" "$stage/usr/share/doc/quorvex/copyright"
install -m 644 "$here/changelog" "$stage/usr/share/doc/quorvex/changelog.Debian"
gzip -9n "$stage/usr/share/man/man6/quorvex.6" "$stage/usr/share/doc/quorvex/changelog.Debian"

# dpkg-shlibdeps reads the package name from a debian/control beside it.
mkdir -p "$stage/DEBIAN"
printf 'Source: quorvex\n\nPackage: quorvex\nArchitecture: any\n' >"$work/src/debian/control"
depends=$(cd "$work/src" && dpkg-shlibdeps -O debian/quorvex/usr/bin/quorvex | sed -n 's/^shlibs:Depends=//p')
[ -n "$depends" ] || { echo "build-deb.sh: dpkg-shlibdeps found no dependencies" >&2; exit 1; }

size=$(du -k -s --apparent-size --exclude=DEBIAN "$stage" | cut -f1)
sed -e "s/@VERSION@/$version/" -e "s/@ARCH@/$arch/" -e "s/@SIZE@/$size/" -e "s/@DEPENDS@/$depends/" \
  "$here/control.in" >"$stage/DEBIAN/control"
(cd "$stage" && find usr -type f -print0 | sort -z | xargs -0 md5sum >DEBIAN/md5sums)
chmod 644 "$stage/DEBIAN/md5sums"
deb="$out/quorvex_${version}-1_${arch}.deb"
dpkg-deb --root-owner-group -Zxz --build "$stage" "$deb" >/dev/null
echo "$deb"

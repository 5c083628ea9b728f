#!/usr/bin/env bash
# Builds the tree (scripts/copy-tree.sh) twice with scripts/build.sh, dated at
# the last commit, and compares what build/dist/ gets, byte for byte. The
# second build differs from the first in directory (name and depth), user and
# group, HOME, umask, locale, time zone, clock (a year and a week ahead) and
# compiler cache: it keeps one of its own in build/repro/cache (none with
# --no-cache, the release check), so nothing compiled by the first reaches it.
# Usage: repro.sh [--no-cache] [tree already built by build.sh, as the first build]
# Exits non-zero when any artefact differs.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# At fixed places, so that the second build's own cache serves it next time.
work=$root/build/repro
rm -rf "$work/a" "$work/b" "$work/home"
export SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct)
copy() { bash "$root/scripts/copy-tree.sh" "$1"; }

cache=(CCACHE_DIR="$work/cache")
[ "${1:-}" = --no-cache ] && cache=(CCACHE_DISABLE=1) && shift
mkdir -p "$work/cache" && chown nobody:nogroup "$work/cache"
if [ -n "${1:-}" ]; then
  first=$(cd "$1" && pwd)
else
  first=$work/a/quorvex
  copy "$first"
  (umask 022 && TZ=UTC LC_ALL=C.UTF-8 LANG=C.UTF-8 bash "$first/scripts/build.sh" --dist) >"$work/a.log" 2>&1 ||
    { tail -n 30 "$work/a.log" >&2 && exit 1; }
fi

# The clock runs ahead, but files keep their dates (NO_FAKE_STAT), as on a
# machine whose clock is a year on.
second=$work/b/other/place/qv-tree
copy "$second"
mkdir -p "$work/home"
chown -R nobody:nogroup "$work/b" "$work/home"
(umask 002 && env -i PATH="$PATH" HOME="$work/home" USER=nobody LOGNAME=nobody TZ=Etc/GMT-14 \
  LC_ALL=ru_RU.UTF-8 LANG=ru_RU.UTF-8 NO_FAKE_STAT=1 SOURCE_DATE_EPOCH="$SOURCE_DATE_EPOCH" "${cache[@]}" \
  setpriv --reuid=nobody --regid=nogroup --clear-groups faketime -f +373d \
  bash "$second/scripts/build.sh" --dist) >"$work/b.log" 2>&1 || { tail -n 30 "$work/b.log" >&2 && exit 1; }

status=0
deb=$(cd "$first/build/deb" && ls quorvex-dbgsym_*.deb)
for f in $(cd "$first/build/dist" && LC_ALL=C find . -type f -printf '%P\n' | sort) "../deb/$deb"; do
  a=$first/build/dist/$f b=$second/build/dist/$f
  if cmp -s "$a" "$b"; then
    echo "identical  ${f#../deb/}  $(sha256sum <"$a" | cut -c1-16)"
  else
    echo "DIFFERS    ${f#../deb/}  ($(cmp -l "$a" "$b" 2>&1 | wc -l) bytes)"
    status=1
  fi
done
exit $status

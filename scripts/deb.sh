#!/usr/bin/env bash
# Builds the Debian packages with dpkg-buildpackage from a clean copy of the
# tree (scripts/copy-tree.sh), beside which it leaves them.
# Usage: deb.sh <output dir> [dpkg-buildpackage options, e.g. -aarm64]
# Prints the path of the .changes file.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "$1" && cd "$1" && pwd)
shift
version=$(dpkg-parsechangelog -l "$root/debian/changelog" -S Version)
tree=$out/quorvex-${version%-*}
rm -rf "$tree"
# ccache's base directory would hand the compiler relative source paths, which
# the debug information (and so the build ID) keeps: with it the package would
# depend on whether and where a cache was used.
export CCACHE_BASEDIR=
bash "$root/scripts/copy-tree.sh" "$tree"
(cd "$tree" && dpkg-buildpackage -us -uc -b "$@" >"$out/build.log" 2>&1) ||
  { tail -n 40 "$out/build.log" >&2 && exit 1; }
echo "$out/$(grep -o "quorvex_${version}_[a-z0-9]*\.changes" "$out/build.log" | tail -n 1)"

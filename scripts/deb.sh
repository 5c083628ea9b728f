#!/usr/bin/env bash
# Builds the Debian packages from a clean copy of the tree (the tracked files
# and new ones not ignored, so uncommitted edits are packaged too) with
# dpkg-buildpackage, which leaves them beside that copy.
# Usage: deb.sh <output dir> [dpkg-buildpackage options, e.g. -aarm64]
# Prints the path of the .changes file.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$(mkdir -p "$1" && cd "$1" && pwd)
shift
version=$(dpkg-parsechangelog -l "$root/debian/changelog" -S Version)
tree=$out/quorvex-${version%-*}
rm -rf "$tree"
mkdir -p "$tree"
git -C "$root" ls-files -z -co --exclude-standard | (cd "$root" && xargs -0 cp --parents -P -t "$tree")
(cd "$tree" && dpkg-buildpackage -us -uc -b "$@" >"$out/build.log" 2>&1) ||
  { tail -n 40 "$out/build.log" >&2 && exit 1; }
echo "$out/$(grep -o "quorvex_${version}_[a-z0-9]*\.changes" "$out/build.log" | tail -n 1)"

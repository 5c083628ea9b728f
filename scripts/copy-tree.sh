#!/usr/bin/env bash
# Copies the source tree to DEST: in a git checkout the tracked files and new
# ones not ignored (uncommitted edits included), elsewhere (a copy made by
# this script) everything but build/.
# Usage: copy-tree.sh <dest>
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd -P)
mkdir -p "$1"
dest=$(cd "$1" && pwd)
cd "$root"
# A copy inside a checkout's build/ is not that checkout.
if [ "$(git rev-parse --show-toplevel 2>/dev/null)" = "$root" ]; then
  git ls-files -z -co --exclude-standard
else
  find . -path ./build -prune -o ! -type d -printf '%P\0'
fi | xargs -0 cp --parents -P -t "$dest"

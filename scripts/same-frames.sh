#!/usr/bin/env bash
# Runs `quorvex shapes` and a table of `quorvex render` command lines through
# two builds of the tool and compares the outputs byte for byte: the hardware
# x86 build against one on the software extended type, or against the arm64
# build under an emulator.
#   bash scripts/same-frames.sh REFERENCE_TOOL OTHER_TOOL [EMULATOR ARGS...]
set -euo pipefail
ref=${1:?usage: same-frames.sh REFERENCE_TOOL OTHER_TOOL [EMULATOR ARGS...]}
other=${2:?usage: same-frames.sh REFERENCE_TOOL OTHER_TOOL [EMULATOR ARGS...]}
shift 2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0
compare() {  # name, then the arguments after the tool; FILE stands for the output
    local name=$1; shift
    local a=("${@//FILE/$work/a-$name.gif}") b=("${@//FILE/$work/b-$name.gif}")
    "$ref" "${a[@]}" >"$work/a-$name.out"
    if "${emulator[@]}" "$other" "${b[@]}" >"$work/b-$name.out" && cmp -s "$work/a-$name.out" "$work/b-$name.out" && { [ ! -e "$work/a-$name.gif" ] ||
        cmp -s "$work/a-$name.gif" "$work/b-$name.gif"; }; then
        passed=$((passed + 1))
    else
        echo "same-frames: $name differs: ${*}"
        failed=$((failed + 1))
    fi
}
emulator=("$@")
compare shapes shapes
# name, frames, frame period, size, then settings; each renders every frame into a GIF.
while read -r name frames ms size sets; do
    args=()
    for s in $sets; do args+=(--set "$s"); done
    [ "$name" != preview ] || args+=(--preview)
    [ "$name" != wrap ] || args+=(--start-tick 4294960000)
    compare "$name" render --size "$size" --seed 21 --frames "$frames" --frame-ms "$ms" "${args[@]}" --out FILE
done <<'TABLE'
simple      400 30 317x211  TraceModeInd=0 TraceLength=3
diffusion   400 30 320x200  TraceModeInd=1
fire        400 30 161x97   TraceModeInd=2 TraceLength=2
grey        300 30 240x135  HuesOfGray=1 TraceModeInd=2
plain       300 10 333x187  Trace=0 PrimitivePoints=0
move3d      600 30 256x160  Move3D=1 UnSortPoints=1 TraceModeInd=1
unsorted    300 10 200x120  Trace=0 UnSortPoints=1 HuesOfGray=1 Move3D=1
wrap        900 40 150x90   TraceModeInd=0 Move3D=1
long       3000 40 97x61    TraceModeInd=2 Move3D=1
preview     200 30 152x112  TraceModeInd=1
tiny        200 30 33x17    TraceModeInd=1
column      200 30 7x129    Trace=0
TABLE
echo "same-frames: $passed passed, $failed failed"
[ "$failed" -eq 0 ]

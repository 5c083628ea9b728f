#!/usr/bin/env bash
# Renders the pictures of the README (one per trace effect and one without
# trace) into docs/images with `quorvex render`. The renders are exact and
# repeatable: the same binary always gives the same files.
#   usage: scripts/readme-pictures.sh [path/to/quorvex]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bin=${1:-"$root/build/native/src/cli/quorvex"}
out="$root/docs/images"
mkdir -p "$out"

# Frames chosen by eye: a morph (hold 200 frames, morph 50 at 30 ms a frame)
# or the end of a hold, at different points of the colour cycle.
common=(--size 480x360 --seed 2024 --frame-ms 30)

"$bin" render "${common[@]}" --frames 225 --set TraceModeInd=0 --set TraceLength=3 --out "$out/trace-simple.png"
"$bin" render "${common[@]}" --frames 475 --set TraceModeInd=1 --set TraceLength=3 --out "$out/trace-diffusion.png"
"$bin" render "${common[@]}" --frames 690 --set TraceModeInd=2 --set TraceLength=2 --out "$out/trace-fire.png"
# Without trace the pause is 1.33 times shorter: frame 900 is mid-hold.
"$bin" render "${common[@]}" --frames 900 --set Trace=0 --set PrimitivePoints=0 --out "$out/trace-off.png"
echo "Wrote $out/trace-simple.png, trace-diffusion.png, trace-fire.png and trace-off.png"

#!/usr/bin/env bash
# Runs the libFuzzer targets of a fuzz build tree from their seed corpora.
#   bash fuzz/run.sh BUILD_DIR --short | --seconds S [NAME...]
# New inputs go to BUILD_DIR/fuzz/work/NAME; a breaking input to BUILD_DIR/fuzz/artifacts/NAME/ (exit non-zero).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:?usage: run.sh BUILD_DIR --short | --seconds S [NAME...]}
mode=${2:---short}
shift 2 || true
passed=0 failed=0 seconds= f=$build/fuzz
if [ "$mode" = --seconds ]; then seconds=${1:?--seconds needs a number}; shift; fi
# name, runs in the suite, longest input
while read -r name runs maxlen; do
    if [ $# -gt 0 ] && [[ " $* " != *" $name "* ]]; then continue; fi
    bin=$f/fuzz_$name work=$f/work/$name log=$f/$name.log artifacts=$f/artifacts/$name
    if [ ! -x "$bin" ]; then echo "fuzz: $name not built in $build" >&2; failed=$((failed + 1)); continue; fi
    mkdir -p "$work" "$artifacts"
    limit=-runs=$runs && [ -z "$seconds" ] || limit=-max_total_time=$seconds
    if "$bin" "$limit" -max_len="$maxlen" -print_final_stats=1 -artifact_prefix="$artifacts/" \
        "$work" "$here/corpus/$name" >"$log" 2>&1; then
        echo "fuzz: $name ok, $(awk '/stat::number_of_executed_units/ { print $NF }' "$log") inputs"; ((++passed))
    else
        echo "fuzz: $name FAILED (log $log, input in $artifacts/)"
        grep -E 'ERROR|property broken|SUMMARY' "$log" | head -20 || true; ((++failed))
    fi
done <<'TABLE'
decimal 1000000 64
extended 1000000 20
run_mode 100000 4096
settings_load 20000 16384
render_options 100000 4096
frontend_options 100000 4096
trace_bounded 20000 6200
TABLE
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]

#!/usr/bin/env bash
# quorvex.xml: well-formed, one control per setting, and every argument it
# can pass is an option `quorvex` accepts (with all values of the slider).
source "$(dirname "$0")/lib.sh"
XML="$HERE/../../quorvex.xml"

python3 - "$XML" >"$WORK/args" <<'PY' || { fail "quorvex.xml does not parse"; finish; }
import sys
import xml.etree.ElementTree as ET
root = ET.parse(sys.argv[1]).getroot()
assert root.tag == "screensaver"
for el in root.iter():
    for key in ("arg", "arg-set", "arg-unset"):
        value = el.get(key)
        if value is None:
            continue
        if "%" in value:
            for v in range(int(el.get("low")), int(el.get("high")) + 1):
                print(value.replace("%", str(v)))
        else:
            print(value)
PY
pass "quorvex.xml parses"

while read -r args; do
  # Options are read in full before --help-window is acted on, so this
  # checks them without a display.
  # shellcheck disable=SC2086
  if "$QUORVEX" $args --help-window >/dev/null 2>"$WORK/err"; then
    pass "accepted: $args"
  else
    fail "rejected: $args ($(cat "$WORK/err"))"
  fi
done <"$WORK/args"

for option in --trace --trace-mode --trace-length --show-fps --show-clock --hues-of-gray --primitive-points \
  --mix-points --move-3d --mouse-sens; do
  grep -Eq -- "(^| )--(no-)?${option#--}( |$)" "$WORK/args" && pass "covers $option" || fail "no control for $option"
done
grep -qx -- "--root" "$WORK/args" && pass "runs with --root" || fail "command is not --root"
finish

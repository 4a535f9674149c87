#!/usr/bin/env bash
# pelorin-cli --window on a display (Xvfb, SDL's X11 driver): the run is
# saved marked as a window run with the display's description, and history
# shows it as one beside an offscreen run.
# Usage: cli_window_run.sh PELORIN_CLI
set -euo pipefail
cli=$1
# A cross build's programs start through its emulator, named by PELORIN_EMULATOR.
read -ra emulator <<<"${PELORIN_EMULATOR:-}"
work=$(mktemp -d)
xvfb_pid=
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"
start_xvfb "$work" 1600x900x24

store=$work/results.sqlite
run() {
    "$@" >"$work/run.log" 2>&1 || { cat "$work/run.log"; echo "FAIL: $*"; exit 1; }
}
run env -u SDL_VIDEODRIVER "${emulator[@]}" "$cli" --window -b 3 --time 1 --label "xvfb screen" --store "$store"
run env SDL_VIDEODRIVER=offscreen "${emulator[@]}" "$cli" -b 3 --time 1 --store "$store"
"${emulator[@]}" "$cli" history --store "$store" | tee "$work/history.txt"
grep -Eq '^ +1 .* window +xvfb screen ' "$work/history.txt" || { echo "FAIL: run 1 is not shown as a window run"; exit 1; }
grep -Eq '^ +2 .* offscreen ' "$work/history.txt" || { echo "FAIL: run 2 is not shown as an offscreen run"; exit 1; }

"${emulator[@]}" "$cli" export 1 --store "$store" >"$work/window.json"
python3 - "$work/window.json" <<'PY'
import json, sys
doc = json.load(open(sys.argv[1]))
display = doc["system"]["display"]
print("window run:", doc["config"]["window"], doc["system"]["video_driver"], display)
assert doc["config"]["window"] is True, "not marked as a window run"
assert doc["system"]["video_driver"] == "x11", "not drawn through the X11 driver"
assert (display["width"], display["height"]) == (1600, 900), "not the display's size"
assert display["pixel_format"], "no pixel format"
PY
echo "PASS: the window run is stored as one, with its display, and history shows it"

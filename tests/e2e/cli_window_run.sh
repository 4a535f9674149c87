#!/usr/bin/env bash
# pelorin-cli --window on a display (Xvfb, SDL's X11 driver): the run is
# saved marked as a window run with the display's description, and history
# shows it as one beside an offscreen run.  Started from a terminal (a
# pseudo-terminal here), it keeps the result screen until Enter.
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
# From a terminal the window stays on the result screen after the last
# stage; Enter on the terminal saves and prints.
python3 - "$store" "$cli" "${emulator[@]}" <<'PY'
import os, pty, select, subprocess, sys, time
store, command = sys.argv[1], sys.argv[3:] + [sys.argv[2]]
master, slave = pty.openpty()
env = {k: v for k, v in os.environ.items() if k != "SDL_VIDEODRIVER"}
child = subprocess.Popen(command + ["--window", "-b", "3", "--time", "1", "--store", store],
                         stdin=slave, stdout=slave, stderr=slave, env=env, close_fds=True)
os.close(slave)
seen = b""
def read_for(seconds, until=None):
    global seen
    end = time.time() + seconds
    while time.time() < end and (until is None or until not in seen):
        ready, _, _ = select.select([master], [], [], 0.2)
        if ready:
            try:
                seen += os.read(master, 4096)
            except OSError:
                break
read_for(60, b"press Enter here")
assert b"The result screen stays in the window" in seen, seen.decode(errors="replace")
window = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Pelorin Benchmark Ver1.30$"],
                        capture_output=True, text=True).stdout.split()
read_for(2)
assert child.poll() is None and window, "the window did not stay: " + seen.decode(errors="replace")
assert b"saved as run" not in seen, "saved before Enter"
os.write(master, b"\n")
status = child.wait(timeout=30)
read_for(2)
text = seen.decode(errors="replace")
assert status == 0, "exit %d: %s" % (status, text)
assert "saved as run 3 in " + store in text, text
print("result screen kept until Enter, then saved as run 3")
PY
echo "PASS: the window run is stored as one, with its display, and history shows it"

#!/usr/bin/env bash
# pelorin.exe end to end under Wine in Xvfb, from the build folder: the
# title screen, whose pixels equal the composed pictures (the Linux build's
# title frame, as the pictures are our own pixel code); Enter, then every
# stage in order; the result screen with its nineteen figure lines and both
# processor names; Enter back to the title; Alt+F4, which exits 0.
# Screenshots of the title, Stage 1 and the result screen are left in
# SHOT_DIR.
# Usage: full_run_under_wine.sh PROGRAM BUILD_DIR COMPARE_TITLE RESULT_CHECK SHOT_DIR
set -euo pipefail
program=$1 build=$2 compare_title=$3 result_check=$4 shots=$5
source "$(dirname "${BASH_SOURCE[0]}")/wine_display.sh"
mkdir -p "$shots"
start_xvfb "$work" 1920x1080x24

cd "$build"
"${emulator[@]}" "$program" >"$work/pelorin.log" 2>&1 &
program_pid=$!
window=$(wait_for_window '^Pelorin Benchmark Ver1.30$' 60)
[ -n "$window" ] || { echo "FAIL: no window"; cat "$work/pelorin.log"; exit 1; }
size=$(xwininfo -id "$window" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}')
echo "window $window, client area $size"
[ "$size" = "1280x720" ] || { echo "FAIL: client area is $size, not 1280x720"; exit 1; }

# await_title: the title screen matches the composed pictures (the fades
# before it take a few seconds).
await_title() {
    for _ in $(seq 60); do
        window_shot "$window" "$work/title.png" 2>/dev/null || true
        if "${emulator[@]}" "$compare_title" "$work/title.png" . >"$work/compare.log" 2>&1; then
            cat "$work/compare.log"
            return 0
        fi
        sleep 0.5
    done
    cat "$work/compare.log"
    return 1
}
await_title || { echo "FAIL: the title screen never matched the composed pictures"; exit 1; }
cp "$work/title.png" "$shots/title.png"
# leave_title: Enter until the title screen gives way.  The logo fade's
# last frame looks like the title screen, and an Enter released before the
# fade has ended is discarded, as a person who pressed too early would see.
leave_title() {
    for _ in 1 2 3 4 5; do
        press "$window" Return
        sleep 1
        window_shot "$window" "$work/after.png" 2>/dev/null || true
        "${emulator[@]}" "$compare_title" "$work/after.png" . >/dev/null 2>&1 || return 0
    done
    return 1
}
leave_title || { echo "FAIL: Enter did not start the run"; exit 1; }
started=$SECONDS

# Stage 1 measures from about 2 s after the fade-out: its frames of text.
sleep 7
window_shot "$window" "$shots/stage1.png"

# Stages 1 to 6 take 12 s each, then the kernels of Stages 7 and 8 run
# inside one frame each; the result screen comes last.
found=no
sleep 60
while [ $((SECONDS - started)) -lt 480 ]; do
    kill -0 "$program_pid" 2>/dev/null || { echo "FAIL: the program ended during the stages"; cat "$work/pelorin.log"; exit 1; }
    window_shot "$window" "$work/results.png" 2>/dev/null || true
    if [ -s "$work/results.png" ] && "${emulator[@]}" "$result_check" "$work/results.png" >"$work/check.log" 2>&1; then
        found=yes
        break
    fi
    sleep 4
done
cat "$work/check.log" 2>/dev/null || true
[ "$found" = yes ] || { echo "FAIL: no complete result screen within 480 s"; exit 1; }
echo "result screen after $((SECONDS - started)) s"
cp "$work/results.png" "$shots/results.png"

press "$window" Return
await_title || { echo "FAIL: Enter on the result screen did not lead back to the title"; exit 1; }

press "$window" alt+F4
status=0
for _ in $(seq 100); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
wait "$program_pid" || status=$?
program_pid=
[ "$status" -eq 0 ] || { echo "FAIL: exit code $status after Alt+F4"; cat "$work/pelorin.log"; exit 1; }
echo "PASS: title, every stage, the result screen, the title again, exit code 0"

#!/usr/bin/env bash
# Starts the window program under Xvfb (the X11 driver) from RUN_DIR, checks
# the client area, the window's icon property and its window manager
# protocols (no _NET_WM_PING), waits for the title screen
# and compares it with the images in IMAGES_DIR composed, presses Enter,
# then closes the window as a window manager would and expects exit code 0.
# With DESKTOP_FILE, its StartupWMClass must be the window's WM_CLASS.
# Usage: title_under_xvfb.sh PROGRAM RUN_DIR IMAGES_DIR CLOSE_TOOL COMPARE_TOOL [DESKTOP_FILE]
set -euo pipefail
program=$1 run_dir=$2 images=$3 close_tool=$4 compare_tool=$5 desktop_file=${6:-}
# A cross build's programs start through its emulator, named by PELORIN_EMULATOR.
read -ra emulator <<<"${PELORIN_EMULATOR:-}"
source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"
start_work_folder
start_xvfb "$work" 1920x1080x24

cd "$run_dir"
"${emulator[@]}" "$program" >"$work/pelorin.log" 2>&1 &
program_pid=$!

window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Pelorin Benchmark Ver1.30$' | head -n1)
echo "window $window"
size=$(xwininfo -id "$window" | awk '/Width:/{w=$2} /Height:/{h=$2} END{print w "x" h}')
echo "client area $size"
[ "$size" = "1280x720" ] || { echo "FAIL: client area is $size, not 1280x720"; exit 1; }

# The window system keeps the icon only when it is small enough; then the
# property holds its size and pixels, drawn by xprop as text.
xprop -id "$window" _NET_WM_ICON >"$work/icon.txt"
head -n1 "$work/icon.txt"
grep -Eq 'Icon \([1-9][0-9]* x [1-9][0-9]*\)' "$work/icon.txt" || { echo "FAIL: the window has no icon"; exit 1; }
[ "$(tail -n +2 "$work/icon.txt" | tr -d ' \t\n' | wc -c)" -gt 0 ] || { echo "FAIL: the icon has no pixels"; exit 1; }
# While Stages 7 and 8 run their kernels the window cannot answer a window
# manager's pings, so it does not take part in that protocol: no window
# manager then offers to kill it.  Closing it still goes through
# WM_DELETE_WINDOW.
protocols=$(xprop -id "$window" WM_PROTOCOLS)
echo "$protocols"
case $protocols in
    *_NET_WM_PING*) echo "FAIL: the window answers _NET_WM_PING, which it cannot while the kernels run"; exit 1 ;;
    *WM_DELETE_WINDOW*) ;;
    *) echo "FAIL: the window does not take WM_DELETE_WINDOW"; exit 1 ;;
esac
if [ -n "$desktop_file" ]; then
    wm_class=$(xprop -id "$window" WM_CLASS | sed -n 's/.*= "[^"]*", "\([^"]*\)"$/\1/p')
    startup_class=$(sed -n 's/^StartupWMClass=//p' "$desktop_file")
    echo "WM_CLASS $wm_class, StartupWMClass $startup_class"
    [ -n "$wm_class" ] && [ "$wm_class" = "$startup_class" ] || { echo "FAIL: WM_CLASS does not match"; exit 1; }
fi

matched=no
for _ in $(seq 60); do
    import -window "$window" "$work/shot.png" 2>/dev/null || true
    if [ -s "$work/shot.png" ] && "${emulator[@]}" "$compare_tool" "$work/shot.png" "$images" >"$work/compare.log" 2>&1; then
        matched=yes
        break
    fi
    sleep 0.5
done
cat "$work/compare.log"
[ "$matched" = yes ] || { echo "FAIL: the title screen never matched the composed images"; exit 1; }

xdotool key --window "$window" Return
sleep 1
kill -0 "$program_pid" || { echo "FAIL: the program ended after Enter"; cat "$work/pelorin.log"; exit 1; }

"${emulator[@]}" "$close_tool" "$window"
status=0
for _ in $(seq 100); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
wait "$program_pid" || status=$?
program_pid=
cat "$work/pelorin.log"
[ "$status" -eq 0 ] || { echo "FAIL: exit code $status after closing the window"; exit 1; }
echo "PASS: title screen matched, Enter accepted, closed with exit code 0"

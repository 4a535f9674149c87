# Sourced by the end-to-end tests: start_xvfb WORK_DIR SCREEN starts Xvfb
# with a screen such as 1920x1080x24, waits until it names its display, and
# exports DISPLAY.  Its process id is left in xvfb_pid for the caller's
# clean-up, which start_work_folder can do.
# shellcheck shell=bash

# start_work_folder: a new folder in $work, removed when the test ends
# together with the Xvfb and the program it started (their process ids in
# xvfb_pid and program_pid).
start_work_folder() {
    work=$(mktemp -d)
    xvfb_pid= program_pid=
    trap end_work_folder EXIT
}
end_work_folder() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
start_xvfb() {
    local work=$1 screen=$2
    exec 5>"$work/display"
    Xvfb -displayfd 5 -screen 0 "$screen" -nolisten tcp >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
    DISPLAY=":$(head -n1 "$work/display")"
    export DISPLAY
}

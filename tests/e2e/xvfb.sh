# Sourced by the end-to-end tests: start_xvfb WORK_DIR SCREEN starts Xvfb
# with a screen such as 1920x1080x24, waits until it names its display, and
# exports DISPLAY.  Its process id is left in xvfb_pid for the caller's
# clean-up.
# shellcheck shell=bash
start_xvfb() {
    local work=$1 screen=$2
    exec 5>"$work/display"
    Xvfb -displayfd 5 -screen 0 "$screen" -nolisten tcp >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
    DISPLAY=":$(head -n1 "$work/display")"
    export DISPLAY
}

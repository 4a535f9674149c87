# Sourced by the Windows end-to-end tests: the Xvfb helpers of the Linux
# ones, Windows programs started through PELORIN_EMULATOR (cmake/wine_run.sh
# and its prefix), and screenshots of one window.  It makes the test's work
# folder, which goes at the end with the Xvfb and the program the test
# started (their ids in xvfb_pid and program_pid).
# shellcheck shell=bash
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/xvfb.sh"
read -ra emulator <<<"${PELORIN_EMULATOR:?the emulator that starts Windows programs}"
start_work_folder

# A wineserver and its desktop stay bound to the display they started on:
# one left by another test, whose Xvfb has gone, makes windows of the wrong
# size or none at all.  Each of these tests therefore has a server of its
# own (CTest runs them one at a time) and ends it before its Xvfb goes.
wine_prefix=${emulator[1]:?the Wine prefix after the emulator}
end_wineserver() {
    WINEPREFIX=$wine_prefix wineserver -k 2>/dev/null || true
    WINEPREFIX=$wine_prefix wineserver -w 2>/dev/null || true
}
end_wineserver
trap 'end_wineserver; end_work_folder' EXIT

# window_shot WINDOW FILE.png: the window's contents.  xwd takes a frame at
# once where import would take seconds while the frames spin.
window_shot() {
    xwd -silent -id "$1" >"$2.xwd" && convert "$2.xwd" "$2" && rm -f "$2.xwd"
}

# wait_for_window NAME SECONDS: the id of the first visible window so named.
# (Asked again and again: a search that meets a window Wine is just
# destroying fails.)
wait_for_window() {
    local deadline=$((SECONDS + $2)) id
    while [ "$SECONDS" -lt "$deadline" ]; do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.3
    done
    return 1
}

# press WINDOW KEY: the keyboard, as a person would type into the window.
press() {
    xdotool windowfocus --sync "$1" key "$2"
}

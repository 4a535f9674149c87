#!/usr/bin/env bash
# The program refuses to start, with exit code 2 and a message naming the
# problem, when there is no display or an image cannot be used.
# Usage: bad_start.sh BUILD_DIR
set -uo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# expect_refusal NAME PATTERN COMMAND...: exit code 2 and PATTERN on stderr.
expect_refusal() {
    local name=$1 pattern=$2
    shift 2
    "$@" >"$work/out" 2>"$work/err" </dev/null
    local status=$?
    if [ "$status" -ne 2 ] || ! grep -q -- "$pattern" "$work/err"; then
        echo "FAIL: $name: exit $status, stderr:"
        cat "$work/err"
        failures=$((failures + 1))
    else
        echo "ok: $name: $(head -n1 "$work/err")"
    fi
}

run_in() {  # run_in FOLDER: the program on the offscreen driver from FOLDER
    (cd "$1" && SDL_VIDEODRIVER=offscreen timeout 60 "$build/pelorin")
}

expect_refusal "no display" "no display" env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER \
    timeout 60 "$build/pelorin"

mkdir "$work/empty"
expect_refusal "missing wallpaper" "wp_1280x720.png\" in $work/empty cannot be used: file not found" \
    run_in "$work/empty"

mkdir "$work/damaged"
cp "$build"/*.png "$work/damaged/"
head -c 3000 "$build/wp_1280x720.png" >"$work/damaged/wp_1280x720.png"
expect_refusal "truncated wallpaper" "wp_1280x720.png\" in $work/damaged cannot be used: damaged" \
    run_in "$work/damaged"

mkdir "$work/small"
cp "$build"/*.png "$work/small/"
cp "$build/sprite.png" "$work/small/tx_logo.png"
expect_refusal "logo sheet too small" "tx_logo.png.*at least 1004 x 655" run_in "$work/small"

mkdir "$work/text"
cp "$build"/*.png "$work/text/"
echo "not an image" >"$work/text/sprite.png"
expect_refusal "sprite sheet not a PNG" "sprite.png.*not a PNG" run_in "$work/text"

[ "$failures" -eq 0 ] || exit 1

#!/usr/bin/env bash
# The program refuses to start, with exit code 2 and a message naming the
# problem, when there is no display, an image cannot be used or no Japanese
# font is installed; pelorin-cli refuses the same font problem before it
# measures anything.
# Usage: bad_start.sh BUILD_DIR
set -uo pipefail
build=$1
# A cross build's programs start through its emulator, named by PELORIN_EMULATOR.
read -ra emulator <<<"${PELORIN_EMULATOR:-}"
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
    (cd "$1" && SDL_VIDEODRIVER=offscreen timeout 60 "${emulator[@]}" "$build/pelorin")
}

expect_refusal "no display" "no display" env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER \
    timeout 60 "${emulator[@]}" "$build/pelorin"

# A copy of the program in a folder of its own, without the images, started
# from another: the message names the working directory, the program's
# folder and the installed data folder beside it.
mkdir -p "$work/empty" "$work/alone/bin"
cp "$build/pelorin" "$work/alone/bin/"
expect_refusal "missing wallpaper" \
    "wp_1280x720.png\" is not in $work/empty (the working directory), $work/alone/bin (the program's folder) or $work/alone/share/pelorin (the installed data folder)" \
    env -C "$work/empty" SDL_VIDEODRIVER=offscreen timeout 60 "${emulator[@]}" "$work/alone/bin/pelorin"

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

# A FIFO in the wallpaper's place (a tarball can carry one) is refused, not waited on.
mkdir "$work/fifo"
cp "$build"/*.png "$work/fifo/"
rm "$work/fifo/wp_1280x720.png"
mkfifo "$work/fifo/wp_1280x720.png"
expect_refusal "wallpaper a FIFO" "wp_1280x720.png\" in $work/fifo cannot be used: it is not a regular file" \
    run_in "$work/fifo"

# fontconfig sees only DejaVu, which has no kana.
mkdir "$work/fontcache"
cat >"$work/fonts.conf" <<EOF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>/usr/share/fonts/truetype/dejavu</dir>
  <cachedir>$work/fontcache</cachedir>
</fontconfig>
EOF
without_japanese_font() {  # without_japanese_font PROGRAM ARGS...: from the build folder
    (cd "$build" && FONTCONFIG_FILE="$work/fonts.conf" SDL_VIDEODRIVER=offscreen timeout 60 "${emulator[@]}" "$build/$1" "${@:2}")
}
no_font="No Japanese font was found.*fonts-ipafont-gothic"
expect_refusal "no Japanese font" "^pelorin: $no_font" without_japanese_font pelorin
expect_refusal "pelorin-cli without a Japanese font" "^pelorin-cli: $no_font" \
    without_japanese_font pelorin-cli -b 1 --time 1

[ "$failures" -eq 0 ] || exit 1

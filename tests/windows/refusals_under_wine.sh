#!/usr/bin/env bash
# pelorin.exe refuses to start, with a message box that names the problem
# (and the same line on stderr) and exit code 2: from a folder without the
# pictures, with a copy of the program that has none beside it; and on a
# machine without a Shift_JIS face, in a Wine prefix of its own that sees
# no Japanese font.  A screenshot of the first box is left in SHOT_DIR.
# Usage: refusals_under_wine.sh PROGRAM BUILD_DIR SHOT_DIR
set -euo pipefail
program=$1 build=$2 shots=$3
source "$(dirname "${BASH_SOURCE[0]}")/wine_display.sh"
mkdir -p "$shots"
start_xvfb "$work" 1280x1024x24
failures=0

# expect_refusal NAME PATTERN SHOT COMMAND...: the box appears, is answered
# with Enter, and the program ends with exit code 2 and PATTERN on stderr.
expect_refusal() {
    local name=$1 pattern=$2 shot=$3
    shift 3
    "$@" >"$work/out" 2>"$work/err" </dev/null &
    local pid=$! box status=0
    box=$(wait_for_window '^Pelorin Benchmark$' 60 || true)
    if [ -n "$box" ]; then
        sleep 1
        [ -n "$shot" ] && window_shot "$box" "$shot"
        press "$box" Return
    fi
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill "$pid" 2>/dev/null || true
    wait "$pid" || status=$?
    if [ -z "$box" ] || [ "$status" -ne 2 ] || ! grep -q -- "$pattern" "$work/err"; then
        echo "FAIL: $name: box ${box:-none}, exit $status, stderr:"
        cat "$work/err"
        failures=$((failures + 1))
    else
        echo "ok: $name: $(head -n1 "$work/err")"
    fi
}

mkdir -p "$work/empty" "$work/alone"
cp "$program" "$work/alone/"
expect_refusal "no pictures" 'wp_1280x720.png" is not in .*(the working directory) or .*(the program.s folder)' \
    "$shots/no_pictures.png" env -C "$work/empty" "${emulator[@]}" "$work/alone/pelorin.exe"

# A prefix made and used only with this fontconfig: Wine keeps the fonts it
# once saw in the prefix's registry.
cat >"$work/fonts.conf" <<FONTS
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>/usr/share/fonts/truetype/dejavu</dir>
  <cachedir>$work/fontcache</cachedir>
</fontconfig>
FONTS
no_font_emulator=("${emulator[0]}" "$build/wineprefix-no-japanese-font")
expect_refusal "no Shift_JIS face" "No Japanese font was found (a face with the Shift_JIS character set" "" \
    env -C "$build" FONTCONFIG_FILE="$work/fonts.conf" "${no_font_emulator[@]}" "$program"

[ "$failures" -eq 0 ] || exit 1
echo "PASS: both refusals"

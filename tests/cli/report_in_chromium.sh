#!/usr/bin/env bash
# Opens the HTML report the pelorin-cli tests wrote in headless Chromium:
# the page must log nothing to the console, and its screenshot must show
# the bars (enough pixels of the light theme's bar colour).  A control page
# that does log an error shows that the console check can see one.
# Usage: report_in_chromium.sh REPORT.html OUTDIR
set -euo pipefail
report="$1"
out="$2"
mkdir -p "$out"
[ -s "$report" ] || { echo "no report at $report: did the pelorin-cli tests run?"; exit 1; }

# Prints the page's console lines, if any; the screenshot goes to $2.
console_of() {
    local profile
    profile=$(mktemp -d)
    chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run --disable-background-networking \
        --disable-component-update --disable-sync --user-data-dir="$profile" --enable-logging=stderr --v=0 \
        --hide-scrollbars --window-size=1000,2400 --screenshot="$2" "file://$1" 2>"$out/chromium.log" >/dev/null
    rm -rf "$profile"
    grep ':CONSOLE' "$out/chromium.log" || true
}

control="$out/console_control.html"
echo '<!DOCTYPE html><html><body><script>console.error("control")</script></body></html>' >"$control"
if [ -z "$(console_of "$control" "$out/control.png")" ]; then
    echo "the console check saw nothing on a page that logs an error"
    exit 1
fi

messages=$(console_of "$(realpath "$report")" "$out/report.png")
if [ -n "$messages" ]; then
    echo "the report logged to the console:"
    echo "$messages"
    exit 1
fi

# The bars are #2f6fb0 in the light theme, the one headless Chromium uses.
bar_pixels=$(convert "$out/report.png" -alpha off -fuzz 4% -fill black +opaque '#2f6fb0' -fill white -opaque '#2f6fb0' \
    -colorspace gray -format '%[fx:round(mean*w*h)]' info:)
echo "bar-coloured pixels in the screenshot: $bar_pixels"
if [ "$bar_pixels" -lt 3000 ]; then
    echo "the screenshot $out/report.png does not show the bars"
    exit 1
fi

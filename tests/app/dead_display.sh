#!/usr/bin/env bash
# A display that is named but cannot be opened (a server that is gone, an
# ssh session without forwarding) is refused by both programs in one line
# that names it, with exit code 2, before any window exists; neither falls
# back to SDL's offscreen driver and waits there unseen.
# Usage: dead_display.sh BUILD_DIR
set -uo pipefail
build=$1
# A cross build's programs start through its emulator, named by PELORIN_EMULATOR.
read -ra emulator <<<"${PELORIN_EMULATOR:-}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# A display number no X server has here.
number=$((5000 + RANDOM % 20000))
while [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ]; do number=$((number + 1)); done

# expect_refusal NAME PATTERN VARIABLES... -- PROGRAM ARGS...: exit code 2,
# one line matching PATTERN on stderr, and no word of the offscreen driver.
expect_refusal() {
    local name=$1 pattern=$2
    shift 2
    local variables=()
    while [ "$1" != "--" ]; do variables+=("$1"); shift; done
    shift
    (cd "$build" && env -u SDL_VIDEODRIVER -u DISPLAY -u WAYLAND_DISPLAY XDG_RUNTIME_DIR="$work" "${variables[@]}" \
        timeout 30 "${emulator[@]}" "$@" >"$work/out" 2>"$work/err" </dev/null)
    local status=$?
    if [ "$status" -ne 2 ] || ! grep -q -- "$pattern" "$work/err" || [ "$(wc -l <"$work/err")" -ne 1 ] ||
        grep -q offscreen "$work/err"; then
        echo "FAIL: $name: exit $status, stderr:"
        cat "$work/err"
        failures=$((failures + 1))
    else
        echo "ok: $name: $(cat "$work/err")"
    fi
}

dead="cannot open the display DISPLAY=:$number "
expect_refusal "pelorin on a dead X display" "^pelorin: $dead" DISPLAY=":$number" -- "$build/pelorin"
expect_refusal "pelorin-cli --window on a dead X display" "^pelorin-cli: $dead" DISPLAY=":$number" -- \
    "$build/pelorin-cli" --window -b 1 --time 1 --no-save
expect_refusal "pelorin on a Wayland display that is not there" \
    "^pelorin: cannot open the display WAYLAND_DISPLAY=nowhere-$number " WAYLAND_DISPLAY="nowhere-$number" -- \
    "$build/pelorin"

# Without --window pelorin-cli draws offscreen, whatever the display.
(cd "$build" && env -u SDL_VIDEODRIVER DISPLAY=":$number" timeout 60 "${emulator[@]}" "$build/pelorin-cli" \
    -b 1 --time 1 --no-save >"$work/out" 2>"$work/err" </dev/null)
status=$?
if [ "$status" -ne 0 ] || ! grep -q "video driver offscreen" "$work/err"; then
    echo "FAIL: pelorin-cli without --window on a dead display: exit $status"
    cat "$work/err"
    failures=$((failures + 1))
else
    echo "ok: pelorin-cli without --window draws offscreen"
fi

[ "$failures" -eq 0 ] || exit 1

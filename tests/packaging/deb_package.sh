#!/usr/bin/env bash
# Checks the .deb that packaging/make_deb.sh made in BUILD_DIR: its control
# fields, and its files through installed_files.sh.  In CI (CI=true, as
# root) it installs the package with apt-get, runs pelorin-cli from /, and
# removes it again, expecting none of its files left; elsewhere it checks
# the extracted tree (dpkg-deb -x) and runs pelorin-cli from there, which
# also shows that a relocated installation finds its images.
# Usage: deb_package.sh BUILD_DIR
set -uo pipefail
build=$1
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source=/dev/null
source "$build/packaging/deb.env"
deb=$build/pelorin_${PELORIN_VERSION}_${PELORIN_DEB_ARCH}.deb
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# A cross build's programs start through its emulator, named by PELORIN_EMULATOR.
read -ra emulator <<<"${PELORIN_EMULATOR:-}"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
[ -f "$deb" ] || { echo "FAIL: $deb was not made"; exit 1; }

for field in Package Version Architecture Maintainer Section Installed-Size Depends Description; do
    [ -n "$(dpkg-deb -f "$deb" "$field")" ] || fail "no $field field"
done
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
grep -q 'libsdl2-2.0-0' <<<"$depends" || fail "Depends lacks the SDL library"
grep -q 'fonts-ipafont-gothic | fonts-japanese-gothic' <<<"$depends" || fail "Depends lacks a Japanese font"
[ "$(dpkg-deb -f "$deb" Version)" = "$PELORIN_VERSION" ] || fail "Version is not $PELORIN_VERSION"

# run_cli ROOT: Stage 8 with a 1 s window, from /, as a user would.  The
# run is saved into a store of the test's own, never the user's.
run_cli() {
    (cd / && XDG_DATA_HOME="$work/data" timeout 600 "${emulator[@]}" "$1/usr/bin/pelorin-cli" -b 8 --time 1) \
        >"$work/cli.out" 2>"$work/cli.err"
    local status=$?
    if [ "$status" -ne 0 ] || ! grep -q 'ops/s' "$work/cli.out"; then
        fail "pelorin-cli -b 8 --time 1 from / exited $status"
        cat "$work/cli.out" "$work/cli.err"
    else
        echo "pelorin-cli from /: $(grep -c 'ops/s' "$work/cli.out") arithmetic figures"
    fi
    [ -s "$work/data/pelorin/results.sqlite" ] || fail "the run was not saved in the results store"
}

# A cross build's package is for another processor: it is only extracted.
if [ "${CI:-}" = true ] && [ ${#emulator[@]} -eq 0 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --reinstall "$deb" >"$work/apt.log" 2>&1 ||
        { cat "$work/apt.log"; fail "apt-get install"; }
    "$here/installed_files.sh" / "$build/packaging/deb.env" || fail "the installed files"
    run_cli ""
    dpkg-deb -c "$deb" | awk '{print substr($6, 2)}' | grep -v '/$' >"$work/files"
    dpkg -r pelorin >"$work/remove.log" 2>&1 || { cat "$work/remove.log"; fail "dpkg -r"; }
    while read -r f; do [ ! -e "$f" ] || fail "$f is left after dpkg -r"; done <"$work/files"
    for d in /usr/share/pelorin /usr/share/doc/pelorin; do [ ! -e "$d" ] || fail "$d is left after dpkg -r"; done
else
    dpkg-deb -x "$deb" "$work/root"
    "$here/installed_files.sh" "$work/root" "$build/packaging/deb.env" || fail "the extracted files"
    run_cli "$work/root"
fi

[ "$failures" -eq 0 ] || exit 1
echo "PASS: $deb"

#!/usr/bin/env bash
# Checks an installation under ROOT (a DESTDIR, or a package's extracted
# tree): every file is there, the desktop entry and the AppStream data pass
# their validators, both manual pages render without a warning, the options
# in pelorin-cli's manual page are those of its --help, an image in the
# working directory comes first, and the release numbers agree with the
# build's version.
# Usage: installed_files.sh ROOT DEB_ENV
set -uo pipefail
root=$(cd "$1" && pwd)
# shellcheck source=/dev/null
source "$2"
id=$PELORIN_APP_ID
man=$root/usr/share/man/man1
# A cross build's programs start through its emulator, named by PELORIN_EMULATOR.
read -ra emulator <<<"${PELORIN_EMULATOR:-}"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# A package keeps its manual pages and changelog compressed; an install does not.
gz=
[ -e "$man/pelorin.1.gz" ] && gz=.gz
expected=(
    usr/bin/pelorin usr/bin/pelorin-cli
    usr/share/pelorin/wp_1280x720.png usr/share/pelorin/tx_logo.png usr/share/pelorin/sprite.png
    "usr/share/applications/$id.desktop" "usr/share/metainfo/$id.metainfo.xml"
    "usr/share/icons/hicolor/48x48/apps/$id.png" "usr/share/icons/hicolor/64x64/apps/$id.png"
    "usr/share/icons/hicolor/128x128/apps/$id.png" "usr/share/icons/hicolor/256x256/apps/$id.png"
    "usr/share/man/man1/pelorin.1$gz" "usr/share/man/man1/pelorin-cli.1$gz"
    usr/share/doc/pelorin/README.md usr/share/doc/pelorin/copyright "usr/share/doc/pelorin/changelog$gz"
)
# Every document and picture the README links to.
while read -r link; do
    expected+=("usr/share/doc/pelorin/$link")
done < <(grep -o '](docs/[^)]*)' "$root/usr/share/doc/pelorin/README.md" | sed 's/^](//; s/)$//' | sort -u)
for f in "${expected[@]}"; do [ -s "$root/$f" ] || fail "missing $f"; done
for b in pelorin pelorin-cli; do [ -x "$root/usr/bin/$b" ] || fail "usr/bin/$b is not executable"; done
for size in 48 64 128 256; do
    got=$(identify -format '%wx%h' "$root/usr/share/icons/hicolor/${size}x${size}/apps/$id.png" 2>/dev/null)
    [ "$got" = "${size}x${size}" ] || fail "the ${size}x${size} icon is '$got'"
done

desktop-file-validate "$root/usr/share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"

for page in pelorin pelorin-cli; do
    warnings=$(MANWIDTH=80 man --warnings -l "$man/$page.1$gz" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man $page: $warnings"
done

# Each option line of --help starts with the option and its value name,
# as each tagged paragraph of the manual page's OPTIONS section does.
help_options=$("${emulator[@]}" "$root/usr/bin/pelorin-cli" --help | sed -E -n 's/^  (-[^ ]+( [A-Z]+)?(, -[^ ]+( [A-Z]+)?)?)  .*/\1/p')
man_options=$( (if [ -n "$gz" ]; then zcat "$man/pelorin-cli.1.gz"; else cat "$man/pelorin-cli.1"; fi) |
    sed -n '/^\.SH OPTIONS/,/^\.SH [^O]/p' | sed -n '/^\.TP/{n;p}' |
    sed -E -e 's/\\f[BIRP]//g' -e 's/\\-/-/g' -e 's/^\.B //')
if [ -z "$help_options" ] || [ "$help_options" != "$man_options" ]; then
    fail "pelorin-cli.1 and --help list different options"
    diff <(echo "$help_options") <(echo "$man_options")
fi
grep -q '^\.SH OPTIONS' <(zcat -f "$man/pelorin.1$gz") || fail "pelorin.1 has no OPTIONS section"

# An image in the working directory comes before the installed one: a
# broken sprite sheet there stops the installed program.
work=$(mktemp -d)
echo "not an image" >"$work/sprite.png"
(cd "$work" && SDL_VIDEODRIVER=offscreen timeout 60 "${emulator[@]}" "$root/usr/bin/pelorin" >/dev/null 2>"$work/err" </dev/null)
status=$?
grep -q "sprite.png\" in $work cannot be used" "$work/err" && [ "$status" -eq 2 ] ||
    { fail "the installed pelorin did not take sprite.png from the working directory (exit $status)"; cat "$work/err"; }
rm -rf "$work"

metainfo_release=$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$root/usr/share/metainfo/$id.metainfo.xml" | head -n1)
changelog_release=$(zcat -f "$root/usr/share/doc/pelorin/changelog$gz" | sed -n '1s/^pelorin (\([^)]*\)).*/\1/p')
[ "$metainfo_release" = "$PELORIN_VERSION" ] || fail "newest AppStream release $metainfo_release, version $PELORIN_VERSION"
[ "$changelog_release" = "$PELORIN_VERSION" ] || fail "newest changelog entry $changelog_release, version $PELORIN_VERSION"
cli_version=$("${emulator[@]}" "$root/usr/bin/pelorin-cli" --version)
[ "$cli_version" = "pelorin-cli $PELORIN_VERSION" ] || fail "pelorin-cli --version says '$cli_version', version $PELORIN_VERSION"

[ "$failures" -eq 0 ] || exit 1
echo "PASS: the installation under $root is complete and valid"

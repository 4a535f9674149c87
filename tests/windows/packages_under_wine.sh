#!/usr/bin/env bash
# The Windows packages made by CPack: what the zip holds; and the installer,
# which installs silently, registers its uninstaller and Apps & features
# entry, gives an installed program that shows its title when started from
# another folder, and uninstalls silently leaving nothing in Program Files,
# the Start menu or the registry.
# Usage: packages_under_wine.sh BUILD_DIR VERSION COMPARE_TITLE
set -euo pipefail
build=$1 version=$2 compare_title=$3
source "$(dirname "${BASH_SOURCE[0]}")/wine_display.sh"
# The display comes first: the installer's Wine starts the desktop that the
# installed program then opens its window on.
start_xvfb "$work" 1920x1080x24
prefix=${emulator[1]}
fail() { echo "FAIL: $*"; exit 1; }
name=pelorin-$version-windows-x64

# ---- the zip -------------------------------------------------------------
(cd "$work" && cmake -E tar tf "$build/$name.zip") | sort >"$work/zip.txt"
printf '%s\n' "$name/LICENSE.txt" "$name/README.md" "$name/pelorin.exe" "$name/sprite.png" "$name/tx_logo.png" \
    "$name/wp_1280x720.png" | sort >"$work/zip-expected.txt"
diff "$work/zip-expected.txt" "$work/zip.txt" || fail "the zip does not hold exactly the program, its images, the README and the licence"
echo "ok: $name.zip holds $(tr '\n' ' ' <"$work/zip.txt")"

# ---- the installer -------------------------------------------------------
program_files="$prefix/drive_c/Program Files/Pelorin Benchmark"
start_menu="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Pelorin Benchmark"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pelorin Benchmark'
registry() { "${emulator[@]}" reg "$@" 2>/dev/null | tr -d '\r'; }

"${emulator[@]}" "$build/$name-setup.exe" /S || fail "the silent install failed"
for file in pelorin.exe wp_1280x720.png tx_logo.png sprite.png README.md LICENSE.txt Uninstall.exe; do
    [ -f "$program_files/$file" ] || fail "$file is not in Program Files"
done
[ -f "$start_menu/Pelorin Benchmark.lnk" ] || fail "no Start-menu entry \"Pelorin Benchmark\""
registry query "$uninstall_key" >"$work/entry.txt" || fail "no Apps & features entry"
cat "$work/entry.txt"
for value in "DisplayName +REG_SZ +Pelorin Benchmark" "DisplayVersion +REG_SZ +$version" \
    "Publisher +REG_SZ +Pelorin Developers" "DisplayIcon +REG_SZ +C:.Program Files.Pelorin Benchmark.pelorin.exe" \
    "EstimatedSize +REG_DWORD +0x[0-9a-f]+" "UninstallString +REG_SZ +.C:.Program Files.Pelorin Benchmark.Uninstall.exe."; do
    grep -Eq "^ +$value\$" "$work/entry.txt" || fail "the entry has no $value"
done
echo "ok: installed silently, with its Start-menu entry and Apps & features entry"

# The installed program from another folder finds its images beside it.
mkdir "$work/elsewhere"
env -C "$work/elsewhere" "${emulator[@]}" 'C:\Program Files\Pelorin Benchmark\pelorin.exe' >"$work/pelorin.log" 2>&1 &
program_pid=$!
window=$(wait_for_window '^Pelorin Benchmark Ver1.30$' 60) || fail "the installed program shows no window: $(cat "$work/pelorin.log")"
matched=no
for _ in $(seq 60); do
    window_shot "$window" "$work/title.png" 2>/dev/null || true
    if "${emulator[@]}" "$compare_title" "$work/title.png" "$program_files" >"$work/compare.log" 2>&1; then
        matched=yes
        break
    fi
    sleep 0.5
done
cat "$work/compare.log"
[ "$matched" = yes ] || fail "the installed program's title never matched its images"
press "$window" alt+F4
status=0
wait "$program_pid" || status=$?
program_pid=
[ "$status" -eq 0 ] || fail "the installed program ended with exit code $status"
echo "ok: the installed program started from another folder shows its title and exits 0"

# The uninstaller returns at once and finishes from a copy of itself.
"${emulator[@]}" "$program_files/Uninstall.exe" /S || fail "the silent uninstall failed"
for _ in $(seq 120); do [ -e "$program_files" ] || [ -e "$start_menu" ] || break; sleep 0.5; done
[ ! -e "$program_files" ] || fail "left behind in Program Files: $(ls "$program_files")"
[ ! -e "$start_menu" ] || fail "left behind in the Start menu: $(ls "$start_menu")"
for key in "$uninstall_key" 'HKLM\Software\Pelorin Developers' 'HKCU\Software\Pelorin Developers'; do
    for _ in $(seq 20); do registry query "$key" >/dev/null || break; sleep 0.5; done
    ! registry query "$key" >/dev/null || fail "left behind in the registry: $key"
done
echo "PASS: zip contents, silent install, installed title, silent uninstall leaving nothing behind"

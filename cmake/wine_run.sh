#!/usr/bin/env bash
# Runs a Windows program of the build under Wine, in the prefix PREFIX, which
# it creates on first use (once, however many tests start at the same time).
# Wine keeps to the prefix: no menu entries in the user's home, no .NET or
# browser engine installed, no crash dialog waiting for a click, and none
# of its debug chatter.  The exit code is the program's, modulo 256.
# Usage: wine_run.sh PREFIX PROGRAM [ARGUMENTS...]
set -euo pipefail
prefix=$1
shift
export WINEPREFIX=$prefix
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
mkdir -p "$(dirname "$prefix")"
(
    flock 9
    if [ ! -f "$prefix/.pelorin-ready" ]; then
        # wineboot's own exit code says little; the prefix's registry does.
        wineboot --init >"$prefix.log" 2>&1 || true
        wineserver -w
        wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >>"$prefix.log" 2>&1 || {
            echo "wine_run.sh: the Wine prefix $prefix could not be made (see $prefix.log)" >&2
            exit 1
        }
        wineserver -w
        touch "$prefix/.pelorin-ready"
    fi
) 9>"$prefix.lock"
exec wine "$@"

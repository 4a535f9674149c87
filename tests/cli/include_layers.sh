#!/usr/bin/env bash
# pelorin-cli's three rooms may use only the rooms before them: run/ stands
# alone, results/ may use run/, report/ may use both; none uses the program
# itself (the headers directly in cli/).  Prints each include that breaks
# this and fails.
# Usage: include_layers.sh SOURCE_DIR
set -euo pipefail
cd "$1/cli"
status=0
check() {
    local room=$1 forbidden=$2 hits
    hits=$(grep -nE "^[[:space:]]*#[[:space:]]*include[[:space:]]*\"cli/($forbidden)" "$room"/* || true)
    if [ -n "$hits" ]; then
        echo "cli/$room includes what it may not:"
        echo "$hits" | sed "s#^#  cli/#"
        status=1
    fi
}
top='[^/"]+"'
check run "results/|report/|$top"
check results "report/|$top"
check report "$top"
exit $status

#!/usr/bin/env bash
# Runs lintian on the .deb made in BUILD_DIR and fails on any error; the
# warnings it prints are the ones docs/packaging.md lists with their reasons.
# Usage: check_lintian.sh BUILD_DIR
set -euo pipefail
build=$1
# shellcheck source=/dev/null
source "$build/packaging/deb.env"
deb=$build/pelorin_${PELORIN_VERSION}_${PELORIN_DEB_ARCH}.deb
[ -f "$deb" ] || { echo "check_lintian.sh: $deb was not made" >&2; exit 1; }
status=0
lintian --fail-on error --tag-display-limit 0 "$deb" || status=$?
[ "$status" -eq 0 ] && echo "lintian: no errors in $deb"
exit "$status"

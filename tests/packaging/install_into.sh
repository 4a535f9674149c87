#!/usr/bin/env bash
# Installs BUILD_DIR into a fresh DESTDIR with prefix /usr, as a package would.
# Usage: install_into.sh BUILD_DIR DESTDIR
set -euo pipefail
build=$1 dest=$2
rm -rf "$dest"
DESTDIR=$dest cmake --install "$build" --prefix /usr >/dev/null
echo "installed into $dest"

#!/usr/bin/env bash
# Makes BUILD_DIR/pelorin_<version>_<arch>.deb from an installation of an
# existing build: binaries stripped, manual pages and changelog compressed,
# Depends computed by dpkg-shlibdeps plus a Japanese font.
# Usage: make_deb.sh BUILD_DIR
set -euo pipefail
[ $# -eq 1 ] || { echo "usage: make_deb.sh BUILD_DIR" >&2; exit 2; }
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
[ -f "$build/packaging/deb.env" ] || { echo "make_deb.sh: $build is not a configured build" >&2; exit 2; }
# shellcheck source=/dev/null
source "$build/packaging/deb.env"
if [ -z "$PELORIN_DEB_ARCH" ]; then
    echo "make_deb.sh: no Debian architecture is known for processor '$PELORIN_PROCESSOR'" >&2
    exit 2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
umask 022
root=$work/root
DESTDIR=$root cmake --install "$build" --prefix /usr --strip >/dev/null
# Debian keeps manual pages and changelogs compressed, without time stamps.
gzip -9n "$root"/usr/share/man/man1/*.1 "$root/usr/share/doc/pelorin/changelog"

# dpkg-shlibdeps works inside a source tree: it wants debian/control.
mkdir -p "$work/debian" "$root/DEBIAN"
printf 'Source: pelorin\n\nPackage: pelorin\nArchitecture: any\n' >"$work/debian/control"
shlibs=$(cd "$work" && DEB_HOST_ARCH=$PELORIN_DEB_ARCH dpkg-shlibdeps -O -e"$root/usr/bin/pelorin" \
             -e"$root/usr/bin/pelorin-cli" | sed -n 's/^shlibs:Depends=//p')
[ -n "$shlibs" ] || { echo "make_deb.sh: dpkg-shlibdeps found no libraries" >&2; exit 1; }

installed_size=$(du -s -k --apparent-size "$root/usr" | cut -f1)
sed -e "s/@VERSION@/$PELORIN_VERSION/" -e "s/@ARCH@/$PELORIN_DEB_ARCH/" -e "s/@SHLIBS@/$shlibs/" \
    -e "s/@INSTALLED_SIZE@/$installed_size/" "$here/control.in" >"$root/DEBIAN/control"
(cd "$root" && find usr -type f -print0 | sort -z | xargs -0 md5sum) >"$root/DEBIAN/md5sums"
chmod 0644 "$root/DEBIAN/control" "$root/DEBIAN/md5sums"

deb="$build/pelorin_${PELORIN_VERSION}_${PELORIN_DEB_ARCH}.deb"
dpkg-deb --root-owner-group -Zxz --build "$root" "$deb" >/dev/null
echo "$deb"

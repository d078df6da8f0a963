#!/usr/bin/env bash
# Builds the Debian package: a Release build without tests or benchmarks, packed by CPack,
# its menu entry and metadata checked by the desktop's own validators. Prints the .deb path.
# Usage: scripts/package.sh [build-dir]   (default: build/package)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$root/build/package}")

source "$root/scripts/deps.sh"
# dpkg-dev computes the library dependencies, librsvg2-bin renders the PNG icons.
sanivex_packages+=(dpkg-dev file librsvg2-bin desktop-file-utils appstream)
sanivex_install_missing

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
      -DSANIVEX_BUILD_TESTS=OFF -DSANIVEX_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" -j"$(nproc)"
rm -f "$build"/sanivex-genesor_*.deb
(cd "$build" && cpack -G DEB >/dev/null)

# Validate what the package really contains, not the source files.
deb=$(ls "$build"/sanivex-genesor_*.deb)
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
dpkg-deb -x "$deb" "$stage"
desktop-file-validate "$stage"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$stage"/usr/share/metainfo/*.metainfo.xml
appstreamcli validate-tree --no-net "$stage"

echo "$deb"

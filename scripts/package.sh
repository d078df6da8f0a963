#!/usr/bin/env bash
# Builds the Debian package the Debian way (dpkg-buildpackage, debhelper, debian/), then checks
# it: lintian --pedantic must report nothing above info, and the packaged menu entry and
# metadata must pass their validators. Leaves the .deb in build/package/ and prints its path.
#
# dpkg-buildpackage builds in the tree it is given and writes its results beside it, so it
# gets a copy of the sources under build/package/: the work tree stays clean.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out=$root/build/package

source "$root/scripts/deps.sh"
# The build dependencies of debian/control, plus the checkers.
sanivex_packages+=(dpkg-dev debhelper librsvg2-bin lintian desktop-file-utils appstream)
sanivex_install_missing

version=$(dpkg-parsechangelog -l "$root/debian/changelog" -S Version)
arch=$(dpkg-architecture -q DEB_HOST_ARCH)
work=$out/work
tree=$work/sanivex-genesor-$version
rm -rf "$work" "$out"/sanivex-genesor_*.deb
mkdir -p "$tree"
if git -C "$root" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    # Tracked and new files, not what .gitignore leaves out (build directories).
    git -C "$root" ls-files -z --cached --others --exclude-standard |
        while IFS= read -r -d '' file; do
            [ -e "$root/$file" ] && printf '%s\0' "$file" # not when deleted but not committed
        done | (cd "$root" && xargs -0 cp --parents -t "$tree" --)
else
    tar -C "$root" --exclude=./build --exclude='./build-*' --exclude='./obj-*' -cf - . |
        tar -C "$tree" -xf -
fi

(cd "$tree" && dpkg-buildpackage -us -uc -b -j"$(nproc)" >"$work/build.log" 2>&1) || {
    tail -n 40 "$work/build.log" >&2
    echo "dpkg-buildpackage failed; whole log: $work/build.log" >&2
    exit 1
}
deb=$out/sanivex-genesor_${version}_${arch}.deb
cp "$work/sanivex-genesor_${version}_${arch}.deb" "$deb"

# Everything dpkg-buildpackage made (package, debug symbols, build record). Error and warning
# tags fail; info and pedantic ones are shown.
lintian --display-info --pedantic --fail-on error,warning \
    "$work/sanivex-genesor_${version}_${arch}.changes"

# Validate what the package really contains, not the source files.
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
dpkg-deb -x "$deb" "$stage"
desktop-file-validate "$stage"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$stage"/usr/share/metainfo/*.metainfo.xml
appstreamcli validate-tree --no-net "$stage"

echo "$deb"

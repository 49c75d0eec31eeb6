#!/usr/bin/env bash
# Builds the Debian package build-package/quillmoor-text-edit_VERSION_ARCH.deb
# with CPack (its dependencies found by dpkg-shlibdeps), with Debian's own
# compiler and linker flags, and checks it: the files it must hold, then
# desktop-file-validate, appstreamcli and lintian. Prints the package's path last.
set -euo pipefail
cd "$(dirname "$0")/.."
QM_WITH_PACKAGING=1 scripts/install-deps.sh >&2
dir="${QM_PACKAGE_DIR:-build-package}"

# Only what the package holds: no tests, no benchmarks. Debian's flags with every
# hardening; CMake reads no CPPFLAGS, so the preprocessor's go with the compiler's.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_PREFIX=/usr \
    -DQM_BUILD_TESTS=OFF -DQM_BUILD_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >&2
cmake --build "$dir" -j "$(nproc)" >&2
rm -f "$dir"/quillmoor-text-edit_*.deb
(cd "$dir" && cpack -G DEB >&2)
deb="$(ls "$dir"/quillmoor-text-edit_*.deb)"

root="$(mktemp -d)"
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
id=org.quillmoor.TextEdit
for f in bin/quillmoor-text-edit bin/quillmoor-script share/quillmoor-text-edit/portraits/-1.bmp \
         share/quillmoor-text-edit/portraits/7.bmp share/applications/$id.desktop \
         share/icons/hicolor/scalable/apps/$id.svg share/icons/hicolor/48x48/apps/$id.png \
         share/icons/hicolor/256x256/apps/$id.png share/metainfo/$id.metainfo.xml \
         share/man/man1/quillmoor-text-edit.1.gz share/man/man1/quillmoor-script.1.gz \
         share/doc/quillmoor-text-edit/copyright share/doc/quillmoor-text-edit/changelog.gz; do
    [ -f "$root/usr/$f" ] || { echo "package.sh: the package lacks /usr/$f" >&2; exit 1; }
done
desktop-file-validate "$root/usr/share/applications/$id.desktop" >&2
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" >&2
lintian --fail-on error --tag-display-limit 0 "$deb" >&2
echo "$deb"

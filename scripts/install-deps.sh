#!/usr/bin/env bash
# Installs the Debian packages the build needs, but only those that are missing.
set -euo pipefail

packages=(cmake ninja-build g++ qt6-base-dev qt6-base-dev-tools libgl-dev libgtest-dev libgmock-dev
          libbenchmark-dev nlohmann-json3-dev libcli11-dev zlib1g-dev libgettextpo-dev gettext python3
          libhunspell-dev hunspell-en-us hunspell-de-de hunspell-fr hunspell-es)
if [ "${QM_WITH_CLANG:-0}" = 1 ]; then
    packages+=(clang libclang-rt-dev)
fi
if [ "${QM_WITH_PACKAGING:-0}" = 1 ]; then
    # The Debian package: CPack's tools, the icons' renderer, the manual pages, the
    # validators, and strace for the installed editor's smoke test.
    packages+=(dpkg-dev file qt6-svg-dev help2man desktop-file-utils appstream lintian strace)
fi
if [ "${QM_WITH_WINDOWS:-0}" = 1 ]; then  # the Windows cross build (scripts/test-windows.sh)
    packages+=(g++-mingw-w64-x86-64-posix libz-mingw-w64-dev googletest wine64)
fi
if [ "${QM_WITH_BENCH:-0}" = 1 ]; then  # bench/patch_side_by_side.sh's other patchers and meters
    packages+=(xdelta3 xz-utils time)
fi
if [ "${QM_WITH_XVFB:-0}" = 1 ]; then
    packages+=(xvfb xauth xdotool imagemagick)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"

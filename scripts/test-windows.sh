#!/usr/bin/env bash
# The core and quillmoor-script on Windows: installs what is missing (MinGW-w64,
# Wine, zlib for MinGW, the GoogleTest sources), cross-builds them and their tests
# into build-windows/ (no window: Debian has no Qt for Windows; no PO files and no
# spelling: nor libgettextpo or Hunspell), runs the tests under Wine, and checks that the Windows tool
# writes the very bytes the Linux one writes from the same inputs.
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"
QM_WITH_WINDOWS=1 scripts/install-deps.sh

out="$root/build-windows"
wine=/usr/lib/wine/wine64
export WINEPREFIX="$out/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
work="$(mktemp -d)"
trap 'rm -rf "$work"; /usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT
mkdir -p "$out"
[ -f "$WINEPREFIX/system.reg" ] || "$wine" wineboot --init >/dev/null 2>&1

cmake -S . -B "$out/build" -G Ninja --toolchain cmake/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DQM_BUILD_GUI=OFF -DQM_BUILD_BENCH=OFF -DQM_WITH_PO=OFF \
    -DQM_WITH_HUNSPELL=OFF >/dev/null
cmake --build "$out/build" -j "$(nproc)"
ctest --test-dir "$out/build" --output-on-failure -j "$(nproc)"

# The Linux tool: the ordinary build's when there is one, else one of its own.
linux="$root/${QM_BUILD_DIR:-build}"
if [ ! -f "$linux/build.ninja" ]; then
    linux="$out/linux"
    cmake -S . -B "$linux" -G Ninja -DQM_BUILD_GUI=OFF -DQM_BUILD_BENCH=OFF >/dev/null
fi
cmake --build "$linux" --target quillmoor-script -j "$(nproc)"

# Each step runs in both folders with the same arguments and inputs.
mkdir "$work/linux" "$work/windows"
both() {
    (cd "$work/linux" && "$linux/bin/quillmoor-script" "$@")
    (cd "$work/windows" && "$wine" "$out/build/bin/quillmoor-script.exe" "$@")
}
both demo demo.smc >/dev/null
both export demo.smc -o table.json
both export demo.smc -o table.csv
for system in linux windows; do
    sed 's/Good morning!/Good evening!/' "$work/linux/table.json" >"$work/$system/changed.json"
    sed 's/The tide/A tide/' "$work/linux/table.csv" >"$work/$system/changed.csv"
    cp "$work/$system/demo.smc" "$work/$system/changed.smc"
done
both import changed.smc changed.json
both import changed.smc changed.csv
both create-patch demo.smc changed.smc -o fan.bps
(cd "$work/linux" && "$linux/bin/quillmoor-script" export changed.smc >stdout.json)
(cd "$work/windows" && "$wine" "$out/build/bin/quillmoor-script.exe" export changed.smc >stdout.json)
failed=0
for file in demo.smc table.json table.csv changed.smc fan.bps stdout.json; do
    cmp "$work/linux/$file" "$work/windows/$file" || failed=1
done
said="$(cd "$work/windows" && "$wine" "$out/build/bin/quillmoor-script.exe" export demo.smc \
    -o table.po 2>&1 || true)"
if [[ "$said" != *"PO files are not supported in this build"* ]]; then
    echo "windows: a .po export said: $said"
    failed=1
fi
said="$(cd "$work/windows" && "$wine" "$out/build/bin/quillmoor-script.exe" check demo.smc \
    --spelling en_US 2>&1 || true)"
if [[ "$said" != *"Spelling is not available in this build"* ]]; then
    echo "windows: check --spelling said: $said"
    failed=1
fi
[ "$failed" -eq 0 ] &&
    echo "windows: the tool wrote the same bytes as on Linux (demo, JSON, CSV, imports, BPS patch)"
exit "$failed"

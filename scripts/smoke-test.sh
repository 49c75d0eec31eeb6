#!/usr/bin/env bash
# Unpacks a built package (scripts/package.sh) into a scratch root and runs its
# installed files only: the tool's version and the demo's export, then the
# editor opening the demo offscreen. The editor has no test switch: strace shows
# which files it opens, and the first row's portrait coming from the package's
# share/ folder shows both that the demo was loaded and that the pictures were
# found there. Usage: scripts/smoke-test.sh PACKAGE.deb
set -euo pipefail
deb="$(realpath "$1")"
version="$(dpkg-deb -f "$deb" Version)"
root="$(mktemp -d)"
editor_pid=""
cleanup() {
    if [ -n "$editor_pid" ]; then kill "$editor_pid" 2>/dev/null || true; fi
    rm -rf "$root"
}
trap cleanup EXIT
dpkg-deb -x "$deb" "$root/pkg"
bin="$root/pkg/usr/bin"
cd "$root"
unset LD_LIBRARY_PATH

fail() { echo "smoke test: $*" >&2; exit 1; }
[ "$("$bin/quillmoor-script" --version)" = "quillmoor-script $version" ] || fail "quillmoor-script --version"
[ "$("$bin/quillmoor-text-edit" --version)" = "quillmoor-text-edit $version" ] || fail "quillmoor-text-edit --version"
"$bin/quillmoor-script" --quiet demo demo.smc
"$bin/quillmoor-script" export demo.smc -o demo.po
[ "$(grep -c '^msgctxt' demo.po)" = 512 ] || fail "the demo's export does not hold 512 rows"

QT_QPA_PLATFORM=offscreen strace -f -qq -e trace=openat -o opened.log \
    "$bin/quillmoor-text-edit" demo.smc >editor.log 2>&1 &
portrait="$root/pkg/usr/share/quillmoor-text-edit/portraits/0.bmp"  # row 1 speaks as portrait 0
for _ in $(seq 120); do
    [ -z "$editor_pid" ] && [ -s opened.log ] && editor_pid="$(head -c 20 opened.log | cut -d' ' -f1)"
    if grep -sF "\"$portrait\"" opened.log | grep -q ') = [0-9]'; then  # opened, not refused
        echo "smoke test: passed (package $version; the editor showed $portrait)"
        exit 0
    fi
    sleep 1
done
cat editor.log >&2
grep -E '\.bmp|demo\.smc' opened.log >&2 || true
fail "the editor did not show the demo's first portrait from share/ within 120 s"

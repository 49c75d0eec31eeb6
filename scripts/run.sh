#!/usr/bin/env bash
# Installs what is missing, builds the editor, its portraits and the tool (not
# the tests: scripts/test.sh builds those), writes the demo ROM image to
# demo/demo.smc (once) and starts the editor.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
QM_BUILD_TARGETS="quillmoor-text-edit quillmoor-script" scripts/build.sh
mkdir -p demo
[ -f demo/demo.smc ] || build/bin/quillmoor-script demo demo/demo.smc
echo "Demo ROM image: $(pwd)/demo/demo.smc (File > Open ROM...)"
exec build/bin/quillmoor-text-edit "$@"

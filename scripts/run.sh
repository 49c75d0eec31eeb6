#!/usr/bin/env bash
# Installs what is missing, builds the editor, its portraits and the tool (not
# the tests: scripts/test.sh builds those), writes the demo ROM image to
# demo/demo.smc and an example character map to demo/example.tbl (once each)
# and starts the editor.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
QM_BUILD_TARGETS="quillmoor-text-edit quillmoor-script" scripts/build.sh
mkdir -p demo
[ -f demo/demo.smc ] || build/bin/quillmoor-script demo demo/demo.smc
# An example character map, beside the demo but not named demo.tbl: the demo
# reads as before until it is loaded (File > Character Map..., or --charmap).
[ -f demo/example.tbl ] || cat >demo/example.tbl <<'MAP'
# Example character map for the demo ROM image: the character each free code
# of the game's font stands for, one XX=c a line. The demo's row 24 uses 6A,
# A0 and B1; the rest are what a German, French or Spanish translation needs.
6A=–
A0=ᚠ
B1=ᚱ
76=ä
77=ö
78=ü
79=Ä
7A=Ö
7B=Ü
7C=ß
7D=é
7E=è
7F=ê
80=à
81=ç
82=ñ
83=¿
84=¡
85=-
86=:
87=;
MAP
echo "Demo ROM image: $(pwd)/demo/demo.smc (File > Open ROM...)"
exec build/bin/quillmoor-text-edit "$@"

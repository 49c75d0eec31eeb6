#!/usr/bin/env bash
# Our BPS patches side by side with xdelta3's VCDIFF (`xdelta3 -9`, and `-9 -S none`
# without its LZMA compression of the delta) on the pairs of
# tests/fixtures/patch_pairs.hpp. Builds quillmoor-script and the pair writer in
# build/ (or $QM_BUILD_DIR; a new folder is configured as Release), writes the
# pairs to a temporary folder, checks that every patch gives its target back,
# and prints a Markdown table of sizes and median times of RUNS runs (default 5).
# xdelta3 (Debian package xdelta3) is optional: without it only our columns show.
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${QM_BUILD_DIR:-build}"
runs="${1:-5}"
if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQM_BUILD_GUI=OFF >/dev/null
fi
cmake --build "$dir" --target quillmoor-script qm_write_patch_pairs >/dev/null
script="$dir/bin/quillmoor-script"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$dir/bin/qm_write_patch_pairs" "$work" >"$work/names"
have_xdelta=0
if command -v xdelta3 >/dev/null; then have_xdelta=1; fi

# Median wall time in milliseconds of running the command RUNS times.
median_ms() {
    local times=()
    for _ in $(seq "$runs"); do
        local start end
        start=$(date +%s%N)
        "$@" </dev/null >/dev/null 2>&1
        end=$(date +%s%N)
        times+=($(( (end - start) / 1000 )))
    done
    printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "%.1f", a[int((NR+1)/2)]/1000}'
}

# Checks that the file made by applying a patch is the target.
same() {
    cmp -s "$1" "$2" || { echo "patch_side_by_side: $3 does not give the target back" >&2; exit 1; }
}

size() { stat -c %s "$1"; }

header="| pair | our BPS | create | apply |"
rule="|---|---:|---:|---:|"
if [ "$have_xdelta" = 1 ]; then
    header+=" xdelta3 -9 | create | apply | xdelta3 -9 -S none |"
    rule+="---:|---:|---:|---:|"
fi
echo "$header"
echo "$rule"
while read -r name; do
    src="$work/$name.source.smc"
    dst="$work/$name.target.smc"
    bps="$work/$name.bps"
    create=$(median_ms "$script" create-patch "$src" "$dst" -o "$bps")
    apply=$(median_ms "$script" apply-patch "$bps" "$src" -o "$work/out.smc")
    same "$work/out.smc" "$dst" "our BPS of $name"
    row="| $name | $(size "$bps") B | $create ms | $apply ms |"
    if [ "$have_xdelta" = 1 ]; then
        vcd="$work/$name.vcdiff"
        create=$(median_ms xdelta3 -9 -e -f -s "$src" "$dst" "$vcd")
        apply=$(median_ms xdelta3 -d -f -s "$src" "$vcd" "$work/out.smc")
        same "$work/out.smc" "$dst" "xdelta3's patch of $name"
        xdelta3 -9 -S none -e -f -s "$src" "$dst" "$work/plain.vcdiff" </dev/null
        row+=" $(size "$vcd") B | $create ms | $apply ms | $(size "$work/plain.vcdiff") B |"
    fi
    echo "$row"
done <"$work/names"

#!/usr/bin/env bash
# Our BPS patches side by side with the best public BPS creator and xdelta3's
# VCDIFF (`xdelta3 -9`, and `-9 -S none` without its LZMA compression of the
# delta) on the pairs of tests/fixtures/patch_pairs.hpp. Builds quillmoor-script
# and the pair writer in build/ (or $QM_BUILD_DIR; a new folder is configured as
# Release), writes the pairs to a temporary folder, checks that every patch gives
# its target back (each BPS patch through both BPS appliers when there are two),
# and prints a Markdown table of sizes in bytes, median times of RUNS runs
# (default 5) and peak memory of creating each patch, then every pair where ours
# is larger than the peer's or xdelta3 -9 -S none's, or where ours, after xz -9e
# when that makes it smaller, is larger than xdelta3 -9's.
# The peer creator is built with its own build.sh from $QM_PEER_DIR (default
# ../shared/peers/flips) into the build folder, for measuring only. xdelta3, xz and
# /usr/bin/time (Debian packages xdelta3, xz-utils, time; QM_WITH_BENCH=1
# scripts/install-deps.sh) are optional: a column without its tool is left out.
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${QM_BUILD_DIR:-build}"
runs="${1:-5}"
peer_dir="${QM_PEER_DIR:-../shared/peers/flips}"
if [ ! -f "$dir/CMakeCache.txt" ]; then
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQM_BUILD_GUI=OFF >/dev/null
fi
cmake --build "$dir" --target quillmoor-script qm_write_patch_pairs -j "${QM_JOBS:-$(nproc)}" >/dev/null
script="$dir/bin/quillmoor-script"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$dir/bin/qm_write_patch_pairs" "$work" >"$work/names"
have() { command -v "$1" >/dev/null; }
peer=""
if [ -f "$peer_dir/build.sh" ]; then
    peer=$(FLIPS_BUILD="$(cd "$dir" && pwd)/peer" bash "$peer_dir/build.sh")
fi

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

# Peak resident memory of one run of the command, in MiB.
peak_mib() {
    if [ ! -x /usr/bin/time ]; then echo "?"; return; fi
    /usr/bin/time -f %M -o "$work/rss" "$@" </dev/null >/dev/null 2>&1
    awk '{printf "%.0f", $1 / 1024}' "$work/rss"
}

# Checks that the file made by applying a patch is the target.
same() {
    cmp -s "$1" "$2" || { echo "patch_side_by_side: $3 does not give the target back" >&2; exit 1; }
}

# Applies a BPS patch with our applier and the peer's, and checks both results.
check_bps() {
    "$script" apply-patch "$1" "$2" -o "$work/out.smc" >/dev/null
    same "$work/out.smc" "$3" "$4 (our applier)"
    if [ -n "$peer" ]; then
        rm -f "$work/out.smc"
        "$peer" --apply --exact "$1" "$2" "$work/out.smc" >/dev/null
        same "$work/out.smc" "$3" "$4 (the peer's applier)"
    fi
}

size() { stat -c %s "$1"; }
commas() { sed ':a;s/\B[0-9]\{3\}\>/,&/;ta' <<<"$1"; }

header="| pair | our BPS | create | memory |"
rule="|---|---:|---:|---:|"
if have xz; then header+=" ours, xz -9e |"; rule+="---:|"; fi
if [ -n "$peer" ]; then
    header+=" best public BPS creator | create | memory |"
    rule+="---:|---:|---:|"
fi
if have xdelta3; then
    header+=" xdelta3 -9 -S none | xdelta3 -9 | create | memory |"
    rule+="---:|---:|---:|---:|"
fi
echo "$header"
echo "$rule"
notes=()
while read -r name; do
    src="$work/$name.source.smc"
    dst="$work/$name.target.smc"
    bps="$work/$name.bps"
    create=$(median_ms "$script" create-patch "$src" "$dst" -o "$bps")
    memory=$(peak_mib "$script" create-patch "$src" "$dst" -o "$bps")
    check_bps "$bps" "$src" "$dst" "our BPS of $name"
    ours=$(size "$bps")
    row="| $name | $(commas "$ours") | $create ms | $memory MiB |"
    packed=""
    if have xz; then
        packed=$(xz -9e -c "$bps" | wc -c)
        row+=" $(commas "$packed") |"
    fi
    if [ -n "$peer" ]; then
        # --exact: a patch of the files as they are; by default it leaves a copier's
        # header out of both, and its patch would not give this target back.
        theirs="$work/$name.peer.bps"
        create=$(median_ms "$peer" --create --bps-delta --exact "$src" "$dst" "$theirs")
        memory=$(peak_mib "$peer" --create --bps-delta --exact "$src" "$dst" "$theirs")
        check_bps "$theirs" "$src" "$dst" "the peer's BPS of $name"
        row+=" $(commas "$(size "$theirs")") | $create ms | $memory MiB |"
        [ "$ours" -le "$(size "$theirs")" ] || notes+=("$name: ours is larger than the peer's")
    fi
    if have xdelta3; then
        vcd="$work/$name.vcdiff"
        xdelta3 -9 -S none -e -f -s "$src" "$dst" "$work/plain.vcdiff" </dev/null
        create=$(median_ms xdelta3 -9 -e -f -s "$src" "$dst" "$vcd")
        memory=$(peak_mib xdelta3 -9 -e -f -s "$src" "$dst" "$vcd")
        xdelta3 -d -f -s "$src" "$vcd" "$work/out.smc" </dev/null
        same "$work/out.smc" "$dst" "xdelta3's patch of $name"
        plain=$(size "$work/plain.vcdiff")
        row+=" $(commas "$plain") | $(commas "$(size "$vcd")") | $create ms | $memory MiB |"
        [ "$ours" -le "$plain" ] || notes+=("$name: ours is larger than xdelta3 -9 -S none's")
        # Shared zipped where that makes it smaller: xz's frame outweighs a tiny patch.
        if [ -n "$packed" ] && [ "$(( packed < ours ? packed : ours ))" -gt "$(size "$vcd")" ]; then
            notes+=("$name: ours, after xz -9e where that helps, is larger than xdelta3 -9's")
        fi
    fi
    echo "$row"
done <"$work/names"
echo
if [ ${#notes[@]} -eq 0 ]; then
    echo "On every pair ours is no larger than any other."
else
    printf '%s\n' "${notes[@]}"
fi

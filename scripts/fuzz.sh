#!/usr/bin/env bash
# Builds the libFuzzer target with clang in build-fuzz and runs it for a bounded
# time (seconds, default 60) in a fresh corpus folder. Prints the number of
# executions; exits non-zero when the fuzzer finds a crash.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
dir=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQM_BUILD_FUZZ=ON -DQM_BUILD_GUI=OFF -DQM_BUILD_BENCH=OFF >/dev/null
cmake --build "$dir" --target qm_fuzz_save -j "$(nproc)"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/corpus" "$work/artifacts"
log="$work/fuzz.log"
status=0
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ASAN_OPTIONS=detect_leaks=1:quarantine_size_mb=16 \
    "$dir/bin/qm_fuzz_save" -max_total_time="$seconds" -max_len=30000 -timeout=30 \
    -print_final_stats=1 -artifact_prefix="$work/artifacts/" "$work/corpus" >"$log" 2>&1 || status=$?
execs="$(grep -E '^stat::number_of_executed_units' "$log" | awk '{print $2}' || true)"
crashes="$(find "$work/artifacts" -type f | wc -l)"
echo "fuzz: ${execs:-?} executions in ${seconds} s, ${crashes} crash(es)"
if [ "$status" -ne 0 ] || [ "$crashes" -ne 0 ]; then
    tail -n 60 "$log"
    mkdir -p "$dir/crashes"
    cp "$work"/artifacts/* "$dir/crashes/" 2>/dev/null || true
    echo "fuzz: failed (status $status); inputs kept in $dir/crashes"
    exit 1
fi

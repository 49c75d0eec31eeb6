#!/usr/bin/env bash
# Installs clang and its fuzzing runtime when missing, builds every libFuzzer
# target (fuzz/fuzz_*.cpp) with clang in build-fuzz and runs each for a bounded
# time (seconds per target, default 60) in a fresh corpus folder, as many at once
# as there are processors ($QM_JOBS to say fewer): each fuzzer is one process, so
# on two cores two run side by side at full speed. Prints the executions of each;
# exits non-zero when a fuzzer finds a crash.
set -euo pipefail
cd "$(dirname "$0")/.."
QM_WITH_CLANG=1 scripts/install-deps.sh
seconds="${1:-60}"
jobs="${QM_JOBS:-$(nproc)}"
dir=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQM_BUILD_FUZZ=ON -DQM_BUILD_GUI=OFF -DQM_BUILD_BENCH=OFF >/dev/null
cmake --build "$dir" --target qm_fuzzers -j "$jobs"

results="$(mktemp -d)"
trap 'rm -rf "$results"' EXIT

# Runs one fuzzer; what it has to say goes to $results/NAME.out, and a file
# $results/NAME.failed marks a failure.
fuzz() {
    local fuzzer="$1" name work log status=0 per_input_leaks=1 execs crashes
    name="$(basename "$fuzzer")"
    work="$(mktemp -d)"
    mkdir -p "$work/corpus" "$work/artifacts"
    log="$work/fuzz.log"
    # libgettextpo leaks on every read, so for PO libFuzzer would scan the heap
    # after each input until it gives up on leaks altogether, and then skip the
    # scan at exit too. Without the per-input scan the one at exit runs, and fails
    # the run on any leak that is not the library's (fuzz_po.cpp suppresses those).
    [ "$name" = qm_fuzz_po ] && per_input_leaks=0
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 ASAN_OPTIONS=detect_leaks=1:quarantine_size_mb=16 \
        "$fuzzer" -max_total_time="$seconds" -timeout=30 -print_final_stats=1 \
        -detect_leaks="$per_input_leaks" \
        -artifact_prefix="$work/artifacts/" "$work/corpus" >"$log" 2>&1 || status=$?
    # libFuzzer prints its statistics again after a failure at exit: take the first.
    execs="$(grep -m1 -E '^stat::number_of_executed_units' "$log" | awk '{print $2}' || true)"
    if ! [[ "$execs" =~ ^[0-9]+$ ]]; then  # no count: the run did not finish
        execs=0
        [ "$status" -ne 0 ] || status=1
    fi
    crashes="$(find "$work/artifacts" -type f | wc -l)"
    {
        echo "fuzz: $name: $execs executions in ${seconds} s ($((execs / seconds)) per second), ${crashes} crash(es)"
        if [ "$status" -ne 0 ] || [ "$crashes" -ne 0 ]; then
            tail -n 60 "$log"
            mkdir -p "$dir/crashes/$name"
            cp "$work"/artifacts/* "$dir/crashes/$name/" 2>/dev/null || true
            echo "fuzz: $name failed (status $status); inputs kept in $dir/crashes/$name"
            touch "$results/$name.failed"
        fi
    } >"$results/$name.out"
    rm -rf "$work"
}

fuzzers=("$dir"/bin/qm_fuzz_*)
for fuzzer in "${fuzzers[@]}"; do
    while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do
        wait -n || true
    done
    fuzz "$fuzzer" &
done
wait

failed=0
for fuzzer in "${fuzzers[@]}"; do
    name="$(basename "$fuzzer")"
    if [ -f "$results/$name.out" ]; then
        cat "$results/$name.out"
    else
        echo "fuzz: $name: no result"
        failed=1
    fi
    [ ! -f "$results/$name.failed" ] || failed=1
done
exit "$failed"

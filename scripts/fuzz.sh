#!/usr/bin/env bash
# Builds every libFuzzer target (fuzz/fuzz_*.cpp) with clang in build-fuzz and
# runs each for a bounded time (seconds per target, default 60) in a fresh corpus
# folder. Prints the executions of each; exits non-zero when a fuzzer finds a crash.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
dir=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQM_BUILD_FUZZ=ON -DQM_BUILD_GUI=OFF -DQM_BUILD_BENCH=OFF >/dev/null
cmake --build "$dir" --target qm_fuzzers -j "$(nproc)"

failed=0
for fuzzer in "$dir"/bin/qm_fuzz_*; do
    name="$(basename "$fuzzer")"
    work="$(mktemp -d)"
    mkdir -p "$work/corpus" "$work/artifacts"
    log="$work/fuzz.log"
    status=0
    # libgettextpo leaks on every read, so for PO libFuzzer would scan the heap
    # after each input until it gives up on leaks altogether, and then skip the
    # scan at exit too. Without the per-input scan the one at exit runs, and fails
    # the run on any leak that is not the library's (fuzz_po.cpp suppresses those).
    per_input_leaks=1
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
    echo "fuzz: $name: $execs executions in ${seconds} s ($((execs / seconds)) per second), ${crashes} crash(es)"
    if [ "$status" -ne 0 ] || [ "$crashes" -ne 0 ]; then
        tail -n 60 "$log"
        mkdir -p "$dir/crashes/$name"
        cp "$work"/artifacts/* "$dir/crashes/$name/" 2>/dev/null || true
        echo "fuzz: $name failed (status $status); inputs kept in $dir/crashes/$name"
        failed=1
    fi
    rm -rf "$work"
done
exit "$failed"

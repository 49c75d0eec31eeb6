#!/usr/bin/env bash
# Installs what is missing, builds and runs the test suite under AddressSanitizer
# and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
QM_BUILD_DIR=build-asan QM_BUILD_TYPE=Debug scripts/build.sh -DQM_SANITIZE=ON -DQM_BUILD_BENCH=OFF
# Qt and fontconfig keep caches alive until exit; leak reports there are noise.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
QT_QPA_PLATFORM=offscreen ctest --test-dir build-asan --output-on-failure -j "$(nproc)"

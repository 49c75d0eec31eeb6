#!/usr/bin/env bash
# Configures and builds into build/ (or $QM_BUILD_DIR) with Ninja: every target,
# or only those named in $QM_BUILD_TARGETS.
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${QM_BUILD_DIR:-build}"
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="${QM_BUILD_TYPE:-RelWithDebInfo}" "$@" >/dev/null
# shellcheck disable=SC2086 # the targets are words
cmake --build "$dir" -j "$(nproc)" ${QM_BUILD_TARGETS:+--target $QM_BUILD_TARGETS}

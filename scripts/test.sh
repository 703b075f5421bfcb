#!/usr/bin/env bash
# Builds everything from scratch-safe state and runs the whole test suite.
# Usage: scripts/test.sh            (build folder: build/)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

build=${QUENDRA_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUENDRA_WERROR=ON
cmake --build "$build" -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"

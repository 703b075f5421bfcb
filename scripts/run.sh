#!/usr/bin/env bash
# Builds the programs and the sample pictures, then opens the viewer; it starts in the
# folder of the samples. Arguments go to the viewer (a picture file to show at start).
# Usage: scripts/run.sh [picture]      (build folder: build/, or $QUENDRA_BUILD_DIR)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --run

build=${QUENDRA_BUILD_DIR:-build}
# The programs only: the tests and benchmarks are the test script's (scripts/test.sh).
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUENDRA_TESTS=OFF \
    -DQUENDRA_BENCH=OFF
cmake --build "$build" -j "$(nproc)"
exec "$build/bin/quendra" "$@"

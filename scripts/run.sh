#!/usr/bin/env bash
# Builds the programs and the sample pictures, then opens the viewer; it starts in the
# folder of the samples. Arguments go to the viewer (a picture file to show at start).
# Usage: scripts/run.sh [picture]      (build folder: build/, or $QUENDRA_BUILD_DIR)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

build=${QUENDRA_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j "$(nproc)"
exec "$build/bin/quendra" "$@"

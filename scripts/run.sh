#!/usr/bin/env bash
# Builds the converter and the sample pictures (one file of every format the readers take)
# and converts the samples to PNG with quendra-convert.
# Usage: scripts/run.sh            (build folder: build/, PNG files: build/bin/samples-png/)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

build=${QUENDRA_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUENDRA_WERROR=ON
cmake --build "$build" -j "$(nproc)" --target quendra-convert sample_pictures

samples="$build/bin/samples"
status=0
"$build/bin/quendra-convert" --force -o "$samples-png" "$samples"/* || status=$?
echo "Sample pictures: $samples"
echo "As PNG:          $samples-png"
exit "$status"

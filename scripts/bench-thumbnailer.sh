#!/usr/bin/env bash
# Whole-process time of quendra-thumbnailer from a Release build, as a file manager runs it:
# one process per file, a Koala picture at 128 and 256 pixels, and the bare start-up.
# Needs hyperfine.   Usage: scripts/bench-thumbnailer.sh [PICTURE]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --bench
build=${QUENDRA_BUILD_DIR:-build-release}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$build" --target quendra-thumbnailer sample_pictures > /dev/null
build=$(cd "$build" && pwd)
picture=$(realpath "${1:-$build/bin/samples/koala.koa}")
work=$build/bench-thumbnailer
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
thumbnailer=$build/bin/quendra-thumbnailer
hyperfine -N --warmup 20 --runs 300 \
  --command-name "128 px" "$thumbnailer -s 128 $picture $work/128.png" \
  --command-name "256 px" "$thumbnailer -s 256 $picture $work/256.png" \
  --command-name "start-up (--version)" "$thumbnailer --version"

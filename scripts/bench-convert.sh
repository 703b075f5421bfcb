#!/usr/bin/env bash
# Whole-process figures of quendra-convert from a Release build: 1000 Koala pictures to PNG
# in one run (wall time, files per second) and the program's start-up time. Needs hyperfine.
# Usage: scripts/bench-convert.sh [JOBS]      (default: one per core)
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v hyperfine > /dev/null; then
  echo "hyperfine is missing: apt-get install hyperfine" >&2
  exit 1
fi
build=${QUENDRA_BUILD_DIR:-build-release}
jobs=${1:-$(nproc)}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$build" --target quendra-convert quendra-samples bench_tools > /dev/null

# In the build folder: the system's temporary folder is often busy with other programs'
# short-lived files, which makes creating files there slow.
build=$(cd "$build" && pwd)
work=$build/bench-convert
rm -rf "$work"
trap 'rm -rf "$work"' EXIT
"$build/bin/quendra-samples" --koala-batch 1000 "$work/in"
convert=$build/bin/quendra-convert
(
  cd "$work"
  # Earlier outputs are moved aside, not deleted: ext4 makes creating files right after
  # deleting many others slow, which would measure the file system instead.
  hyperfine --warmup 2 --runs 10 --prepare 'if [ -d out ]; then mv out old-$(date +%s%N); fi' \
    --command-name "1000 Koala files to PNG, -j $jobs" "$convert -j $jobs -o out in/*.koa"
  hyperfine -N --warmup 5 --runs 50 --command-name "start-up (--version)" "$convert --version"
  echo "PNG bytes of the 1000 files: $(du -cb out/*.png | tail -1 | cut -f1)"
)
"$build/bin/bench_tools"

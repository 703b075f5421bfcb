#!/usr/bin/env bash
# Whole-process figures of quendra-convert from a Release build: 1000 Koala pictures to PNG in
# one run with one thread and with one per core, a mixed batch (the sample picture of every
# format 100 times), one file as a whole process, the start-up time (--version) and the peak
# memory of the 1000-file run, the bytes a picture, the system calls a file (strace -c);
# then the in-process benchmarks (every reader, the PNG encoder's choices). Needs hyperfine
# and strace.
# Usage: scripts/bench-convert.sh [JOBS]      (default: one per core)
# The machine's load shows in wall times: the script prints `uptime` first.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --bench
build=${QUENDRA_BUILD_DIR:-build-release}
jobs=${1:-$(nproc)}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build "$build" --target quendra-convert quendra-samples bench_tools bench_core > /dev/null

# In the build folder: the system's temporary folder is often busy with other programs'
# short-lived files, which makes creating files there slow.
build=$(cd "$build" && pwd)
work=$build/bench-convert
rm -rf "$work"
trap 'rm -rf "$work"' EXIT
"$build/bin/quendra-samples" --koala-batch 1000 "$work/in"
"$build/bin/quendra-samples" "$work/samples"
mkdir -p "$work/mixed"
for f in "$work"/samples/*; do
  name=$(basename "$f")
  for i in $(seq 100); do cp "$f" "$work/mixed/${name%.*}-$i.${name##*.}"; done
done
cp "$work/in/koala-0000.koa" "$work/one.koa"
convert=$build/bin/quendra-convert
uptime
(
  cd "$work"
  # Earlier outputs are moved aside, not deleted: ext4 makes creating files right after
  # deleting many others slow, which would measure the file system instead.
  aside='if [ -d out ]; then mv out old-$(date +%s%N); fi'
  hyperfine --warmup 2 --runs 10 --prepare "$aside" \
    --command-name "1000 Koala files to PNG, -j 1" "$convert -j 1 -o out in/*.koa" \
    --command-name "1000 Koala files to PNG, -j $jobs" "$convert -j $jobs -o out in/*.koa"
  bytes=$(cat out/*.png | wc -c)
  echo "PNG bytes of the 1000 files: $bytes, $((bytes / 1000)) a picture"
  hyperfine --warmup 2 --runs 10 --prepare "$aside" \
    --command-name "mixed batch ($(ls mixed | wc -l) files) to PNG, -j $jobs" \
    "$convert -j $jobs -o out mixed/*"
  count=$(ls mixed | wc -l)
  bytes=$(cat out/*.png | wc -c)
  echo "PNG bytes of the mixed batch: $bytes, $((bytes / count)) a picture"
  hyperfine -N --warmup 10 --runs 100 --prepare "rm -f q/one.png" \
    --command-name "one Koala file to PNG" "$convert -o q one.koa"
  hyperfine -N --warmup 10 --runs 100 --command-name "start-up (--version)" "$convert --version"
  rm -rf out
  /usr/bin/time -f "peak memory of the 1000-file run, -j $jobs: %M KB" \
    "$convert" -j "$jobs" -o out in/*.koa
  # System calls a file: new files, then replacing them (--force).
  rm -rf out
  for force in "" --force; do
    strace -f -c -o strace.txt "$convert" -q -j 1 $force -o out in/*.koa
    echo "system calls a file${force:+ with $force, replacing}:"
    awk '/^ *[0-9]/ { printf "  %-12s %6.2f\n", $NF, $4 / 1000 }' strace.txt |
      sort -k2 -rn | head -12
  done
)
"$build/bin/bench_tools"
"$build/bin/bench_core" --benchmark_filter='decode|Decode|Png' --benchmark_repetitions=3 \
  --benchmark_report_aggregates_only=true

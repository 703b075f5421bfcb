#!/bin/sh
# Fuzzes one reader family: scripts/fuzz.sh TARGET MINUTES
#   TARGET   a family of fuzz/fuzz_<family>.cpp (c64, printfox, ...; "fuzz_c64" works too)
#   MINUTES  how long (default 15)
# scripts/fuzz.sh --build-only builds every target and ends.
# Builds the clang fuzz build in fuzz-build/ (QUENDRA_FUZZ_BUILD moves it) when needed, writes
# the seeds and replays the kept inputs of fuzz/corpus/<family>/ under the sanitizers, then
# fuzzes at low priority. New inputs collect in fuzz-build/corpus/<family>/, crashes in
# fuzz-build/findings/. Inputs worth keeping go into fuzz/corpus/<family>/ (small files).
set -eu

if [ $# -lt 1 ]; then
    echo "usage: $0 TARGET [MINUTES]" >&2
    exit 2
fi
family=${1#fuzz_}
minutes=${2:-15}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${QUENDRA_FUZZ_BUILD:-$root/fuzz-build}

if [ "$family" != --build-only ] && [ ! -f "$root/fuzz/fuzz_$family.cpp" ]; then
    echo "$0: no fuzz target for '$family' (fuzz/fuzz_$family.cpp)" >&2
    exit 2
fi
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUENDRA_FUZZ=ON
fi
if [ "$family" = --build-only ]; then
    exec cmake --build "$build" -j2
fi
cmake --build "$build" -j2 --target "fuzz_$family" "replay_$family"

work="$build/corpus/$family"
seeds="$build/seeds/$family"
kept="$root/fuzz/corpus/$family"
mkdir -p "$work" "$build/findings"
"$build/bin/replay_$family" "$seeds" "$kept"
[ -d "$kept" ] || kept=
# A small quarantine: far less memory and fewer page faults on a shared machine; the
# readers free nothing by hand, so a short use-after-free window loses little.
ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=16}
export ASAN_OPTIONS
exec nice -n 10 "$build/bin/fuzz_$family" -max_total_time=$((minutes * 60)) -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/findings/$family-" \
    "$work" "$seeds" ${kept:+"$kept"}

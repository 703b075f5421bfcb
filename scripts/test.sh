#!/usr/bin/env bash
# Builds everything from scratch-safe state and runs the whole test suite, then the
# viewer's tests once more under UBSan.
# Usage: scripts/test.sh            (build folders: build/ and build-ubsan/)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

# A compiler cache, where there is one, makes a second run of the same sources a matter of
# seconds; paths are taken relative to the checkout, so another clone hits the same entries.
launcher=()
if command -v ccache >/dev/null; then
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi

build=${QUENDRA_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUENDRA_WERROR=ON \
    -DQUENDRA_TESTS=ON -DQUENDRA_BENCH=ON "${launcher[@]}"
cmake --build "$build" -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"

# The viewer's and its widgets' tests with undefined behaviour as a failure (a bad downcast,
# an overflow, a misaligned or null access ends the test with a report). A folder of its own
# that builds only those two test programs (and the programs they start), at -O1 without
# debug information, to keep the step short; warnings are the first build's business.
ubsan=${QUENDRA_UBSAN_BUILD_DIR:-build-ubsan}
cmake -S . -B "$ubsan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUENDRA_BENCH=OFF "${launcher[@]}" \
    -DCMAKE_CXX_FLAGS_DEBUG="-O1" \
    -DCMAKE_CXX_FLAGS="-fsanitize=undefined -fno-sanitize-recover=undefined" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=undefined"
cmake --build "$ubsan" -j "$(nproc)" --target test_app test_components
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QUENDRA_BIN_DIR="$PWD/$ubsan/bin"
"$ubsan/bin/test_components"
"$ubsan/bin/test_app"

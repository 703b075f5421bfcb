#include <benchmark/benchmark.h>

#include "road.h"
#include "samples/c64_files.h"

namespace {

void BM_DecodeAmica(benchmark::State& state) {
    const auto file = quendra::samples::makeAmica(quendra::samples::testPattern());
    quendra::bench::readFile(state, "x.ami", file);
}
BENCHMARK(BM_DecodeAmica);

} // namespace

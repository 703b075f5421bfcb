#include <benchmark/benchmark.h>

#include "road.h"
#include "samples/c64_files.h"

namespace {

void BM_DecodeDoodle(benchmark::State& state) {
    const auto file = quendra::samples::makeDoodle(quendra::samples::testPattern());
    quendra::bench::readFile(state, "x.dd", file);
}
BENCHMARK(BM_DecodeDoodle);

} // namespace

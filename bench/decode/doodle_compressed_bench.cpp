#include <benchmark/benchmark.h>

#include "road.h"
#include "samples/c64_files.h"

namespace {

void BM_DecodeDoodleCompressed(benchmark::State& state) {
    const auto file = quendra::samples::makeDoodleCompressed(quendra::samples::testPattern());
    quendra::bench::readFile(state, "x.jj", file);
}
BENCHMARK(BM_DecodeDoodleCompressed);

} // namespace

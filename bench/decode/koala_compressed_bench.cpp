#include <benchmark/benchmark.h>

#include "road.h"
#include "samples/c64_files.h"

namespace {

void BM_DecodeKoalaCompressed(benchmark::State& state) {
    const auto file = quendra::samples::makeKoalaCompressed(quendra::samples::testPattern());
    quendra::bench::readFile(state, "x.gg", file);
}
BENCHMARK(BM_DecodeKoalaCompressed);

} // namespace

#include <benchmark/benchmark.h>

#include "road.h"
#include "samples/c64_files.h"

namespace {

void BM_DecodeArtStudio(benchmark::State& state) {
    const auto file = quendra::samples::makeArtStudio(quendra::samples::testPattern());
    quendra::bench::readFile(state, "x.ocp", file);
}
BENCHMARK(BM_DecodeArtStudio);

void BM_DecodeArtStudioHires(benchmark::State& state) {
    const auto file = quendra::samples::makeArtStudioHires(quendra::samples::testPattern());
    quendra::bench::readFile(state, "x.ocp", file);
}
BENCHMARK(BM_DecodeArtStudioHires);

} // namespace

#include <benchmark/benchmark.h>

#include "decode/readers.h"
#include "road.h"
#include "samples/c64_files.h"

namespace {

void BM_DecodeKoala(benchmark::State& state) {
    const auto file = quendra::samples::makeKoala(quendra::samples::testPattern());
    quendra::bench::readFile(state, "x.koa", file);
}
BENCHMARK(BM_DecodeKoala);

void BM_IndexedToRgb(benchmark::State& state) {
    const auto d = quendra::decodeKoala(quendra::samples::makeKoala(quendra::samples::testPattern()), {});
    for (auto _ : state) {
        quendra::Image rgb = d.picture.toRgb();
        benchmark::DoNotOptimize(rgb.data());
    }
}
BENCHMARK(BM_IndexedToRgb);

}  // namespace

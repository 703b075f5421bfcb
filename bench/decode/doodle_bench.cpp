#include <benchmark/benchmark.h>

#include "decode/readers.h"
#include "samples/c64_files.h"

namespace {

void BM_DecodeDoodle(benchmark::State& state) {
    const auto file = quendra::samples::makeDoodle(quendra::samples::testPattern());
    for (auto _ : state) {
        quendra::Decoded d = quendra::decodeDoodle(file, {});
        benchmark::DoNotOptimize(d.picture.indices().data());
    }
}
BENCHMARK(BM_DecodeDoodle);

} // namespace

#include <benchmark/benchmark.h>

#include "decode/readers.h"
#include "samples/c64_files.h"

namespace {

void BM_DecodeAmica(benchmark::State& state) {
    const auto file = quendra::samples::makeAmica(quendra::samples::testPattern());
    for (auto _ : state) {
        quendra::Decoded d = quendra::decodeAmica(file, {});
        benchmark::DoNotOptimize(d.picture.indices().data());
    }
}
BENCHMARK(BM_DecodeAmica);

} // namespace

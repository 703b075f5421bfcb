#include <benchmark/benchmark.h>

#include "decode/readers.h"
#include "samples/c64_files.h"

namespace {

void BM_DecodeArtStudio(benchmark::State& state) {
    const auto file = quendra::samples::makeArtStudio(quendra::samples::testPattern());
    for (auto _ : state) {
        quendra::Decoded d = quendra::decodeArtStudio(file, {});
        benchmark::DoNotOptimize(d.picture.indices().data());
    }
}
BENCHMARK(BM_DecodeArtStudio);

void BM_DecodeArtStudioHires(benchmark::State& state) {
    const auto file = quendra::samples::makeArtStudioHires(quendra::samples::testPattern());
    for (auto _ : state) {
        quendra::Decoded d = quendra::decodeArtStudio(file, {});
        benchmark::DoNotOptimize(d.picture.indices().data());
    }
}
BENCHMARK(BM_DecodeArtStudioHires);

} // namespace

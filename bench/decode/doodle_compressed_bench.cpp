#include <benchmark/benchmark.h>

#include "decode/readers.h"
#include "samples/c64_files.h"

namespace {

void BM_DecodeDoodleCompressed(benchmark::State& state) {
    const auto file = quendra::samples::makeDoodleCompressed(quendra::samples::testPattern());
    for (auto _ : state) {
        quendra::Decoded d = quendra::decodeDoodleCompressed(file, {});
        benchmark::DoNotOptimize(d.picture.indices().data());
    }
}
BENCHMARK(BM_DecodeDoodleCompressed);

} // namespace

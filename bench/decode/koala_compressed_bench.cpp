#include <benchmark/benchmark.h>

#include "decode/readers.h"
#include "samples/c64_files.h"

namespace {

void BM_DecodeKoalaCompressed(benchmark::State& state) {
    const auto file = quendra::samples::makeKoalaCompressed(quendra::samples::testPattern());
    for (auto _ : state) {
        quendra::Decoded d = quendra::decodeKoalaCompressed(file, {});
        benchmark::DoNotOptimize(d.picture.indices().data());
    }
}
BENCHMARK(BM_DecodeKoalaCompressed);

} // namespace

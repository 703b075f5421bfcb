#include <benchmark/benchmark.h>

#include "decode/readers.h"
#include "samples/funpainter_files.h"

namespace {

using namespace quendra::samples;

void decode(benchmark::State& state, const ByteVector& file) {
    for (auto _ : state) {
        quendra::Decoded d = quendra::decodeFunPainter(file, {});
        benchmark::DoNotOptimize(d.picture.indices().data());
    }
}

void BM_DecodeFunPainterPacked(benchmark::State& state) {
    decode(state, makeFunPainter(funPainterPattern(), true));
}
BENCHMARK(BM_DecodeFunPainterPacked);

void BM_DecodeFunPainterPlain(benchmark::State& state) {
    decode(state, makeFunPainter(funPainterPattern(), false));
}
BENCHMARK(BM_DecodeFunPainterPlain);

} // namespace

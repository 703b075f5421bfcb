#include <benchmark/benchmark.h>

#include "road.h"
#include "samples/funpainter_files.h"

namespace {

using namespace quendra::samples;

void decode(benchmark::State& state, const ByteVector& file) {
    quendra::bench::readFile(state, "x.fp2", file);
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

#include <benchmark/benchmark.h>

#include "decode/fli_readers.h"
#include "samples/fli_files.h"

namespace {

using namespace quendra::samples;
using Reader = quendra::Decoded (*)(quendra::Bytes, const quendra::DecodeOptions&);

void decode(benchmark::State& state, Reader reader, const ByteVector& file) {
    for (auto _ : state) {
        quendra::Decoded d = reader(file, {});
        benchmark::DoNotOptimize(d.picture.indices().data());
    }
}

const FliPicture kPicture = fliPattern();

BENCHMARK_CAPTURE(decode, FliDesigner, quendra::decodeFliDesigner, makeFliDesigner(kPicture));
BENCHMARK_CAPTURE(decode, FliGraph, quendra::decodeFliGraph, makeFliGraph(kPicture));
BENCHMARK_CAPTURE(decode, FliGraphPacked, quendra::decodeFliGraph, makeFliGraphPacked(kPicture));
BENCHMARK_CAPTURE(decode, Afli, quendra::decodeAfli, makeAfli(kPicture));
BENCHMARK_CAPTURE(decode, HiresFli, quendra::decodeHiresFli, makeHiresFli(kPicture));
BENCHMARK_CAPTURE(decode, Bfli, quendra::decodeBfli, makeBfli(kPicture));
BENCHMARK_CAPTURE(decode, TruePaint, quendra::decodeTruePaint, makeTruePaint(kPicture));
BENCHMARK_CAPTURE(decode, TruePaintPacked, quendra::decodeTruePaint, makeTruePaintPacked(kPicture));
BENCHMARK_CAPTURE(decode, Drazlace, quendra::decodeDrazlace, makeDrazlace(kPicture));
BENCHMARK_CAPTURE(decode, DrazlacePacked, quendra::decodeDrazlace, makeDrazlacePacked(kPicture));
BENCHMARK_CAPTURE(decode, Gunpaint, quendra::decodeGunpaint, makeGunpaint(kPicture));
BENCHMARK_CAPTURE(decode, Ffli, quendra::decodeFfli, makeFfli(kPicture));
BENCHMARK_CAPTURE(decode, Drazpaint, quendra::decodeDrazpaint, makeDrazpaint(kPicture));
BENCHMARK_CAPTURE(decode, DrazpaintPacked, quendra::decodeDrazpaint, makeDrazpaintPacked(kPicture));
BENCHMARK_CAPTURE(decode, HiresInterlace, quendra::decodeHiresInterlace,
                  makeHiresInterlace(kPicture));

} // namespace

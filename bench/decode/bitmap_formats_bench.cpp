#include <benchmark/benchmark.h>

#include "decode/readers.h"
#include "samples/bitmap_files.h"

namespace {

using namespace quendra;
using samples::ByteVector;
using samples::testPattern;
using Reader = Decoded (*)(Bytes, const DecodeOptions&);

void BM_DecodeBitmapFormat(benchmark::State& state, Reader decode, ByteVector file) {
    for (auto _ : state) {
        Decoded d = decode(file, {});
        benchmark::DoNotOptimize(d.picture.indices().data());
    }
    if (!decode(file, {}).accepted)
        state.SkipWithError("the sample was refused");
}

const samples::CellPicture kPicture = testPattern();

BENCHMARK_CAPTURE(BM_DecodeBitmapFormat, ArtStudioHires, decodeArtStudioHires,
                  samples::makeArtStudioHiresLayout(kPicture, 9009, 0x2000));
BENCHMARK_CAPTURE(BM_DecodeBitmapFormat, InterpaintHires, decodeInterpaintHires,
                  samples::makeArtStudioHiresLayout(kPicture, 9002, 0x4000));
BENCHMARK_CAPTURE(BM_DecodeBitmapFormat, Interpaint, decodeInterpaint,
                  samples::makeMulticolourFile(kPicture, samples::kInterpaintLayout));
BENCHMARK_CAPTURE(BM_DecodeBitmapFormat, HiEddi, decodeHiEddi, samples::makeHiEddi(kPicture));
BENCHMARK_CAPTURE(BM_DecodeBitmapFormat, ImageSystemHires, decodeImageSystemHires,
                  samples::makeImageSystemHires(kPicture));
BENCHMARK_CAPTURE(BM_DecodeBitmapFormat, HiresBitmap, decodeHiresBitmap,
                  samples::makeHiresBitmap(kPicture));
BENCHMARK_CAPTURE(BM_DecodeBitmapFormat, HiresBitmapInverted, decodeHiresBitmapInverted,
                  samples::makeHiresBitmap(kPicture));
BENCHMARK_CAPTURE(BM_DecodeBitmapFormat, Kla, decodeKla, samples::makeKoala(kPicture));
BENCHMARK_CAPTURE(BM_DecodeBitmapFormat, KlaCompressed, decodeKla,
                  samples::makeKoalaCompressed(kPicture));
BENCHMARK_CAPTURE(BM_DecodeBitmapFormat, AdvancedArtStudio, decodeAdvancedArtStudio,
                  samples::makeArtStudio(kPicture));
BENCHMARK_CAPTURE(BM_DecodeBitmapFormat, BlazingPaddles, decodeBlazingPaddles,
                  samples::makeMulticolourFile(kPicture, samples::kBlazingPaddlesLayout));
BENCHMARK_CAPTURE(BM_DecodeBitmapFormat, Artist64, decodeArtist64,
                  samples::makeMulticolourFile(kPicture, samples::kArtist64Layout));
BENCHMARK_CAPTURE(BM_DecodeBitmapFormat, Vidcom64, decodeVidcom64,
                  samples::makeMulticolourFile(kPicture, samples::kVidcom64Layout));
BENCHMARK_CAPTURE(BM_DecodeBitmapFormat, ImageSystem, decodeImageSystem,
                  samples::makeMulticolourFile(kPicture, samples::kImageSystemLayout));
BENCHMARK_CAPTURE(BM_DecodeBitmapFormat, SaracenPaint, decodeSaracenPaint,
                  samples::makeMulticolourFile(kPicture, samples::kSaracenPaintLayout));
BENCHMARK_CAPTURE(BM_DecodeBitmapFormat, PaintMagic, decodePaintMagic,
                  samples::makePaintMagic(kPicture));
BENCHMARK_CAPTURE(BM_DecodeBitmapFormat, RainbowPainter, decodeRainbowPainter,
                  samples::makeMulticolourFile(kPicture, samples::kRainbowPainterLayout));
BENCHMARK_CAPTURE(BM_DecodeBitmapFormat, HiresManager, decodeHiresManager,
                  samples::makeHiresManager(samples::hiresFliPattern(), false));
BENCHMARK_CAPTURE(BM_DecodeBitmapFormat, HiresManagerPacked, decodeHiresManager,
                  samples::makeHiresManager(samples::hiresFliPattern(), true));

} // namespace

#include <benchmark/benchmark.h>

#include "road.h"
#include "samples/bitmap_files.h"

namespace {

using namespace quendra;
using samples::ByteVector;
using samples::testPattern;
void BM_DecodeBitmapFormat(benchmark::State& state, const char* name, ByteVector file) {
    bench::readFile(state, name, file);
}

const samples::CellPicture kPicture = testPattern();

BENCHMARK_CAPTURE(BM_DecodeBitmapFormat, ArtStudioHires, "x.art",
                  samples::makeArtStudioHiresLayout(kPicture, 9009, 0x2000));
BENCHMARK_CAPTURE(BM_DecodeBitmapFormat, InterpaintHires, "x.iph",
                  samples::makeArtStudioHiresLayout(kPicture, 9002, 0x4000));
BENCHMARK_CAPTURE(BM_DecodeBitmapFormat, Interpaint, "x.ipt",
                  samples::makeMulticolourFile(kPicture, samples::kInterpaintLayout));
BENCHMARK_CAPTURE(BM_DecodeBitmapFormat, HiEddi, "x.hed", samples::makeHiEddi(kPicture));
BENCHMARK_CAPTURE(BM_DecodeBitmapFormat, ImageSystemHires, "x.ish",
                  samples::makeImageSystemHires(kPicture));
BENCHMARK_CAPTURE(BM_DecodeBitmapFormat, HiresBitmap, "x.hbm", samples::makeHiresBitmap(kPicture));
BENCHMARK_CAPTURE(BM_DecodeBitmapFormat, HiresBitmapInverted, "x.gih",
                  samples::makeHiresBitmap(kPicture));
BENCHMARK_CAPTURE(BM_DecodeBitmapFormat, Kla, "x.kla", samples::makeKoala(kPicture));
BENCHMARK_CAPTURE(BM_DecodeBitmapFormat, KlaCompressed, "x.kla",
                  samples::makeKoalaCompressed(kPicture));
BENCHMARK_CAPTURE(BM_DecodeBitmapFormat, AdvancedArtStudio, "x.mpic",
                  samples::makeArtStudio(kPicture));
BENCHMARK_CAPTURE(BM_DecodeBitmapFormat, BlazingPaddles, "x.pi",
                  samples::makeMulticolourFile(kPicture, samples::kBlazingPaddlesLayout));
BENCHMARK_CAPTURE(BM_DecodeBitmapFormat, Artist64, "x.a64",
                  samples::makeMulticolourFile(kPicture, samples::kArtist64Layout));
BENCHMARK_CAPTURE(BM_DecodeBitmapFormat, Vidcom64, "x.vid",
                  samples::makeMulticolourFile(kPicture, samples::kVidcom64Layout));
BENCHMARK_CAPTURE(BM_DecodeBitmapFormat, ImageSystem, "x.ism",
                  samples::makeMulticolourFile(kPicture, samples::kImageSystemLayout));
BENCHMARK_CAPTURE(BM_DecodeBitmapFormat, SaracenPaint, "x.sar",
                  samples::makeMulticolourFile(kPicture, samples::kSaracenPaintLayout));
BENCHMARK_CAPTURE(BM_DecodeBitmapFormat, PaintMagic, "x.pmg", samples::makePaintMagic(kPicture));
BENCHMARK_CAPTURE(BM_DecodeBitmapFormat, RainbowPainter, "x.rp",
                  samples::makeMulticolourFile(kPicture, samples::kRainbowPainterLayout));
BENCHMARK_CAPTURE(BM_DecodeBitmapFormat, HiresManager, "x.him",
                  samples::makeHiresManager(samples::hiresFliPattern(), false));
BENCHMARK_CAPTURE(BM_DecodeBitmapFormat, HiresManagerPacked, "x.him",
                  samples::makeHiresManager(samples::hiresFliPattern(), true));

} // namespace

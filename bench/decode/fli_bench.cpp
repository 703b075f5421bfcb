#include <benchmark/benchmark.h>

#include "decode/formats.h"
#include "road.h"
#include "samples/fli_files.h"

namespace {

using namespace quendra::samples;
// A file named by the first extension of its registry row.
void decode(benchmark::State& state, quendra::FormatId row, const ByteVector& file) {
    const quendra::C64Format& format = quendra::formatRow(row);
    quendra::bench::readFile(state, "x" + std::string(format.extensions[0]), file);
}

const FliPicture kPicture = fliPattern();

BENCHMARK_CAPTURE(decode, FliDesigner, quendra::FormatId::fliDesigner, makeFliDesigner(kPicture));
BENCHMARK_CAPTURE(decode, FliGraph, quendra::FormatId::fliGraph, makeFliGraph(kPicture));
BENCHMARK_CAPTURE(decode, FliGraphPacked, quendra::FormatId::fliGraph,
                  makeFliGraphPacked(kPicture));
BENCHMARK_CAPTURE(decode, Afli, quendra::FormatId::afli, makeAfli(kPicture));
BENCHMARK_CAPTURE(decode, HiresFli, quendra::FormatId::hiresFli, makeHiresFli(kPicture));
BENCHMARK_CAPTURE(decode, Bfli, quendra::FormatId::bfli, makeBfli(kPicture));
BENCHMARK_CAPTURE(decode, TruePaint, quendra::FormatId::truePaint, makeTruePaint(kPicture));
BENCHMARK_CAPTURE(decode, TruePaintPacked, quendra::FormatId::truePaint,
                  makeTruePaintPacked(kPicture));
BENCHMARK_CAPTURE(decode, Drazlace, quendra::FormatId::drazlace, makeDrazlace(kPicture));
BENCHMARK_CAPTURE(decode, DrazlacePacked, quendra::FormatId::drazlace,
                  makeDrazlacePacked(kPicture));
BENCHMARK_CAPTURE(decode, Gunpaint, quendra::FormatId::gunpaint, makeGunpaint(kPicture));
BENCHMARK_CAPTURE(decode, Ffli, quendra::FormatId::ffli, makeFfli(kPicture));
BENCHMARK_CAPTURE(decode, Drazpaint, quendra::FormatId::drazpaint, makeDrazpaint(kPicture));
BENCHMARK_CAPTURE(decode, DrazpaintPacked, quendra::FormatId::drazpaint,
                  makeDrazpaintPacked(kPicture));
BENCHMARK_CAPTURE(decode, HiresInterlace, quendra::FormatId::hiresInterlace,
                  makeHiresInterlace(kPicture));

} // namespace

#include <benchmark/benchmark.h>

#include "decode/formats.h"
#include "road.h"
#include "samples/fli_files.h"

namespace {

using namespace quendra::samples;
// A file named by the first extension of its registry row.
void decode(benchmark::State& state, const char* row, const ByteVector& file) {
    const quendra::C64Format& format = *quendra::findFormat(row);
    quendra::bench::readFile(state, "x" + std::string(format.extensions[0]), file);
}

const FliPicture kPicture = fliPattern();

BENCHMARK_CAPTURE(decode, FliDesigner, "FLI Designer", makeFliDesigner(kPicture));
BENCHMARK_CAPTURE(decode, FliGraph, "FLI Graph", makeFliGraph(kPicture));
BENCHMARK_CAPTURE(decode, FliGraphPacked, "FLI Graph", makeFliGraphPacked(kPicture));
BENCHMARK_CAPTURE(decode, Afli, "AFLI", makeAfli(kPicture));
BENCHMARK_CAPTURE(decode, HiresFli, "Hires FLI", makeHiresFli(kPicture));
BENCHMARK_CAPTURE(decode, Bfli, "BFLI", makeBfli(kPicture));
BENCHMARK_CAPTURE(decode, TruePaint, "True Paint", makeTruePaint(kPicture));
BENCHMARK_CAPTURE(decode, TruePaintPacked, "True Paint", makeTruePaintPacked(kPicture));
BENCHMARK_CAPTURE(decode, Drazlace, "Drazlace", makeDrazlace(kPicture));
BENCHMARK_CAPTURE(decode, DrazlacePacked, "Drazlace", makeDrazlacePacked(kPicture));
BENCHMARK_CAPTURE(decode, Gunpaint, "Gunpaint", makeGunpaint(kPicture));
BENCHMARK_CAPTURE(decode, Ffli, "FFLI", makeFfli(kPicture));
BENCHMARK_CAPTURE(decode, Drazpaint, "Drazpaint", makeDrazpaint(kPicture));
BENCHMARK_CAPTURE(decode, DrazpaintPacked, "Drazpaint", makeDrazpaintPacked(kPicture));
BENCHMARK_CAPTURE(decode, HiresInterlace, "Hires-Interlace", makeHiresInterlace(kPicture));

} // namespace

#include <benchmark/benchmark.h>

#include "export/godot_writer.h"
#include "road.h"
#include "samples/godot_files.h"

namespace {

// A full picture as the writer leaves it: runs where cells are solid, literals elsewhere.
void BM_DecodeGodotPicture(benchmark::State& state) {
    const auto file =
        quendra::encodeGodot(quendra::samples::godotTestPattern().toRgb(), false).bytes;
    quendra::bench::readFile(state, "x.4bt", file);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.size()));
}
BENCHMARK(BM_DecodeGodotPicture)->Unit(benchmark::kMicrosecond);

// The same picture as literal bytes only: the most items a full picture has.
void BM_DecodeGodotPictureLiteral(benchmark::State& state) {
    const auto file = quendra::samples::makeGodot(quendra::samples::godotTestPattern());
    quendra::bench::readFile(state, "x.4bt", file);
}
BENCHMARK(BM_DecodeGodotPictureLiteral)->Unit(benchmark::kMicrosecond);

} // namespace

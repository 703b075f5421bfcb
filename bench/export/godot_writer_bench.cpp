#include <benchmark/benchmark.h>

#include "decode/palette.h"
#include "decode/readers.h"
#include "export/godot_writer.h"
#include "samples/c64_files.h"
#include "samples/godot_files.h"

namespace {

void BM_EncodeGodotPicture(benchmark::State& state) {
    const quendra::Image picture = quendra::samples::godotTestPattern().toRgb();
    for (auto _ : state) {
        quendra::GodotEncoded e = quendra::encodeGodot(picture, false);
        benchmark::DoNotOptimize(e.bytes.data());
    }
}
BENCHMARK(BM_EncodeGodotPicture)->Unit(benchmark::kMicrosecond);

// A Koala picture in grey: pixels change colour every few positions.
void BM_EncodeGodotKoalaGrey(benchmark::State& state) {
    const quendra::Image picture =
        quendra::decodeKoala(quendra::samples::makeKoala(quendra::samples::testPattern()),
                             {.grey = true})
            .picture.toRgb();
    for (auto _ : state) {
        quendra::GodotEncoded e = quendra::encodeGodot(picture, true);
        benchmark::DoNotOptimize(e.bytes.data());
    }
}
BENCHMARK(BM_EncodeGodotKoalaGrey)->Unit(benchmark::kMicrosecond);

// Worst case for matching: every pixel differs from its left neighbour and matches late.
void BM_EncodeGodotNoise(benchmark::State& state) {
    quendra::Image picture;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const auto v = static_cast<std::uint8_t>((x * 37 + y * 11) % 256);
            picture.setPixel(x, y, {v, static_cast<std::uint8_t>(255 - v), v});
        }
    }
    for (auto _ : state) {
        quendra::GodotEncoded e = quendra::encodeGodot(picture, false);
        benchmark::DoNotOptimize(e.bytes.data());
    }
}
BENCHMARK(BM_EncodeGodotNoise)->Unit(benchmark::kMicrosecond);

} // namespace

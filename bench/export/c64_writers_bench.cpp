// Writing C64 files: exact conversion of a picture that keeps Koala's rules, and colour
// reduction of a photo-like picture (smooth gradients with detail) to each mode.
#include <benchmark/benchmark.h>

#include <cmath>

#include "decode/readers.h"
#include "export/c64_export.h"
#include "samples/c64_files.h"

namespace {

using namespace quendra;

// Smooth colour gradients with rings and stripes of detail, like a photo's mix of both.
Image photoLike(int width, int height) {
    Image picture(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const double u = double(x) / width, v = double(y) / height;
            const double ring = std::sin(40 * std::hypot(u - 0.6, v - 0.4));
            const double stripe = std::sin(90 * u + 20 * v);
            auto channel = [](double value) {
                return static_cast<std::uint8_t>(std::clamp(value, 0.0, 1.0) * 255);
            };
            picture.setPixel(x, y,
                             {channel(0.2 + 0.6 * u + 0.15 * ring), channel(0.7 * v + 0.1 * stripe),
                              channel(0.8 - 0.5 * u * v + 0.1 * ring)});
        }
    }
    return picture;
}

void reduce(benchmark::State& state, std::string_view key, Dither dither, int width, int height) {
    const Image picture = photoLike(width, height);
    C64Exporter exporter;
    C64ExportOptions options;
    options.reduce = true;
    options.reduction.dither = dither;
    std::vector<std::uint8_t> out;
    for (auto _ : state) {
        const std::string why = exporter.write(picture, *findC64Writer(key), options, out);
        if (!why.empty())
            state.SkipWithError(why.c_str());
        benchmark::DoNotOptimize(out.data());
    }
}

void BM_ReduceToKoala(benchmark::State& state) {
    reduce(state, "koa", Dither::none, 320, 200);
}
BENCHMARK(BM_ReduceToKoala)->Unit(benchmark::kMillisecond);

void BM_ReduceToKoalaFloyd(benchmark::State& state) {
    reduce(state, "koa", Dither::floyd, 320, 200);
}
BENCHMARK(BM_ReduceToKoalaFloyd)->Unit(benchmark::kMillisecond);

void BM_ReduceToKoalaBayer8(benchmark::State& state) {
    reduce(state, "koa", Dither::bayer8, 320, 200);
}
BENCHMARK(BM_ReduceToKoalaBayer8)->Unit(benchmark::kMillisecond);

// A 1600 x 1200 photo scaled to the screen first.
void BM_ReduceLargeToKoala(benchmark::State& state) {
    reduce(state, "koa", Dither::none, 1600, 1200);
}
BENCHMARK(BM_ReduceLargeToKoala)->Unit(benchmark::kMillisecond);

void BM_ReduceToArtStudioHires(benchmark::State& state) {
    reduce(state, "art", Dither::none, 320, 200);
}
BENCHMARK(BM_ReduceToArtStudioHires)->Unit(benchmark::kMillisecond);

void BM_ReduceToFli(benchmark::State& state) {
    reduce(state, "fli", Dither::none, 296, 200);
}
BENCHMARK(BM_ReduceToFli)->Unit(benchmark::kMillisecond);

void BM_ReduceToAfli(benchmark::State& state) {
    reduce(state, "afl", Dither::none, 296, 200);
}
BENCHMARK(BM_ReduceToAfli)->Unit(benchmark::kMillisecond);

// A decoded Koala picture written exactly as Koala and as Koala compressed.
void exact(benchmark::State& state, std::string_view key) {
    const Decoded koala = decodeKoala(samples::makeKoala(samples::testPattern()), {});
    C64Exporter exporter;
    std::vector<std::uint8_t> out;
    for (auto _ : state) {
        const std::string why = exporter.write(koala.picture, *findC64Writer(key), {}, out);
        if (!why.empty())
            state.SkipWithError(why.c_str());
        benchmark::DoNotOptimize(out.data());
    }
}

void BM_ExactKoala(benchmark::State& state) {
    exact(state, "koa");
}
BENCHMARK(BM_ExactKoala)->Unit(benchmark::kMicrosecond);

void BM_ExactKoalaCompressed(benchmark::State& state) {
    exact(state, "gg");
}
BENCHMARK(BM_ExactKoalaCompressed)->Unit(benchmark::kMicrosecond);

} // namespace

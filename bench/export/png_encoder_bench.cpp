// PNG encoding of C64 pictures: the whole encoder, and the choices of its compressor on the
// 1000 Koala pictures of the converter's batch benchmark (mean file size, pictures a second
// of CPU time).
// zlib's levels and strategies and libdeflate's levels compress the same packed rows.
#include <benchmark/benchmark.h>
#include <libdeflate.h>
#include <zlib.h>

#include <vector>

#include "decode/readers.h"
#include "export/png_encoder.h"
#include "export/used_colours.h"
#include "samples/c64_files.h"

namespace {

using namespace quendra;

constexpr int kPictures = 1000;
// Signature, IHDR, PLTE of 16 colours, the IDAT chunk's frame and IEND.
constexpr std::size_t kPngFrameBytes = 8 + 25 + 12 + 48 + 12 + 12;

// The filtered rows (filter byte 0, then 4 bits a pixel) of the 1000 pictures.
const std::vector<std::vector<std::uint8_t>>& rawPictures() {
    static const auto pictures = [] {
        std::vector<std::vector<std::uint8_t>> all;
        UsedColours used;
        for (int i = 0; i < kPictures; ++i) {
            const IndexedImage p =
                decodeKoala(samples::makeKoala(samples::testPattern(static_cast<unsigned>(i))), {})
                    .picture;
            findUsedColours(p.indices(), p.palette(), used);
            const int bits = bitsForColours(used.count);
            const std::size_t rowBytes = (static_cast<std::size_t>(p.width()) * bits + 7) / 8;
            std::vector<std::uint8_t> raw((rowBytes + 1) * p.height());
            for (int y = 0; y < p.height(); ++y)
                packRow(p.row(y), p.width(), used.slot, bits, raw.data() + (rowBytes + 1) * y + 1);
            all.push_back(std::move(raw));
        }
        return all;
    }();
    return pictures;
}

void report(benchmark::State& state, double bytes) {
    state.counters["mean_png_bytes"] = bytes / kPictures + kPngFrameBytes;
    state.counters["pictures/s"] =
        benchmark::Counter(static_cast<double>(kPictures) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}

// Args: level, strategy (0 default, 1 filtered, 2 Huffman only, 3 RLE).
void BM_PngDeflateZlib(benchmark::State& state) {
    const auto& pictures = rawPictures();
    z_stream zs{};
    deflateInit2(&zs, static_cast<int>(state.range(0)), Z_DEFLATED, 15, 9,
                 static_cast<int>(state.range(1)));
    std::vector<std::uint8_t> out(deflateBound(&zs, 40000));
    double bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        for (const auto& raw : pictures) {
            deflateReset(&zs);
            zs.next_in = const_cast<Bytef*>(raw.data());
            zs.avail_in = static_cast<uInt>(raw.size());
            zs.next_out = out.data();
            zs.avail_out = static_cast<uInt>(out.size());
            deflate(&zs, Z_FINISH);
            bytes += static_cast<double>(zs.total_out);
        }
    }
    deflateEnd(&zs);
    report(state, bytes);
}
BENCHMARK(BM_PngDeflateZlib)
    ->ArgsProduct({{1, 3, 6, 9}, {0}})
    ->ArgsProduct({{1, 6, 9}, {1}})
    ->ArgsProduct({{6}, {2, 3}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// Arg: libdeflate's level, 1..12.
void BM_PngDeflateLibdeflate(benchmark::State& state) {
    const auto& pictures = rawPictures();
    libdeflate_compressor* c = libdeflate_alloc_compressor(static_cast<int>(state.range(0)));
    std::vector<std::uint8_t> out(libdeflate_zlib_compress_bound(c, 40000));
    double bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        for (const auto& raw : pictures)
            bytes += static_cast<double>(
                libdeflate_zlib_compress(c, raw.data(), raw.size(), out.data(), out.size()));
    }
    libdeflate_free_compressor(c);
    report(state, bytes);
}
BENCHMARK(BM_PngDeflateLibdeflate)->DenseRange(1, 12)->Unit(benchmark::kMillisecond)->Iterations(3);

// The whole encoder on one picture, with its state kept between pictures.
void BM_PngEncodeKoala(benchmark::State& state) {
    const IndexedImage p = decodeKoala(samples::makeKoala(samples::testPattern(7)), {}).picture;
    PngEncoder encoder;
    std::vector<std::uint8_t> out;
    for (auto _ : state) {
        encoder.encode(p, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["bytes"] = static_cast<double>(out.size());
}
BENCHMARK(BM_PngEncodeKoala)->Unit(benchmark::kMicrosecond);

} // namespace

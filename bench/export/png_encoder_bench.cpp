// PNG encoding of C64 pictures: the whole encoder, and the choices of its compressor and row
// filter on two sets of pictures: the 1000 Koala pictures of the converter's batch
// benchmark, and the real pictures in ../shared/real-samples when that folder is there
// (mean file size, microseconds a picture of CPU time).
// zlib's levels and strategies and libdeflate's levels compress the same packed rows.
#include <benchmark/benchmark.h>
#include <libdeflate.h>
#include <zlib.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "decode/formats.h"
#include "decode/readers.h"
#include "export/png_encoder.h"
#include "export/used_colours.h"
#include "samples/c64_files.h"

namespace {

using namespace quendra;

// A smoke run (QUENDRA_BENCH_SMOKE set, as the test suite's run of every benchmark) takes
// ten: the study's fixed iterations over 1000 pictures take a minute.
const int kKoalaPictures = std::getenv("QUENDRA_BENCH_SMOKE") ? 10 : 1000;
// Signature, IHDR, PLTE of 16 colours, the IDAT chunk's frame and IEND.
constexpr std::size_t kPngFrameBytes = 8 + 25 + 12 + 48 + 12 + 12;

// The rows of a picture as the encoder packs them (fewest bits), each after its filter byte
// 0 (none).
std::vector<std::uint8_t> packedRows(const IndexedImage& p, std::size_t& rowBytes) {
    UsedColours used;
    findUsedColours(p.indices(), p.palette(), used);
    const int bits = bitsForColours(used.count);
    rowBytes = (static_cast<std::size_t>(p.width()) * bits + 7) / 8;
    std::vector<std::uint8_t> raw((rowBytes + 1) * p.height());
    for (int y = 0; y < p.height(); ++y)
        packRow(p.row(y), p.width(), used, bits, raw.data() + (rowBytes + 1) * y + 1);
    return raw;
}

int paeth(int a, int b, int c) {
    const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// Row filters as PNG defines them (one byte a pixel step below 8 bits a pixel): 0 none,
// 1 sub, 2 up, 3 average, 4 Paeth, 5 each row the filter whose bytes have the least sum
// taken as signed (the usual heuristic).
std::vector<std::uint8_t> filtered(const std::vector<std::uint8_t>& raw, std::size_t rowBytes,
                                   int filter) {
    std::vector<std::uint8_t> out(raw.size());
    const std::size_t stride = rowBytes + 1;
    const std::size_t rows = raw.size() / stride;
    std::vector<std::uint8_t> zero(rowBytes, 0), trial(stride);
    for (std::size_t y = 0; y < rows; ++y) {
        const std::uint8_t* row = raw.data() + stride * y + 1;
        const std::uint8_t* up = y ? raw.data() + stride * (y - 1) + 1 : zero.data();
        auto apply = [&](int f, std::uint8_t* dst) {
            dst[0] = static_cast<std::uint8_t>(f);
            for (std::size_t x = 0; x < rowBytes; ++x) {
                const int a = x ? row[x - 1] : 0, b = up[x], c = x ? up[x - 1] : 0;
                const int predicted = f == 1   ? a
                                      : f == 2 ? b
                                      : f == 3 ? (a + b) / 2
                                      : f == 4 ? paeth(a, b, c)
                                               : 0;
                dst[x + 1] = static_cast<std::uint8_t>(row[x] - predicted);
            }
        };
        std::uint8_t* dst = out.data() + stride * y;
        if (filter < 5) {
            apply(filter, dst);
            continue;
        }
        long best = -1;
        for (int f = 0; f < 5; ++f) {
            apply(f, trial.data());
            long sum = 0;
            for (std::size_t x = 1; x < stride; ++x)
                sum += std::abs(static_cast<int>(static_cast<std::int8_t>(trial[x])));
            if (best < 0 || sum < best) {
                best = sum;
                std::copy(trial.begin(), trial.end(), dst);
            }
        }
    }
    return out;
}

struct PictureSet {
    std::vector<std::vector<std::uint8_t>> raw; // packed rows, filter none
    std::vector<std::size_t> rowBytes;
};

// 0: the 1000 Koala pictures; 1: every real picture the readers take.
const PictureSet& pictureSet(int which) {
    static const PictureSet koala = [] {
        PictureSet set;
        for (int i = 0; i < kKoalaPictures; ++i) {
            const IndexedImage p =
                decodeKoala(samples::makeKoala(samples::testPattern(static_cast<unsigned>(i))), {})
                    .picture;
            set.rowBytes.push_back(0);
            set.raw.push_back(packedRows(p, set.rowBytes.back()));
        }
        return set;
    }();
    static const PictureSet real = [] {
        PictureSet set;
        namespace fs = std::filesystem;
        std::error_code ec;
        for (const char* folder : {"../shared/real-samples", "../shared/real-samples/more"}) {
            for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
                if (!it->is_regular_file())
                    continue;
                const Decoded d = decodeFile(it->path(), {});
                if (!d.accepted)
                    continue;
                set.rowBytes.push_back(0);
                set.raw.push_back(packedRows(d.picture, set.rowBytes.back()));
            }
        }
        return set;
    }();
    return which == 0 ? koala : real;
}

void report(benchmark::State& state, double bytes, std::size_t pictures) {
    state.counters["mean_png_bytes"] =
        pictures ? bytes / static_cast<double>(pictures) + kPngFrameBytes : 0;
    state.counters["us_per_picture"] = benchmark::Counter(
        static_cast<double>(pictures) * static_cast<double>(state.iterations()) / 1e6,
        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Args: level, strategy (0 default, 1 filtered, 2 Huffman only, 3 RLE).
void BM_PngDeflateZlib(benchmark::State& state) {
    const auto& pictures = pictureSet(0).raw;
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
    report(state, bytes, pictures.size());
}
BENCHMARK(BM_PngDeflateZlib)
    ->ArgsProduct({{1, 3, 6, 9}, {0}})
    ->ArgsProduct({{1, 6, 9}, {1}})
    ->ArgsProduct({{6}, {2, 3}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// Args: libdeflate's level (1..12), row filter (as filtered()), set (as pictureSet()).
void BM_PngDeflateLibdeflate(benchmark::State& state) {
    const PictureSet& set = pictureSet(static_cast<int>(state.range(2)));
    std::vector<std::vector<std::uint8_t>> pictures;
    for (std::size_t i = 0; i < set.raw.size(); ++i)
        pictures.push_back(filtered(set.raw[i], set.rowBytes[i], static_cast<int>(state.range(1))));
    libdeflate_compressor* c = libdeflate_alloc_compressor(static_cast<int>(state.range(0)));
    std::vector<std::uint8_t> out(libdeflate_zlib_compress_bound(c, 80000));
    double bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        for (const auto& raw : pictures)
            bytes += static_cast<double>(
                libdeflate_zlib_compress(c, raw.data(), raw.size(), out.data(), out.size()));
    }
    libdeflate_free_compressor(c);
    report(state, bytes, pictures.size());
}
BENCHMARK(BM_PngDeflateLibdeflate)
    ->ArgsProduct({{1, 2, 3, 4, 5, 6, 7, 8, 9, 12}, {0}, {0, 1}})
    ->ArgsProduct({{1, 4, 6, 9}, {1, 2, 4, 5}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

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

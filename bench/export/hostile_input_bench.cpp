// Hostile inputs, built here: what reading them costs now that every read is bounded by
// what a real file holds. PC pictures: a progressive JPEG of 10,000 scans (refused after
// 100), a 40-frame GIF of 4096 x 4096 (its first frame read). Disk and tape images: a T64 of
// 65,535 entries sharing one 14 MB block, one of 65,535 separate entries, a D81 whose
// directory of 12,800 entries runs through the whole disk, every entry on one chain; each
// opened and every entry's picture looked for, as the viewer lists them.
#include <benchmark/benchmark.h>

// jpeglib.h needs FILE and size_t declared first.
#include <cstddef>
#include <cstdio>

#include <gif_lib.h>
#include <jpeglib.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "decode/disk_pictures.h"
#include "export/pc_image_reader.h"

namespace {

using namespace quendra;
using Bytes = std::vector<std::uint8_t>;

// A flat grey progressive JPEG of 1024 x 1024 whose last scan is repeated to `scans`.
Bytes manyScans(int scans) {
    jpeg_compress_struct c{};
    jpeg_error_mgr errors{};
    c.err = jpeg_std_error(&errors);
    jpeg_create_compress(&c);
    unsigned char* data = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &data, &size);
    c.image_width = c.image_height = 1024;
    c.input_components = 1;
    c.in_color_space = JCS_GRAYSCALE;
    jpeg_set_defaults(&c);
    jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
    std::vector<JSAMPLE> line(1024, 128);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = line.data();
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    Bytes file(data, data + size - 2); // without its end marker
    std::free(data);
    std::size_t last = 0;
    for (std::size_t i = 0; i + 1 < file.size(); ++i)
        last = file[i] == 0xFF && file[i + 1] == 0xDA ? i : last;
    const Bytes scan(file.begin() + static_cast<std::ptrdiff_t>(last), file.end());
    for (int i = 0; i < scans; ++i)
        file.insert(file.end(), scan.begin(), scan.end());
    file.push_back(0xFF);
    file.push_back(0xD9);
    return file;
}

int writeTo(GifFileType* gif, const GifByteType* bytes, int count) {
    auto* out = static_cast<Bytes*>(gif->UserData);
    out->insert(out->end(), bytes, bytes + count);
    return count;
}

Bytes manyFrames(int side, int frames) {
    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, writeTo, &error);
    GifColorType colours[2] = {{0, 0, 0}, {255, 255, 255}};
    ColorMapObject* map = GifMakeMapObject(2, colours);
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, side, side, 1, 0, map);
    std::vector<GifPixelType> row(static_cast<std::size_t>(side), 1);
    for (int f = 0; f < frames; ++f) {
        EGifPutImageDesc(gif, 0, 0, side, side, false, nullptr);
        for (int y = 0; y < side; ++y)
            EGifPutLine(gif, row.data(), side);
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

void put(Bytes& b, std::size_t at, std::uint32_t value, int bytes) {
    for (int k = 0; k < bytes; ++k)
        b[at + k] = static_cast<std::uint8_t>(value >> (8 * k));
}

// A T64 of `count` entries at $0801 with a wrong end address; entry i's data at offsetOf(i).
template <typename Offset> Bytes tape(std::size_t count, std::size_t data, Offset offsetOf) {
    Bytes t(64 + 32 * count + data, 0x5A);
    std::memcpy(t.data(), "C64 tape image file", 19);
    put(t, 0x22, static_cast<std::uint32_t>(count), 2);
    put(t, 0x24, static_cast<std::uint32_t>(count), 2);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t e = 64 + 32 * i;
        t[e] = 1;
        t[e + 1] = 0x82;
        put(t, e + 2, 0x0801, 2);
        put(t, e + 4, 0x0801, 2);
        put(t, e + 8, static_cast<std::uint32_t>(offsetOf(i)), 4);
    }
    return t;
}

Bytes crossLinkedD81() {
    Bytes d(819200, 0x5A);
    auto at = [&](int t, int s) { return static_cast<std::size_t>((t - 1) * 40 + s) * 256; };
    d[at(40, 0)] = 41;
    d[at(40, 0) + 1] = 0;
    for (int n = 0; n < 1600; ++n) {
        const std::size_t o = at(41 + n / 40, n % 40);
        d[o] = n + 1 < 1600 ? static_cast<std::uint8_t>(41 + (n + 1) / 40) : 0;
        d[o + 1] = static_cast<std::uint8_t>((n + 1) % 40);
        for (int slot = 0; slot < 8; ++slot) {
            d[o + slot * 32 + 2] = 0x82;
            d[o + slot * 32 + 3] = 1;
            d[o + slot * 32 + 4] = 0;
        }
    }
    for (int n = 0; n < 1560; ++n) {
        const std::size_t o = at(1 + n / 40, n % 40);
        d[o] = n + 1 < 1560 ? static_cast<std::uint8_t>(1 + (n + 1) / 40) : 0;
        d[o + 1] = static_cast<std::uint8_t>(n + 1 < 1560 ? (n + 1) % 40 : 0xFF);
    }
    return d;
}

void readPicture(benchmark::State& state, const Bytes& file) {
    Image out;
    for (auto _ : state)
        benchmark::DoNotOptimize(readPcPicture(file, out));
}

void openEveryEntry(benchmark::State& state, const Bytes& image, const char* name) {
    for (auto _ : state) {
        const OpenedDisk opened = openDiskImage(image, name);
        int pictures = 0;
        for (const DiskEntry& entry : opened.image->entries())
            pictures += decodeEntry(*opened.image, entry, {}).format != nullptr;
        benchmark::DoNotOptimize(pictures);
    }
}

void BM_JpegOf10000Scans(benchmark::State& state) {
    readPicture(state, manyScans(10000));
}
BENCHMARK(BM_JpegOf10000Scans)->Unit(benchmark::kMillisecond);

void BM_GifOf40Frames4096(benchmark::State& state) {
    readPicture(state, manyFrames(4096, 40));
}
BENCHMARK(BM_GifOf40Frames4096)->Unit(benchmark::kMillisecond);

void BM_T64OfSharedEntries(benchmark::State& state) {
    const std::size_t start = 64 + 32 * 65535;
    openEveryEntry(state, tape(65535, (16u << 20) - start, [&](std::size_t) { return start; }),
                   "shared.t64");
}
BENCHMARK(BM_T64OfSharedEntries)->Unit(benchmark::kMillisecond);

void BM_T64OfSeparateEntries(benchmark::State& state) {
    const std::size_t start = 64 + 32 * 65535;
    openEveryEntry(state, tape(65535, 16 * 65535, [&](std::size_t i) { return start + 16 * i; }),
                   "separate.t64");
}
BENCHMARK(BM_T64OfSeparateEntries)->Unit(benchmark::kMillisecond);

void BM_D81OfCrossLinkedEntries(benchmark::State& state) {
    openEveryEntry(state, crossLinkedD81(), "crossed.d81");
}
BENCHMARK(BM_D81OfCrossLinkedEntries)->Unit(benchmark::kMillisecond);

} // namespace

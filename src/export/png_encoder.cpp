#include "export/png_encoder.h"

#include <libdeflate.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "export/used_colours.h"

namespace quendra {

namespace {

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
constexpr std::uint8_t kPaletteColourType = 3;

// Adam7's seven passes: first column and row, and the steps between them.
struct Pass {
    int x0, y0, dx, dy;
};
constexpr Pass kAdam7[7] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                            {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};

void putBig32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    const std::uint8_t b[4] = {static_cast<std::uint8_t>(v >> 24),
                               static_cast<std::uint8_t>(v >> 16),
                               static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)};
    out.insert(out.end(), b, b + 4);
}

// A chunk's length, type and data are in place from `start` on; appends its CRC and
// patches its length.
void closeChunk(std::vector<std::uint8_t>& out, std::size_t start) {
    const std::size_t length = out.size() - start - 8;
    for (int i = 0; i < 4; ++i)
        out[start + i] = static_cast<std::uint8_t>(length >> (24 - 8 * i));
    const std::uint32_t crc = libdeflate_crc32(0, out.data() + start + 4, length + 4);
    putBig32(out, crc);
}

std::size_t openChunk(std::vector<std::uint8_t>& out, const char (&type)[5]) {
    const std::size_t start = out.size();
    putBig32(out, 0);
    out.insert(out.end(), type, type + 4);
    return start;
}

} // namespace

struct PngEncoder::State {
    PngSettings settings;
    libdeflate_compressor* compressor = nullptr; // null when memory ran out
    UsedColours used;
    std::vector<std::uint8_t> raw;  // filter byte plus packed pixels, row after row
    std::vector<std::uint8_t> pass; // one row of an interlace pass, unpacked

    void appendRow(const std::uint8_t* indices, int width, int bits) {
        const std::size_t rowBytes = (static_cast<std::size_t>(width) * bits + 7) / 8;
        raw.push_back(0); // filter: none
        raw.resize(raw.size() + rowBytes);
        packRow(indices, width, used, bits, raw.data() + raw.size() - rowBytes);
    }

    ~State() { libdeflate_free_compressor(compressor); }
};

PngEncoder::PngEncoder(const PngSettings& settings) : state_(std::make_unique<State>()) {
    state_->settings = settings;
    state_->compressor = libdeflate_alloc_compressor(std::clamp(settings.level, 0, 12));
}

PngEncoder::~PngEncoder() = default;

bool PngEncoder::encode(int width, int height, std::span<const std::uint8_t> indices,
                        std::span<const Rgb> palette, std::vector<std::uint8_t>& out) {
    State& s = *state_;
    out.clear();
    if (!s.compressor || width <= 0 || height <= 0 ||
        indices.size() < static_cast<std::size_t>(width) * height) {
        return false;
    }
    findUsedColours(indices.first(static_cast<std::size_t>(width) * height), palette, s.used);
    const int bits = s.settings.fewestBits ? bitsForColours(s.used.count) : 8;
    try {
        s.raw.clear();
        if (!s.settings.interlaced) {
            for (int y = 0; y < height; ++y)
                s.appendRow(indices.data() + static_cast<std::size_t>(width) * y, width, bits);
        } else {
            for (const Pass& p : kAdam7) {
                const int passWidth = (width - p.x0 + p.dx - 1) / p.dx;
                if (passWidth <= 0)
                    continue;
                s.pass.resize(static_cast<std::size_t>(passWidth));
                for (int y = p.y0; y < height; y += p.dy) {
                    const std::uint8_t* row = indices.data() + static_cast<std::size_t>(width) * y;
                    for (int i = 0; i < passWidth; ++i)
                        s.pass[static_cast<std::size_t>(i)] = row[p.x0 + i * p.dx];
                    s.appendRow(s.pass.data(), passWidth, bits);
                }
            }
        }

        out.insert(out.end(), kSignature, kSignature + 8);
        std::size_t chunk = openChunk(out, "IHDR");
        putBig32(out, static_cast<std::uint32_t>(width));
        putBig32(out, static_cast<std::uint32_t>(height));
        // deflate, standard filters, interlaced (Adam7) or not
        const std::uint8_t header[5] = {static_cast<std::uint8_t>(bits), kPaletteColourType, 0, 0,
                                        static_cast<std::uint8_t>(s.settings.interlaced ? 1 : 0)};
        out.insert(out.end(), header, header + 5);
        closeChunk(out, chunk);

        chunk = openChunk(out, "PLTE");
        for (int i = 0; i < s.used.count; ++i) {
            const Rgb c = s.used.colours[i];
            out.insert(out.end(), {c.r, c.g, c.b});
        }
        closeChunk(out, chunk);

        chunk = openChunk(out, "IDAT");
        const std::size_t bound = libdeflate_zlib_compress_bound(s.compressor, s.raw.size());
        const std::size_t dataStart = out.size();
        out.resize(dataStart + bound + 12 + 12); // room for the CRC and IEND as well
        const std::size_t packed = libdeflate_zlib_compress(
            s.compressor, s.raw.data(), s.raw.size(), out.data() + dataStart, bound);
        if (packed == 0)
            return false;
        out.resize(dataStart + packed);
        closeChunk(out, chunk);

        chunk = openChunk(out, "IEND");
        closeChunk(out, chunk);
    } catch (const std::bad_alloc&) {
        out.clear();
        return false;
    }
    return true;
}

std::vector<std::uint8_t> encodePng(const IndexedImage& picture, const PngSettings& settings) {
    std::vector<std::uint8_t> out;
    PngEncoder encoder(settings);
    if (!encoder.encode(picture, out))
        out.clear();
    return out;
}

} // namespace quendra

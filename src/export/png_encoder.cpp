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
    std::vector<std::uint8_t> raw; // filter byte plus packed pixels, row after row

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
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * bits + 7) / 8;
    try {
        s.raw.resize((rowBytes + 1) * height);
        for (int y = 0; y < height; ++y) {
            std::uint8_t* row = s.raw.data() + (rowBytes + 1) * y;
            row[0] = 0; // filter: none
            packRow(indices.data() + static_cast<std::size_t>(width) * y, width, s.used, bits,
                    row + 1);
        }

        out.insert(out.end(), kSignature, kSignature + 8);
        std::size_t chunk = openChunk(out, "IHDR");
        putBig32(out, static_cast<std::uint32_t>(width));
        putBig32(out, static_cast<std::uint32_t>(height));
        const std::uint8_t header[5] = {static_cast<std::uint8_t>(bits), kPaletteColourType, 0, 0,
                                        0}; // deflate, standard filters, not interlaced
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

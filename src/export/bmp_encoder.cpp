#include "export/bmp_encoder.h"

#include "export/used_colours.h"

namespace quendra {

namespace {

constexpr std::uint32_t kFileHeaderBytes = 14;
constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr std::int32_t kPixelsPerMetre = 2925; // what the image library wrote

void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.insert(out.end(), {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)});
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

} // namespace

void encodeBmp(const IndexedImage& picture, std::vector<std::uint8_t>& out) {
    UsedColours used;
    findUsedColours(picture.indices(), picture.palette(), used);
    const int bits = used.count <= 2 ? 1 : used.count <= 16 ? 4 : 8;
    const std::uint32_t entries = 1u << bits;
    const int w = picture.width(), h = picture.height();
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(w) * bits + 31) / 32 * 4;
    const std::uint32_t pixelStart = kFileHeaderBytes + kInfoHeaderBytes + 4 * entries;
    const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(h);

    out.clear();
    out.reserve(pixelStart + imageBytes);
    out.insert(out.end(), {'B', 'M'});
    put32(out, pixelStart + imageBytes);
    put32(out, 0); // reserved
    put32(out, pixelStart);

    put32(out, kInfoHeaderBytes);
    put32(out, static_cast<std::uint32_t>(w));
    put32(out, static_cast<std::uint32_t>(h)); // positive: bottom row first
    put16(out, 1);                             // planes
    put16(out, static_cast<std::uint32_t>(bits));
    put32(out, 0); // no compression
    put32(out, imageBytes);
    put32(out, kPixelsPerMetre);
    put32(out, kPixelsPerMetre);
    put32(out, entries); // colours used
    put32(out, entries); // important colours

    for (std::uint32_t i = 0; i < entries; ++i) {
        const Rgb c = i < static_cast<std::uint32_t>(used.count) ? used.colours[i] : Rgb{};
        out.insert(out.end(), {c.b, c.g, c.r, 0});
    }
    out.resize(pixelStart + imageBytes, 0);
    for (int y = 0; y < h; ++y) {
        std::uint8_t* row =
            out.data() + pixelStart + rowBytes * static_cast<std::uint32_t>(h - 1 - y);
        packRow(picture.row(y), w, used.slot, bits, row);
    }
}

} // namespace quendra

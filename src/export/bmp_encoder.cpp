#include "export/bmp_encoder.h"

#include "export/used_colours.h"

namespace quendra {

namespace {

constexpr std::uint32_t kFileHeaderBytes = 14;
constexpr std::uint32_t kInfoHeaderBytes = 40;
constexpr std::int32_t kPixelsPerMetre = 2925; // what the image library wrote
constexpr std::uint32_t kRunLength8 = 1;

void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.insert(out.end(), {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)});
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, v & 0xffff);
    put16(out, v >> 16);
}

// An 8-bit row as runs of 1 to 255 equal bytes (count, value), then the end of the line.
void appendRunLengthRow(const std::uint8_t* row, std::size_t length,
                        std::vector<std::uint8_t>& out) {
    for (std::size_t x = 0; x < length;) {
        std::size_t run = 1;
        while (x + run < length && run < 255 && row[x + run] == row[x])
            ++run;
        out.insert(out.end(), {static_cast<std::uint8_t>(run), row[x]});
        x += run;
    }
    out.insert(out.end(), {0, 0});
}

} // namespace

void encodeBmp(const IndexedImage& picture, std::vector<std::uint8_t>& out) {
    UsedColours used;
    findUsedColours(picture.indices(), picture.palette(), used);
    const int bits = used.count <= 2 ? 1 : used.count <= 16 ? 4 : 8;
    const bool runLength = bits == 8; // as the image library wrote 8-bit files
    const std::uint32_t entries = 1u << bits;
    const int w = picture.width(), h = picture.height();
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(w) * bits + 31) / 32 * 4;
    const std::uint32_t pixelStart = kFileHeaderBytes + kInfoHeaderBytes + 4 * entries;

    out.clear();
    out.insert(out.end(), {'B', 'M'});
    put32(out, 0); // the file's size, below
    put32(out, 0); // reserved
    put32(out, pixelStart);

    put32(out, kInfoHeaderBytes);
    put32(out, static_cast<std::uint32_t>(w));
    put32(out, static_cast<std::uint32_t>(h)); // positive: bottom row first
    put16(out, 1);                             // planes
    put16(out, static_cast<std::uint32_t>(bits));
    put32(out, runLength ? kRunLength8 : 0);
    put32(out, 0); // the pixels' size, below
    put32(out, kPixelsPerMetre);
    put32(out, kPixelsPerMetre);
    put32(out, entries); // colours used
    put32(out, entries); // important colours

    for (std::uint32_t i = 0; i < entries; ++i) {
        const Rgb c = i < static_cast<std::uint32_t>(used.count) ? used.colours[i] : Rgb{};
        out.insert(out.end(), {c.b, c.g, c.r, 0});
    }
    if (runLength) {
        std::uint8_t line[4096] = {}; // wider than any picture the readers draw
        std::vector<std::uint8_t> wide;
        std::uint8_t* row = line;
        if (rowBytes > sizeof line) {
            wide.resize(rowBytes);
            row = wide.data();
        }
        for (int y = h - 1; y >= 0; --y) {
            packRow(picture.row(y), w, used.slot, bits, row);
            appendRunLengthRow(row, rowBytes, out);
        }
        out.insert(out.end(), {0, 1}); // the end of the picture
    } else {
        out.resize(pixelStart + rowBytes * static_cast<std::uint32_t>(h), 0);
        for (int y = 0; y < h; ++y) {
            std::uint8_t* row =
                out.data() + pixelStart + rowBytes * static_cast<std::uint32_t>(h - 1 - y);
            packRow(picture.row(y), w, used.slot, bits, row);
        }
    }
    auto patch32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    patch32(2, static_cast<std::uint32_t>(out.size()));
    patch32(34, static_cast<std::uint32_t>(out.size() - pixelStart));
}

} // namespace quendra

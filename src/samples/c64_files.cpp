#include "samples/c64_files.h"

#include <algorithm>

namespace quendra::samples {

CellPicture testPattern(unsigned seed) {
    CellPicture p;
    for (int n = 0; n < 1000; ++n) {
        const int row = n / 40, col = n % 40;
        for (int k = 0; k < 8; ++k) {
            // Bit pairs 00 01 10 11 in turn, shifted by line and cell, so every cell
            // shows all four colours and hires cells show both.
            const unsigned v = (static_cast<unsigned>(k + col + row) + seed) % 4;
            const std::uint8_t pairs[4] = {0x1B, 0x6C, 0xB1, 0xC6};
            p.bitmap[8 * n + k] = static_cast<std::uint8_t>(pairs[v] ^ ((k == 7) ? 0xF0 : 0));
        }
        p.screen[n] = static_cast<std::uint8_t>(((col + seed) % 16) << 4 | ((row + 3) % 16));
        p.colour[n] = static_cast<std::uint8_t>((col + row + 7 + seed) % 16);
    }
    p.background = static_cast<std::uint8_t>(6 + seed % 10);
    return p;
}

namespace {

ByteVector withLoadAddress(std::uint16_t address, std::span<const std::uint8_t> body) {
    ByteVector f{static_cast<std::uint8_t>(address & 0xFF),
                 static_cast<std::uint8_t>(address >> 8)};
    f.insert(f.end(), body.begin(), body.end());
    return f;
}

} // namespace

ByteVector koalaData(const CellPicture& p) {
    ByteVector d(p.bitmap.begin(), p.bitmap.end());
    d.insert(d.end(), p.screen.begin(), p.screen.end());
    d.insert(d.end(), p.colour.begin(), p.colour.end());
    d.push_back(p.background);
    return d;
}

ByteVector makeKoala(const CellPicture& p, bool padded) {
    ByteVector f = withLoadAddress(0x6000, koalaData(p));
    if (padded)
        f.insert(f.end(), {0, 0, 0});
    return f;
}

ByteVector compressRuns(std::span<const std::uint8_t> data, RunFormat format) {
    ByteVector out;
    std::size_t i = 0;
    while (i < data.size()) {
        const std::uint8_t v = data[i];
        std::size_t run = 1;
        while (i + run < data.size() && run < 255 && data[i + run] == v)
            ++run;
        if (run >= 4 || v == format.escape) {
            const auto n = static_cast<std::uint8_t>(run);
            if (format.countFirst) {
                out.insert(out.end(), {format.escape, n, v});
            } else {
                out.insert(out.end(), {format.escape, v, n});
            }
        } else {
            out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(i),
                       data.begin() + static_cast<std::ptrdiff_t>(i + run));
        }
        i += run;
    }
    return out;
}

ByteVector makeKoalaCompressed(const CellPicture& p) {
    return withLoadAddress(0x6000, compressRuns(koalaData(p), kKoalaRuns));
}

ByteVector makeAmica(const CellPicture& p) {
    ByteVector f = withLoadAddress(0x4000, compressRuns(koalaData(p), kAmicaRuns));
    f.insert(f.end(), {0xC2, 0x00});
    return f;
}

ByteVector makeArtStudio(const CellPicture& p) {
    ByteVector f = withLoadAddress(0x2000, p.bitmap);
    f.insert(f.end(), p.screen.begin(), p.screen.end());
    f.push_back(0);
    f.push_back(p.background);
    f.insert(f.end(), 14, 0);
    f.insert(f.end(), p.colour.begin(), p.colour.end());
    return f;
}

ByteVector makeArtStudioHires(const CellPicture& p) {
    ByteVector f = withLoadAddress(0x2000, p.bitmap);
    f.insert(f.end(), p.screen.begin(), p.screen.end());
    f.insert(f.end(), 7, 0);
    return f;
}

ByteVector doodleData(const CellPicture& p) {
    ByteVector d(p.screen.begin(), p.screen.end());
    d.insert(d.end(), 24, 0);
    d.insert(d.end(), p.bitmap.begin(), p.bitmap.end());
    return d;
}

ByteVector makeDoodle(const CellPicture& p, std::uint16_t loadAddress, bool tail) {
    ByteVector f = withLoadAddress(loadAddress, doodleData(p));
    if (tail)
        f.insert(f.end(), 192, 0);
    return f;
}

ByteVector makeDoodleCompressed(const CellPicture& p) {
    return withLoadAddress(0x5C00, compressRuns(doodleData(p), kDoodleRuns));
}

} // namespace quendra::samples

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

ByteVector makeKoala(const CellPicture& p, bool padded) {
    ByteVector f{0x00, 0x60};
    f.insert(f.end(), p.bitmap.begin(), p.bitmap.end());
    f.insert(f.end(), p.screen.begin(), p.screen.end());
    f.insert(f.end(), p.colour.begin(), p.colour.end());
    f.push_back(p.background);
    if (padded) f.insert(f.end(), {0, 0, 0});
    return f;
}

}  // namespace quendra::samples

// Builders of C64 picture files from their parts, for tests, fuzz seeds and samples.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace quendra::samples {

using ByteVector = std::vector<std::uint8_t>;

// The four memories of a multicolour or hires picture (cell order).
struct CellPicture {
    std::array<std::uint8_t, 8000> bitmap{};
    std::array<std::uint8_t, 1000> screen{};
    std::array<std::uint8_t, 1000> colour{};
    std::uint8_t background = 0;
};

// A picture with something in every cell: stripes of all four bit pairs, every colour.
CellPicture testPattern(unsigned seed = 0);

// Koala Painter: $6000, bitmap, screen, colour, background (10003 bytes; 10006 with `padded`).
ByteVector makeKoala(const CellPicture& p, bool padded = false);

}  // namespace quendra::samples

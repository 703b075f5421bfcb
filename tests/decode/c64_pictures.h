// Pictures and checks shared by the tests of the C64 paint-program readers.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "decode/image.h"
#include "decode/palette.h"
#include "samples/c64_files.h"

namespace quendra::testing {

using samples::ByteVector;
using samples::CellPicture;

// Large plain areas (so the compressors write long runs, also across the memories'
// borders), both escape bytes as data, and a little detail in the middle and the corners.
inline CellPicture blockyPicture() {
    CellPicture p;
    for (int n = 0; n < 1000; ++n) {
        const bool inside = n / 40 >= 8 && n / 40 < 16 && n % 40 >= 10 && n % 40 < 30;
        for (int k = 0; k < 8; ++k) {
            p.bitmap[8 * n + k] = inside ? static_cast<std::uint8_t>(0x1B + 37 * k + n) : 0x00;
        }
        p.screen[n] = inside ? 0x52 : 0x00;
        p.colour[n] = inside ? 0x07 : 0x00;
    }
    p.bitmap[0] = 0xFE;
    p.bitmap[1] = 0xC2;
    p.bitmap[2] = 0xFE;
    p.bitmap[7999] = 0x88;
    p.screen[999] = 0xFE;
    p.colour[999] = 0xC2;
    p.background = 0x0E;
    return p;
}

// `p` with every byte `value` replaced, so that its data can be stored as plain literals.
inline CellPicture without(CellPicture p, std::uint8_t value) {
    const auto replace = [value](std::uint8_t& b) {
        if (b == value)
            b = static_cast<std::uint8_t>(value ^ 0x11);
    };
    std::ranges::for_each(p.bitmap, replace);
    std::ranges::for_each(p.screen, replace);
    std::ranges::for_each(p.colour, replace);
    replace(p.background);
    return p;
}

inline Rgb c64(int n) {
    return kC64Palette[n];
}

// The pixels of one line of a cell, left to right.
inline std::vector<Rgb> cellLine(const Image& image, int cell, int line) {
    std::vector<Rgb> pixels;
    for (int x = 0; x < 8; ++x)
        pixels.push_back(image.pixel(8 * (cell % 40) + x, 8 * (cell / 40) + line));
    return pixels;
}

inline std::vector<Rgb> repeated(Rgb c, int n = 8) {
    return std::vector<Rgb>(n, c);
}

// Appends bytes to a file under construction.
inline void append(ByteVector& file, std::initializer_list<std::uint8_t> bytes) {
    file.insert(file.end(), bytes);
}
inline void append(ByteVector& file, const ByteVector& bytes) {
    file.insert(file.end(), bytes.begin(), bytes.end());
}

} // namespace quendra::testing

// The colours a palette picture uses, as the PC formats' writers store them: each colour
// once, in the order of the indices that first name it. No allocation: a batch converter
// calls this for every file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "decode/image.h"

namespace quendra {

struct UsedColours {
    std::array<Rgb, 256> colours{};
    int count = 0;                        // 1 or more (black for a picture without pixels)
    std::array<std::uint8_t, 256> slot{}; // where each picture index went in `colours`
    // Every index the picture uses is below 16 and went to the slot of its own number.
    bool keepsIndices = false;
};

// An index beyond the palette draws black, as everywhere else.
void findUsedColours(std::span<const std::uint8_t> indices, std::span<const Rgb> palette,
                     UsedColours& out);

// Bits per pixel that hold `colours` palette entries: 1, 2, 4 or 8.
int bitsForColours(std::size_t colours);

// A row of `width` picture indices as `slot` entries packed `bits` to the byte, leftmost
// pixel in the highest bits; the last byte's unused low bits are 0. Writes
// (width * bits + 7) / 8 bytes.
void packRow(const std::uint8_t* indices, int width, const std::array<std::uint8_t, 256>& slot,
             int bits, std::uint8_t* out);

// The same with the slots of `used`; rows of indices that keep their numbers at 4 bits a
// pixel are packed without lookups, eight pixels at a time.
void packRow(const std::uint8_t* indices, int width, const UsedColours& used, int bits,
             std::uint8_t* out);

} // namespace quendra

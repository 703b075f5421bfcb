// The blend palette of interlaced (IFLI) pictures: 256 premixed colours, one for every
// pair of C64 colours that the two frames show at the same pixel.
#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "decode/image.h"
#include "decode/palette.h"

namespace quendra {

// The position of a pair in the blend palette: the GoDot index (dark to light) of the first
// frame's colour in the high nibble, that of the second frame's in the low nibble. Takes
// C64 colour numbers; only their low four bits count.
constexpr std::uint8_t blendFirst(std::uint8_t first) {
    return static_cast<std::uint8_t>(kGodotIndexOfC64[first & 15] << 4);
}
constexpr std::uint8_t blendSecond(std::uint8_t second) {
    return kGodotIndexOfC64[second & 15];
}
constexpr std::uint8_t blendPosition(std::uint8_t first, std::uint8_t second) {
    return blendFirst(first) | blendSecond(second);
}

// By blend position. Two equal colours give exactly that C64 colour.
std::span<const Rgb, 256> blendPalette();

} // namespace quendra

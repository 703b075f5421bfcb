// The pixel aspect of a PNG file: a pHYs chunk (pixels per unit across and down, unit 0:
// only their ratio counts), which viewers use to show the picture in its true proportions.
#pragma once

#include <cstdint>
#include <vector>

namespace quendra {

// A PAL C64 pixel is narrower than tall: the VIC-II shows 7.881984 million pixels a second
// across, a square-pixel PAL picture 7.375 million (half of 14.75 MHz, since each C64 line
// is two lines of the interlaced picture). Width : height = 7375000 : 7881984, about 0.936.
inline constexpr std::uint32_t kPalPixelsAcross = 7881984;
inline constexpr std::uint32_t kPalPixelsDown = 7375000;

// Inserts a pHYs chunk right after the IHDR chunk of `png` (replacing none: the encoders
// write none). False, with `png` unchanged, when it does not start with a PNG signature and
// an IHDR chunk.
bool addPixelAspect(std::vector<std::uint8_t>& png, std::uint32_t pixelsAcross,
                    std::uint32_t pixelsDown);

} // namespace quendra

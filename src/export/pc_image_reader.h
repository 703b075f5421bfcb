// PC pictures read as RGB, for writing them as C64 files: PNG (libpng), GIF (giflib, the
// first frame), BMP (uncompressed, 1 to 32 bits) and JPEG (libjpeg-turbo). The bytes'
// first bytes decide, not the name.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "decode/image.h"

namespace quendra {

// Whether a file name's extension names one of the PC pictures read here (any case):
// .png .gif .bmp .jpg .jpeg.
bool isPcPictureName(std::string_view fileName);

// The largest picture read, in pixels (a 64-megapixel photo): more is refused.
inline constexpr std::uint64_t kPcPictureMaxPixels = 64u << 20;

// The most bytes of a PC picture file read.
inline constexpr std::size_t kPcPictureReadLimit = 256u << 20;

// `out` gets the picture; empty, or why not (for people).
std::string readPcPicture(std::span<const std::uint8_t> bytes, Image& out);

} // namespace quendra

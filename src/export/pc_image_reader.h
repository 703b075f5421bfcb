// PC pictures read as RGB, for writing them as C64 files: PNG (libpng), GIF (giflib, the
// first frame only), BMP (uncompressed, 1 to 32 bits) and JPEG (libjpeg-turbo; CMYK and
// YCCK turned into RGB). The bytes' first bytes decide, not the name. Data that ends before
// the picture is complete is refused, and so is one that would cost far more than its
// picture (a JPEG of thousands of scans, a huge progressive JPEG).
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

// A bound of pixels for people: "64 megapixels" (of 2^20 pixels), else "N pixels".
std::string pixelBoundText(std::uint64_t maxPixels);

// The most bytes of a PC picture file read.
inline constexpr std::size_t kPcPictureReadLimit = 256u << 20;

// The most scans a progressive JPEG may have: the usual scripts make 10 (6 for grey), tuned
// encoders a few dozen; a file of thousands of empty scans only costs time.
inline constexpr int kJpegMaxScans = 100;

// The most memory libjpeg may take for one picture beside the picture itself (a progressive
// picture's coefficients: 2 to 6 bytes a pixel).
inline constexpr std::size_t kJpegWorkingMemory = 128u << 20;

// `out` gets the picture; empty, or why not (for people). A picture of more than
// `maxPixels` is refused before it is decoded.
std::string readPcPicture(std::span<const std::uint8_t> bytes, Image& out,
                          std::uint64_t maxPixels = kPcPictureMaxPixels);

} // namespace quendra

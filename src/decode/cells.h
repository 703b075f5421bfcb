// The C64 bitmap cell model: 40 x 25 cells of 8 x 8 pixels.
//
// bitmap: 8 bytes a cell in cell order (cell n = 40 * row + column), byte 8n + k is
// pixel line k of cell n, bit 7 the leftmost pixel. screen: a byte a cell, two colour
// numbers in its nibbles. colour: a byte a cell, low nibble used. Both decodings write
// C64 colour numbers (0..15) as indices into a 320 x 200 picture, which must be that size.
#pragma once

#include <cstdint>
#include <span>

#include "decode/image.h"

namespace quendra {

inline constexpr int kCellColumns = 40;
inline constexpr int kCellRows = 25;
inline constexpr std::size_t kBitmapBytes = 8000;
inline constexpr std::size_t kScreenBytes = 1000;

using Bitmap = std::span<const std::uint8_t, kBitmapBytes>;
using CellBytes = std::span<const std::uint8_t, kScreenBytes>;

// A set bit takes the screen byte's high nibble, a clear bit its low nibble.
void decodeHires(IndexedImage& out, Bitmap bitmap, CellBytes screen);

// Bit pairs, leftmost pair in bits 7-6, each two pixels wide:
// 00 background, 01 screen high nibble, 10 screen low nibble, 11 colour memory low nibble.
void decodeMulticolour(IndexedImage& out, Bitmap bitmap, CellBytes screen, CellBytes colour,
                       std::uint8_t background);

// The Koala memory layout after the load address: bitmap (8000), screen memory (1000),
// colour memory (1000), background (1). Koala, Koala compressed and Amica Paint share it.
inline constexpr std::size_t kKoalaDataBytes = 10001;
void decodeKoalaLayout(IndexedImage& out, std::span<const std::uint8_t, kKoalaDataBytes> data);

// Advanced Art Studio's memory layout after the load address: bitmap (8000), screen memory
// (1000), border (1, not shown), background (1), 14 unused bytes, colour memory (1000).
// Art Studio's multicolour .ocp and .mpic share it.
inline constexpr std::size_t kAdvancedArtStudioDataBytes = 10016;
void decodeAdvancedArtStudioLayout(IndexedImage& out,
                                   std::span<const std::uint8_t, kAdvancedArtStudioDataBytes> data);

// Hires FLI: eight screens, each in a 1024-byte block; pixel line y takes its cell colours
// from screen y & 7. Draws all 320 x 200 pixels, the 24 the machine cannot show at the
// left of every line included (a reader that leaves them out cuts them off).
inline constexpr std::size_t kFliScreenBlock = 1024;
inline constexpr std::size_t kFliScreensBytes = 8 * kFliScreenBlock;
using FliScreens = std::span<const std::uint8_t, kFliScreensBytes>;
void decodeHiresFli(IndexedImage& out, Bitmap bitmap, FliScreens screens);

} // namespace quendra

// Builders of GoDot 4Bit files from palette indices, for tests, fuzz seeds and samples.
// They write literal data only (no runs), so they stand apart from the writer's compression.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "decode/image.h"

namespace quendra::samples {

using ByteVector = std::vector<std::uint8_t>;

// GoDot indices with something in every cell: every index, solid cells (runs when
// compressed) and lines of index 10 beside index 13 (the byte 0xAD). In the GoDot palette.
IndexedImage godotTestPattern(int width = 320, int height = 200, unsigned seed = 0);

// The expanded cell data of a picture: 32 bytes a cell, cells in file order. Positions
// beyond the picture's edge (sides that are not whole cells) count as index 0.
ByteVector godotCells(const IndexedImage& picture);

// Cell data as items without runs: every byte itself, 0xAD as 0xAD 0x01 0xAD, then the
// lone 0xAD that ends a file.
ByteVector godotLiterals(std::span<const std::uint8_t> cells);

// "GOD0" followed by `data`, as it stands.
ByteVector makeGodotPicture(std::span<const std::uint8_t> data);

// "GOD1", 0, 0, width and height in cells, then `data`, as it stands.
ByteVector makeGodotClip(int columns, int rows, std::span<const std::uint8_t> data);

// A whole file of literal data: a full picture when 320 x 200, else a clip of the cells
// that cover the picture.
ByteVector makeGodot(const IndexedImage& picture);

} // namespace quendra::samples

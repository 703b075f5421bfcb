// GoDot 4Bit: pictures of 4-bit palette indices in 8 x 8 pixel cells, run-length compressed.
//
// Full picture:  "GOD0", then cell data that expands to 40 x 25 cells.
// Clip:          "GOD1", two bytes not interpreted, width and height in cells (one byte
//                each), then cell data that expands to width x height cells.
//
// Cell data items: 0xAD n v is n copies of v (n = 0 stands for 256); any other byte is
// itself once. A byte 0xAD of the picture can only be written as 0xAD 0x01 0xAD. An
// escape byte without two more bytes after it ends the data (writers end every file
// with one).
//
// Expanded, a cell is 32 bytes: 8 lines top to bottom, 4 bytes a line, 2 pixels a byte
// (high nibble left). Cells run left to right along a cell row, cell rows top to bottom.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "decode/decoded.h"

namespace quendra {

inline constexpr std::uint8_t kGodotEscape = 0xAD;
inline constexpr std::size_t kGodotCellBytes = 32;
inline constexpr std::size_t kGodotFullHeaderBytes = 4;
inline constexpr std::size_t kGodotClipHeaderBytes = 8;
inline constexpr int kGodotMaxCells = 255;   // either way, as one header byte holds it
inline constexpr int kGodotFullColumns = 40; // a full picture in cells: 320 x 200 pixels
inline constexpr int kGodotFullRows = 25;
inline constexpr std::size_t kGodotFullDataBytes =
    kGodotCellBytes * kGodotFullColumns * kGodotFullRows;

// Expands cell data into at most `limit` bytes; stops early when the data ends.
std::vector<std::uint8_t> expandGodotData(Bytes data, std::size_t limit);
// The same into `out`, whose storage is reused.
void expandGodotData(Bytes data, std::size_t limit, std::vector<std::uint8_t>& out);

} // namespace quendra

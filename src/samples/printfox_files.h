// Builders of Printfox and Pagefox files from page data, for tests, fuzz seeds and samples.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "samples/c64_files.h"

namespace quendra::samples {

// A page of `columns` x `rows` cells (8 bytes a cell, cell rows top to bottom) with
// something in every cell: patterns, long runs of 0x00 and 0xFF, and the byte 0x9B.
ByteVector printfoxPage(int columns, int rows, unsigned seed = 0);

// Compressed page data: runs of four or more equal bytes, and every 0x9B, become run
// tokens. Screen and large pictures ("B", "G") use 0x9B low high value with counts up to
// 65535; pages ("P") use 0x9B count value with counts up to 256 (stored as 0).
ByteVector printfoxRuns(const ByteVector& page, bool pageRuns);

// The run of 4096 bytes that Printfox writes past the end of a picture.
ByteVector printfoxTrailer();

// "B" + the 8000-byte page compressed (+ the trailer).
ByteVector makePrintfoxScreen(const ByteVector& page, bool trailer = false);
// "G" + the 32000-byte page compressed (+ the trailer).
ByteVector makePrintfoxLarge(const ByteVector& page, bool trailer = false);
// "P", rows, columns, the field and its ending zero, the page compressed.
ByteVector makePagefoxPage(int rows, int columns, const ByteVector& page,
                           std::string_view field = "QUENDRA");

} // namespace quendra::samples

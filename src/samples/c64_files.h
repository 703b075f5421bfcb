// Builders of C64 picture files from their parts, for tests, fuzz seeds and samples.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "decode/rle.h"

namespace quendra::samples {

using ByteVector = std::vector<std::uint8_t>;

// The four memories of a multicolour or hires picture (cell order).
struct CellPicture {
    std::array<std::uint8_t, 8000> bitmap{};
    std::array<std::uint8_t, 1000> screen{};
    std::array<std::uint8_t, 1000> colour{};
    std::uint8_t background = 0;
};

// A picture with something in every cell: stripes of all four bit pairs, every colour.
CellPicture testPattern(unsigned seed = 0);

// Koala Painter: $6000, bitmap, screen, colour, background (10003 bytes; 10006 with `padded`).
ByteVector makeKoala(const CellPicture& p, bool padded = false);

// The 10001 bytes that follow the load address in a Koala file: bitmap, screen, colour,
// background. Koala compressed and Amica Paint compress exactly these.
ByteVector koalaData(const CellPicture& p);

// Run-length data in `format`: runs of four or more equal bytes (at most 255 a token) and
// every escape byte as run tokens, all else as literals. No end marker.
ByteVector compressRuns(std::span<const std::uint8_t> data, RunFormat format);

// Koala compressed: $6000 and koalaData compressed; the background ends the file as a
// literal unless it continues a run.
ByteVector makeKoalaCompressed(const CellPicture& p);

// Amica Paint: $4000, koalaData compressed, then the token 0xC2 0x00 that ends real files.
ByteVector makeAmica(const CellPicture& p);

// Advanced Art Studio (multicolour): $2000, bitmap, screen, 1 unused byte, background,
// 14 unused bytes, colour (10018 bytes). Unused bytes are 0.
ByteVector makeArtStudio(const CellPicture& p);

// Art Studio (hires): $2000, bitmap, screen, 7 unused bytes (9009 bytes).
ByteVector makeArtStudioHires(const CellPicture& p);

// The Doodle screen page and bitmap as they lie in memory: screen (1000), 24 unused
// bytes, bitmap (8000); 9024 bytes. Doodle compressed compresses exactly these.
ByteVector doodleData(const CellPicture& p);

// Doodle: load address, doodleData and, with `tail`, the 192 unused bytes up to $3FFF
// (9218 bytes; 9026 without the tail). Real files mostly load at $5C00.
ByteVector makeDoodle(const CellPicture& p, std::uint16_t loadAddress = 0x5C00, bool tail = true);

// Doodle compressed: $5C00 and doodleData compressed.
ByteVector makeDoodleCompressed(const CellPicture& p);

} // namespace quendra::samples

// The GoDot 4Bit writer: an RGB picture in, the bytes of a "GOD0" full picture (320 x 200)
// or a "GOD1" clip (any other size, in whole 8 x 8 cells) out.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "decode/decoded.h"
#include "decode/image.h"
#include "export/atomic_write.h"

namespace quendra {

struct GodotEncoded {
    bool ok = false;
    std::string error;               // why not, for people (e.g. too many cells)
    std::vector<std::uint8_t> bytes; // the whole file
};

// Maps each pixel to a GoDot index through the colour match table, or the grey match
// table when `grey` is set, and compresses. Reports progress once per cell row:
// start(cell rows - 1), then position(r) after cell row r. A side that is not a multiple
// of 8 is padded with index 0 to whole cells; more than 255 cells either way is refused.
GodotEncoded encodeGodot(const Image& picture, bool grey, Progress* progress = nullptr);

// Working memory a batch keeps between pictures.
struct GodotScratch {
    std::vector<std::uint8_t> cells; // the expanded cells of the picture
    std::vector<std::uint8_t> band;  // one cell row's indices
};

// The same file for a palette picture, each palette entry matched once, into `out`
// (replaced; its storage and `scratch` are reused). Empty on success, else why not.
std::string encodeGodot(const IndexedImage& picture, bool grey, GodotScratch& scratch,
                        std::vector<std::uint8_t>& out);

// Encodes and writes atomically: a failure leaves any existing file untouched.
WriteResult writeGodotFile(const std::filesystem::path& target, const Image& picture, bool grey,
                           Progress* progress = nullptr);

// The 16 colours a pixel is matched against, by GoDot index: the GoDot palette (or its
// grey levels) with every channel rounded to a multiple of 8.
std::span<const Rgb, 16> godotMatchTable(bool grey);

// The GoDot index of a colour: each channel rounded as the table entries were (to the
// nearest multiple of 8, halves up, above 255 kept at 255), then the first entry equal to
// it; 0 when none is.
std::uint8_t matchGodotIndex(Rgb colour, bool grey);

// Run-length items for expanded cell data (without the lone 0xAD that ends a file).
std::vector<std::uint8_t> compressGodotCells(std::span<const std::uint8_t> cells);

} // namespace quendra

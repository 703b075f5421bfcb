// The GoDot 4Bit writer: an RGB picture in, the bytes of a "GOD0" full picture (320 x 200)
// or a "GOD1" clip (any other size, in whole 8 x 8 cells) out.
#pragma once

#include <cstdint>
#include <filesystem>
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
// table when `grey` is set, and compresses. Reports progress once per cell row.
GodotEncoded encodeGodot(const Image& picture, bool grey, Progress* progress = nullptr);

// Encodes and writes atomically: a failure leaves any existing file untouched.
WriteResult writeGodotFile(const std::filesystem::path& target, const Image& picture, bool grey,
                           Progress* progress = nullptr);

}  // namespace quendra

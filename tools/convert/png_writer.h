// PNG straight from the readers' indexed pictures, through libpng: the palette holds
// exactly the colours the picture uses, at the fewest bits per pixel that hold them.
#pragma once

#include <cstdint>
#include <vector>

#include "decode/image.h"

namespace quendra::convert {

struct PngSettings {
    int compressionLevel = 6; // zlib, 0..9
    bool filterRows = false;  // false: no filtering, which suits palette pictures
    bool fewestBits = true;   // false: always 8 bits a pixel (the plain form)
};

// The whole file; empty only when libpng fails (out of memory).
std::vector<std::uint8_t> encodePng(const IndexedImage& picture, const PngSettings& settings = {});

} // namespace quendra::convert

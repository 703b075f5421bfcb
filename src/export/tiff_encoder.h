// TIFF files from palette pictures through libtiff: a palette picture of 4 or 8 bits a
// sample, or a bilevel one (0 black, 1 white) when the picture is black and white only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "decode/image.h"

namespace quendra {

// Values of the Compression tag the encoder writes.
enum class TiffCompression : std::uint16_t {
    None = 1,
    CcittRle = 2, // black and white pictures only
    Lzw = 5,
    PackBits = 32773,
};

// The whole file into `out` (replaced; its storage is reused). Empty on success, else why
// not. An index beyond the palette draws black. libtiff is loaded on the first call;
// it allocates its file state, directory and coder for every file.
std::string encodeTiff(const IndexedImage& picture, TiffCompression compression,
                       std::vector<std::uint8_t>& out);

} // namespace quendra

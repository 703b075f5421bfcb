// ZSoft PCX files (version 5) from palette pictures: one plane of 8 bits a pixel, each row
// run-length coded, the 256-colour palette at the end (the first 16 also in the header).
#pragma once

#include <cstdint>
#include <vector>

#include "decode/image.h"

namespace quendra {

// The whole file into `out` (replaced; its storage is reused). An index beyond the
// palette draws black.
void encodePcx(const IndexedImage& picture, std::vector<std::uint8_t>& out);

} // namespace quendra

// Windows BMP files (the version 3 layout every reader knows) from palette pictures:
// 1 bit a pixel for two colours, 4 for up to 16, else 8 in runs (RLE8); rows bottom to top.
#pragma once

#include <cstdint>
#include <vector>

#include "decode/image.h"

namespace quendra {

// The whole file into `out` (replaced; its storage is reused). An index beyond the
// palette draws black.
void encodeBmp(const IndexedImage& picture, std::vector<std::uint8_t>& out);

} // namespace quendra

// GIF files (GIF89a) from palette pictures through giflib: the global colour table holds the
// colours the picture uses, the fewest bits a pixel that hold them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "decode/image.h"

namespace quendra {

// The whole file into `out` (replaced; its storage is reused). Empty on success, else why
// not. An index beyond the palette draws black. giflib allocates its coder for every file.
std::string encodeGif(const IndexedImage& picture, std::vector<std::uint8_t>& out);

} // namespace quendra

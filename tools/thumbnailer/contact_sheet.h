// A disk or tape image's thumbnail: its first pictures, in the directory's order, on one
// contact sheet.
#pragma once

#include <filesystem>
#include <string>

#include "decode/image.h"
#include "decode/palettes.h"

namespace quendra::thumbnail {

inline constexpr int kSheetPictures = 4;

struct Sheet {
    Image image{0, 0};
    std::string error; // for people, when the image holds no picture or cannot be read
};

// One picture fitted into maxSide x maxSide as a file's thumbnail is; two to four side by
// side in two columns (a second row for the third and fourth) on a dark ground, each
// fitted into its half of the width and centred in its cell.
Sheet contactSheet(const std::filesystem::path& image, int maxSide, const C64Colours& colours);

} // namespace quendra::thumbnail

// The thumbnailer's file: the thumbnail (thumbnail_picture.h) as a PNG, written in place.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "decode/image.h"
#include "decode/palettes.h"
#include "thumbnailer/thumbnail_picture.h"

namespace quendra::thumbnail {

// An RGB PNG of the image; empty only when libpng fails.
std::vector<std::uint8_t> encodeRgbPng(const Image& image);

struct Result {
    bool written = false;
    std::string error; // for people, when not written
};

// The thumbnail of `input` (makeThumbnail) written as PNG to `output` with the one atomic write
// (export/atomic_write.h): nothing is left at `output` unless the whole thumbnail was written, and
// the temporaries of killed runs beside it are removed. Refuses an output that is the input (the
// same file by device and inode, under any name), and an input that is no regular file. The
// picture's colours come from `colours`; errors name files as printableName() shows them. A disk or
// tape image (by its name) gives the contact sheet of its first pictures (contact_sheet.h); one
// without pictures gives none.
Result writeThumbnail(const std::filesystem::path& input, const std::filesystem::path& output,
                      int maxSide, const C64Colours& colours = defaultPalette().colours);

} // namespace quendra::thumbnail

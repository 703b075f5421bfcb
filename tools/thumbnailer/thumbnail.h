// Thumbnails for file managers: a decoded picture fitted into a square of a given size.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "decode/image.h"
#include "decode/palettes.h"

namespace quendra::thumbnail {

// The picture fitted into maxSide x maxSide, proportions kept. A larger picture is scaled
// down by averaging every source pixel by the share of its area that falls into each
// thumbnail pixel; a smaller one is enlarged by the largest whole factor that fits (each
// pixel becomes a k x k block), so it never blurs. An empty picture gives an empty image.
Image fitInto(const Image& picture, int maxSide);

// The width and height fitInto gives, without making the image.
struct Size {
    int width = 0;
    int height = 0;
};
Size fittedSize(int width, int height, int maxSide);

// An RGB PNG of the image; empty only when libpng fails.
std::vector<std::uint8_t> encodeRgbPng(const Image& image);

struct Result {
    bool written = false;
    std::string error; // for people, when not written
};

// Reads a C64 picture by the same road as the viewer, fits it into maxSide and writes
// it as PNG to `output` with the one atomic write (export/atomic_write.h): nothing is left
// at `output` unless the whole thumbnail was written, and the temporaries of killed runs
// beside it are removed. Refuses an output that is the input (the same file by device and
// inode, under any name), and an input that is no regular file. The picture's colours come
// from `colours`; errors name files as printableName() shows them.
// A disk or tape image (by its name) gives the contact sheet of its first pictures
// (contact_sheet.h); one without pictures gives none.
Result writeThumbnail(const std::filesystem::path& input, const std::filesystem::path& output,
                      int maxSide, const C64Colours& colours = defaultPalette().colours);

} // namespace quendra::thumbnail

// Thumbnails for file managers: a C64 picture, or a disk image's contact sheet, fitted into
// a square of a given size. The thumbnailer writes it as a PNG (thumbnail.h); the KIO
// thumbnail plugin hands it to KDE's file manager. Decode layer only.
#pragma once

#include <filesystem>
#include <string>

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

struct Made {
    Image image{0, 0};
    std::string error; // for people, when the image is empty
};

// The thumbnail of the file at `input`: read by the same road as the viewer, in `colours`,
// fitted into maxSide. A disk or tape image (by its name) gives the contact sheet of its
// first pictures (contact_sheet.h); one without pictures gives none. Only a regular file
// is opened, and without waiting, so a FIFO cannot hold the caller.
Made makeThumbnail(const std::filesystem::path& input, int maxSide,
                   const C64Colours& colours = defaultPalette().colours);

} // namespace quendra::thumbnail

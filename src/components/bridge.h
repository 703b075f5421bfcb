// Where Qt meets the layers below: a file name as a path for the readers and writers, and
// a reader's picture as the QImage the picture component shows.
#pragma once

#include <QImage>
#include <QString>
#include <filesystem>
#include <optional>

#include "decode/image.h"

namespace quendra {

// The file name in the file system's own encoding (QFile::encodeName).
std::filesystem::path toPath(const QString& fileName);

// The picture in 32-bit RGB; an index beyond the palette is black. Null for an empty picture.
QImage toQImage(const IndexedImage& picture);
// An 8-bit RGB picture (a PC picture read for the writers) in 32-bit RGB; null for an empty
// picture or without memory.
QImage toQImage(const Image& picture);

// The picture as 8-bit RGB for the writers; an empty one for a null picture, none when
// there is no memory for the copy.
std::optional<Image> toRgbImage(const QImage& picture);

// The same as an 8-bit indexed QImage with the picture's palette as its colour table.
QImage toIndexedQImage(const IndexedImage& picture);

// The picture as indices and palette: an indexed picture of at most `maxColours` table
// entries keeps both as they are; any other picture gets its exact colours when it has at
// most `maxColours` (1..256), in the order its pixels first show them; none when it has
// more.
std::optional<IndexedImage> toIndexedImage(const QImage& image, int maxColours = 256);

// Turned and flipped with IndexedImage's functions where the picture has at most 256
// colours, else with Qt's; an indexed picture stays indexed, any other comes back as RGB32.
QImage flippedTopToBottom(const QImage& picture);
QImage turnedClockwise(const QImage& picture);
QImage turnedAnticlockwise(const QImage& picture);

} // namespace quendra

// Where Qt meets the layers below: a file name as a path for the readers and writers, and
// a reader's picture as the QImage the picture component shows.
#pragma once

#include <QImage>
#include <QString>
#include <filesystem>

#include "decode/image.h"

namespace quendra {

// The file name in the file system's own encoding (QFile::encodeName).
std::filesystem::path toPath(const QString& fileName);

// The picture in 32-bit RGB; an index beyond the palette is black. Null for an empty picture.
QImage toQImage(const IndexedImage& picture);

} // namespace quendra

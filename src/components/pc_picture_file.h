// PC pictures in the viewer: which names are listed as one, their Type text, and the file
// read as a true-colour picture. PNG, GIF, BMP and JPEG are read by the converter's reader
// (export/pc_image_reader.h), so that the viewer shows the picture the converter turns into
// a C64 file; TIFF by Qt's plugin and PCX by the own reader (pcx_reader.h), which the
// converter does not read. Every picture is held to the converter's bound of pixels, checked
// before it is decoded.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <cstdint>

#include "export/pc_image_reader.h"

namespace quendra {

// The kinds of PC picture, by the extension of a name (any case); none for another name.
enum class PcPictureKind { none, png, gif, bmp, jpeg, tiff, pcx };
PcPictureKind pcPictureKindOfName(const QString& fileName);

// The file list's name filters of the PC pictures ("*.png", "*.jpg", …).
QStringList pcPictureNameFilters();

// "PNG picture", "JPEG picture", …: the Type column's text and the caption's kind.
QString pcPictureTypeText(PcPictureKind kind);

struct PcPicture {
    QImage picture;                           // 32-bit RGB; null when refused
    PcPictureKind kind = PcPictureKind::none; // what the bytes are
    QString reason; // why not, for people ("a picture of … pixels is more than …")
};

// The file's picture, its kind found from its first bytes, not from its name. A picture of
// more than `maxPixels` is refused before it is decoded, the bound named in the reason.
PcPicture readPcPictureFile(const QString& fileName, std::uint64_t maxPixels = kPcPictureMaxPixels);

} // namespace quendra

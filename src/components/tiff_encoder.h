// TIFF files written with libtiff directly: the image library's TIFF writer needs every
// Compression tag value of the format's baseline (1, 2, 5, 32773), and GraphicsMagick
// cannot write 2 (CCITT modified Huffman run length).
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include "components/image_pixels.h"

namespace quendra::imagelib::detail {

// A palette picture (bits per sample from the number of colours; two colours black and
// white are written as a bilevel picture). Compression 2 needs exactly that bilevel picture.
bool encodeTiff(const Palettised& picture, int compression, QByteArray& out, QString& error);

// A true-colour picture, 8 bits per sample.
bool encodeTiff(const QImage& rgb, int compression, QByteArray& out, QString& error);

} // namespace quendra::imagelib::detail

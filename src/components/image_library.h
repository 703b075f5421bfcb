// The image library: reads, writes, flips and rotates pictures in the common PC formats
// (Qt's image readers, export/'s writers and IndexedImage's turns behind a small set of
// operations).
//
// Every operation returns a signed 16-bit status: above 0 is success. For 0 or below,
// `message` says what went wrong in words for people; the picture component shows it in
// the library's error box. No exception escapes an operation. Safe to call from several
// threads at once.
//
// Depths: 0 (as the picture is: indexed when it has at most 256 colours, else true colour),
// 1 (black and white), 4 (at most 16 colours), 8 (at most 256 colours) or 24 (true colour).
// A picture that has more colours than its depth allows is reduced to the nearest colours.
// Pictures come back as QImage::Format_Indexed8 (with their colour table) at depths 1 to 8
// and for indexed files read at depth 0, otherwise as QImage::Format_RGB32.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <cstdint>

#include "export/picture_format.h"

namespace quendra::imagelib {

struct Status {
    std::int16_t code = 1;
    QString message;
    bool ok() const { return code > 0; }
};

// The status codes; every failure carries a message as well.
enum StatusCode : std::int16_t {
    kOk = 1,
    kBadArgument = -1,  // a depth, quality, compression or picture the operation cannot take
    kCannotRead = -2,   // the file cannot be opened or read
    kNotDecodable = -3, // the file is not a picture of the format
    kCannotEncode = -4, // the picture cannot be put into the format
    kCannotWrite = -5,  // the file cannot be created, written or renamed into place
    kFailed = -6,       // anything else the library reports
};

struct ImageInfo {
    QString type; // e.g. "PNG"
    std::int16_t width = 0;
    std::int16_t height = 0;
    std::int16_t depth = 0;   // bits per pixel
    std::int16_t colours = 0; // palette entries, 0 for true colour
    std::int16_t pages = 0;   // frames or pages in the file
    QString format;           // a longer description of the format
};

Status imageInfo(const QString& file, ImageInfo& info);

// Readers: on success `out` holds the file's picture at the asked depth.
Status readBMP(const QString& file, int depth, bool dither, QImage& out);
Status readJPEG(const QString& file, int depth, bool dither, QImage& out);
Status readGIF(const QString& file, int depth, bool dither, QImage& out);
Status readPCX(const QString& file, int depth, bool dither, QImage& out);
Status readPNG(const QString& file, int depth, bool dither, QImage& out);
Status readTIFF(const QString& file, int depth, bool dither, QImage& out);

// Writers: a standard file of the format, written atomically (a failed write leaves any
// file that was there untouched). A picture of at most 256 colours written at depth 0, 8
// or 24 (and at 4 with at most 16 colours) keeps its exact colours in every lossless format,
// and is written as a palette file: the bytes quendra-convert writes for the same picture.
Status writeBMP(const QString& file, int depth, const QImage& image);
Status writeJPEG(const QString& file, int quality, int smoothing, int depth, const QImage& image);
Status writeGIF(const QString& file, int depth, const QImage& image);
Status writePCX(const QString& file, int depth, const QImage& image);
Status writePNG(const QString& file, int depth, bool interlaced, const QImage& image);
// compression: the TIFF Compression tag value, 1 (none), 2 (CCITT modified Huffman run
// length, which codes black and white only: the picture is written at depth 1), 5 (LZW),
// 32773 (PackBits).
Status writeTIFF(const QString& file, int compression, int depth, const QImage& image);

// The writers' encoding step on its own: the bytes of the file a writer would write.
struct WriteSettings {
    int depth = 0;
    int quality = 25;        // JPEG, 1..100
    int smoothing = 0;       // JPEG, 0..100: each pixel blends with its eight neighbours
    bool interlaced = false; // PNG (Adam7)
    int compression = 1;     // TIFF Compression tag value; 2 writes black and white
};
Status encode(PictureFormat format, const QImage& image, const WriteSettings& settings,
              QByteArray& out);

// Flip mirrors top to bottom; rotate turns 90 degrees counter-clockwise.
Status flip(int displayDepth, QImage& image);
Status rotate(int displayDepth, QImage& image);

} // namespace quendra::imagelib

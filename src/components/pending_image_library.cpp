// PLACEHOLDER: a minimal stand-in for the image library so the picture component builds
// and its tests run before the GraphicsMagick binding (image_library.cpp) lands.
// Delete this file when that binding is merged. It uses Qt's own image formats only
// (no TIFF or PCX, no GIF writing) and ignores dithering, quality smoothing, interlace and
// TIFF compression.
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <QTransform>

#include "components/image_library.h"

namespace quendra::imagelib {

namespace {

Status failure(const QString& message) {
    return {0, message};
}

QImage atDepth(const QImage& image, int depth) {
    switch (depth) {
    case 1:
        return image.convertToFormat(QImage::Format_Mono);
    case 4:
    case 8:
        return image.convertToFormat(QImage::Format_Indexed8);
    case 24:
        return image.convertToFormat(QImage::Format_RGB888);
    default:
        return image;
    }
}

Status read(const QString& file, const char* format, int depth, QImage& out) {
    QImageReader reader(file, format);
    QImage image = reader.read();
    if (image.isNull())
        return failure(reader.errorString());
    out = atDepth(image, depth);
    return {};
}

Status write(const QString& file, const char* format, int quality, const QImage& image) {
    if (image.isNull())
        return failure("No picture to write");
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return failure(out.errorString());
    QImageWriter writer(&out, format);
    writer.setQuality(quality);
    if (!writer.write(image))
        return failure(writer.errorString());
    if (!out.commit())
        return failure(out.errorString());
    return {};
}

} // namespace

Status imageInfo(const QString& file, ImageInfo& info) {
    QImageReader reader(file);
    if (!reader.canRead())
        return failure(reader.errorString());
    info.type = QString::fromLatin1(reader.format()).toUpper();
    info.width = static_cast<std::int16_t>(reader.size().width());
    info.height = static_cast<std::int16_t>(reader.size().height());
    info.format = info.type;
    return {};
}

Status readBMP(const QString& f, int depth, bool, QImage& out) {
    return read(f, "bmp", depth, out);
}
Status readJPEG(const QString& f, int depth, bool, QImage& out) {
    return read(f, "jpg", depth, out);
}
Status readGIF(const QString& f, int depth, bool, QImage& out) {
    return read(f, "gif", depth, out);
}
Status readPCX(const QString& f, int depth, bool, QImage& out) {
    return read(f, "pcx", depth, out);
}
Status readPNG(const QString& f, int depth, bool, QImage& out) {
    return read(f, "png", depth, out);
}
Status readTIFF(const QString& f, int depth, bool, QImage& out) {
    return read(f, "tif", depth, out);
}

Status writeBMP(const QString& f, int depth, const QImage& image) {
    return write(f, "bmp", -1, atDepth(image, depth));
}
Status writeJPEG(const QString& f, int quality, int, int depth, const QImage& image) {
    return write(f, "jpg", quality, atDepth(image, depth));
}
Status writeGIF(const QString& f, int depth, const QImage& image) {
    return write(f, "gif", -1, atDepth(image, depth));
}
Status writePCX(const QString& f, int depth, const QImage& image) {
    return write(f, "pcx", -1, atDepth(image, depth));
}
Status writePNG(const QString& f, int depth, bool, const QImage& image) {
    return write(f, "png", -1, atDepth(image, depth));
}
Status writeTIFF(const QString& f, int, int depth, const QImage& image) {
    return write(f, "tif", -1, atDepth(image, depth));
}

Status flip(int, QImage& image) {
    image = image.mirrored(false, true);
    return {};
}

Status rotate(int, QImage& image) {
    image = image.transformed(QTransform().rotate(-90));
    return {};
}

} // namespace quendra::imagelib

#include "c64_image_plugin.h"

#include <QFile>
#include <QVariant>
#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "decode/detect.h"
#include "decode/open_picture.h"
#include "plugins/picture_bytes.h"

namespace quendra::plugins {

namespace {

std::string fileNameOf(const QIODevice* device) {
    if (const auto* file = qobject_cast<const QFile*>(device))
        return QFile::encodeName(file->fileName()).toStdString();
    return {};
}

Bytes bytesOf(const QByteArray& data) {
    return {reinterpret_cast<const std::uint8_t*>(data.constData()),
            static_cast<std::size_t>(data.size())};
}

// The file's length where the device knows it, else what was read.
std::uint64_t sizeOf(const QIODevice* device, const QByteArray& read) {
    if (!device->isSequential() && device->size() > 0)
        return static_cast<std::uint64_t>(device->size());
    return static_cast<std::uint64_t>(read.size());
}

QImage toIndexedImage(const IndexedImage& picture) {
    QImage image(picture.width(), picture.height(), QImage::Format_Indexed8);
    if (image.isNull())
        return image;
    int highest = 0;
    for (std::uint8_t index : picture.indices())
        highest = std::max<int>(highest, index);
    // An index beyond the palette (never drawn by a reader) shows black, as toRgb gives.
    QVector<QRgb> colours(std::max<int>(highest + 1, static_cast<int>(picture.palette().size())),
                          qRgb(0, 0, 0));
    colours.resize(std::min<qsizetype>(colours.size(), 256));
    for (std::size_t i = 0; i < picture.palette().size() && i < 256; ++i) {
        const Rgb c = picture.palette()[i];
        colours[static_cast<int>(i)] = qRgb(c.r, c.g, c.b);
    }
    image.setColorTable(colours);
    for (int y = 0; y < picture.height(); ++y)
        std::memcpy(image.scanLine(y), picture.row(y), static_cast<std::size_t>(picture.width()));
    return image;
}

} // namespace

bool C64ImageHandler::canRead(QIODevice* device) {
    if (!device || !device->isReadable())
        return false;
    const QByteArray head = device->peek(static_cast<qint64>(kDetectionReadLimit));
    return takesFile(bytesOf(head), sizeOf(device, head), fileNameOf(device));
}

std::string C64ImageHandler::nameOfInput() const {
    std::string name = fileNameOf(device());
    const std::string hint = format().toLower().toStdString();
    if (name.empty() && isFormatKey(hint))
        name = "picture." + hint;
    return name;
}

bool C64ImageHandler::canRead() const {
    if (picture_)
        return !picture_->isNull();
    // A format the caller names counts as a file's extension does.
    if (isFormatKey(format().toLower().toStdString()) && fileNameOf(device()).empty())
        return device() && device()->isReadable();
    if (!canRead(device()))
        return false;
    const_cast<C64ImageHandler*>(this)->setFormat("c64");
    return true;
}

const QImage& C64ImageHandler::picture() const {
    if (picture_)
        return *picture_;
    picture_ = QImage();
    QIODevice* in = device();
    if (!in || !in->isReadable())
        return *picture_;
    try {
        // Options may be asked before read(): a random-access device goes back to where
        // it was, so that read() and other handlers find it unchanged.
        const qint64 start = in->pos();
        const QByteArray bytes = in->isSequential()
                                     ? in->read(static_cast<qint64>(wholeReadLimit()))
                                     : in->peek(static_cast<qint64>(wholeReadLimit()));
        if (!in->isSequential())
            in->seek(start);
        const OpenedPicture opened =
            openPicture(bytesOf(bytes), sizeOf(in, bytes), nameOfInput(), DecodeOptions{});
        if (opened.accepted())
            picture_ = toIndexedImage(opened.decoded.picture);
    } catch (const std::bad_alloc&) {
        picture_ = QImage();
    }
    return *picture_;
}

bool C64ImageHandler::read(QImage* image) {
    const QImage& decoded = picture();
    if (decoded.isNull() || !image)
        return false;
    *image = decoded;
    if (QIODevice* in = device(); in && !in->isSequential())
        in->seek(in->size()); // the file is read: the next read finds no second picture
    return true;
}

bool C64ImageHandler::supportsOption(ImageOption option) const {
    return option == Size || option == ImageFormat;
}

QVariant C64ImageHandler::option(ImageOption option) const {
    if (option == ImageFormat)
        return QVariant::fromValue(QImage::Format_Indexed8);
    if (option == Size && !picture().isNull())
        return picture().size();
    return {};
}

QImageIOPlugin::Capabilities C64ImagePlugin::capabilities(QIODevice* device,
                                                          const QByteArray& format) const {
    if (!format.isEmpty())
        return isFormatKey(format.toLower().toStdString()) ? CanRead
                                                                               : Capabilities();
    return C64ImageHandler::canRead(device) ? CanRead : Capabilities();
}

QImageIOHandler* C64ImagePlugin::create(QIODevice* device, const QByteArray& format) const {
    auto* handler = new C64ImageHandler;
    handler->setDevice(device);
    handler->setFormat(format.isEmpty() ? QByteArray("c64") : format);
    return handler;
}

} // namespace quendra::plugins

#include "components/pc_picture_file.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <array>
#include <span>

#include "components/bridge.h"
#include "components/pcx_reader.h"

namespace quendra {

namespace {

struct KindRow {
    PcPictureKind kind;
    const char* type; // the Type text's word
    std::array<const char*, 2> extensions;
};

constexpr std::array<KindRow, 6> kKinds{{
    {PcPictureKind::png, "PNG", {"png", nullptr}},
    {PcPictureKind::gif, "GIF", {"gif", nullptr}},
    {PcPictureKind::bmp, "BMP", {"bmp", nullptr}},
    {PcPictureKind::jpeg, "JPEG", {"jpg", "jpeg"}},
    {PcPictureKind::tiff, "TIFF", {"tif", "tiff"}},
    {PcPictureKind::pcx, "PCX", {"pcx", nullptr}},
}};

PcPictureKind kindOfBytes(const QByteArray& b) {
    if (b.startsWith("\x89PNG"))
        return PcPictureKind::png;
    if (b.startsWith("GIF8"))
        return PcPictureKind::gif;
    if (b.startsWith("BM"))
        return PcPictureKind::bmp;
    if (b.startsWith("\xFF\xD8\xFF"))
        return PcPictureKind::jpeg;
    if (b.startsWith(QByteArray("II*\0", 4)) || b.startsWith(QByteArray("MM\0*", 4)))
        return PcPictureKind::tiff;
    if (looksLikePcx(b))
        return PcPictureKind::pcx;
    return PcPictureKind::none;
}

QString sizeProblem(std::uint64_t width, std::uint64_t height, std::uint64_t maxPixels) {
    return QStringLiteral("a picture of %1 × %2 pixels is more than the %3 this program shows")
        .arg(width)
        .arg(height)
        .arg(QString::fromStdString(pixelBoundText(maxPixels)));
}

// A TIFF (Qt's plugin) or PCX (the own reader) picture, its size checked first.
QImage readWithQt(const QByteArray& bytes, PcPictureKind kind, std::uint64_t maxPixels,
                  QString& why) {
    std::uint64_t width = 0, height = 0;
    if (kind == PcPictureKind::pcx) {
        // The header's window: xmin, ymin, xmax, ymax, little-endian words from byte 4.
        const auto word = [&](int at) {
            return std::uint64_t(std::uint8_t(bytes[at])) |
                   std::uint64_t(std::uint8_t(bytes[at + 1])) << 8;
        };
        if (bytes.size() >= 12 && word(8) >= word(4) && word(10) >= word(6)) {
            width = word(8) - word(4) + 1;
            height = word(10) - word(6) + 1;
        }
    } else {
        QBuffer buffer;
        buffer.setData(bytes);
        QImageReader reader(&buffer, "tiff");
        width = std::uint64_t(std::max(0, reader.size().width()));
        height = std::uint64_t(std::max(0, reader.size().height()));
    }
    if (width * height > maxPixels) {
        why = sizeProblem(width, height, maxPixels);
        return {};
    }
    if (kind == PcPictureKind::pcx)
        return readPcx(bytes, why);
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, "tiff");
    reader.setAutoTransform(false);
    QImage image = reader.read();
    if (image.isNull())
        why = QStringLiteral("not a readable TIFF file: ") + reader.errorString();
    return image;
}

} // namespace

PcPictureKind pcPictureKindOfName(const QString& fileName) {
    const qsizetype dot = fileName.lastIndexOf(u'.');
    if (dot < 0 || fileName.indexOf(u'/', dot) >= 0)
        return PcPictureKind::none;
    const QString extension = fileName.mid(dot + 1).toLower();
    for (const KindRow& row : kKinds) {
        for (const char* e : row.extensions) {
            if (e && extension == QLatin1String(e))
                return row.kind;
        }
    }
    return PcPictureKind::none;
}

QStringList pcPictureNameFilters() {
    QStringList filters;
    for (const KindRow& row : kKinds) {
        for (const char* e : row.extensions) {
            if (e)
                filters << QStringLiteral("*.") + QLatin1String(e);
        }
    }
    return filters;
}

QString pcPictureTypeText(PcPictureKind kind) {
    for (const KindRow& row : kKinds) {
        if (row.kind == kind)
            return QLatin1String(row.type) + QStringLiteral(" picture");
    }
    return {};
}

PcPicture readPcPictureFile(const QString& fileName, std::uint64_t maxPixels) {
    maxPixels = std::min(maxPixels, kPcPictureMaxPixels);
    PcPicture result;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        result.reason = QStringLiteral("cannot be read: ") + file.errorString();
        return result;
    }
    if (file.size() > qint64(kPcPictureReadLimit)) {
        result.reason = QStringLiteral("more than the %1 MB of a picture file this program reads")
                            .arg(kPcPictureReadLimit >> 20);
        return result;
    }
    const QByteArray bytes = file.readAll();
    result.kind = kindOfBytes(bytes);
    switch (result.kind) {
    case PcPictureKind::none:
        result.reason = QStringLiteral("not a PNG, GIF, BMP, JPEG, TIFF or PCX file");
        return result;
    case PcPictureKind::tiff:
    case PcPictureKind::pcx:
        result.picture = readWithQt(bytes, result.kind, maxPixels, result.reason);
        break;
    default: {
        Image rgb(0, 0);
        const std::string why =
            readPcPicture(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                    std::size_t(bytes.size())),
                          rgb, maxPixels);
        if (!why.empty()) {
            result.reason = QString::fromStdString(why);
            return result;
        }
        result.picture = toQImage(rgb);
    }
    }
    if (!result.picture.isNull())
        result.picture = result.picture.convertToFormat(QImage::Format_RGB32);
    else if (result.reason.isEmpty())
        result.reason = QStringLiteral("no memory for the picture");
    return result;
}

} // namespace quendra

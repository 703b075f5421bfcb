#include "components/bridge.h"

#include <QFile>
#include <QHash>
#include <QTransform>
#include <array>
#include <cstring>
#include <new>

namespace quendra {

std::filesystem::path toPath(const QString& fileName) {
    return std::filesystem::path(QFile::encodeName(fileName).toStdString());
}

QImage toQImage(const Image& picture) {
    if (picture.empty())
        return {};
    return QImage(picture.data(), picture.width(), picture.height(),
                  static_cast<qsizetype>(picture.bytesPerLine()), QImage::Format_RGB888)
        .convertToFormat(QImage::Format_RGB32);
}

QImage toQImage(const IndexedImage& picture) {
    const int w = picture.width();
    const int h = picture.height();
    if (w <= 0 || h <= 0)
        return {};
    std::array<QRgb, 256> colours;
    colours.fill(qRgb(0, 0, 0));
    const std::vector<Rgb>& palette = picture.palette();
    for (std::size_t i = 0; i < palette.size() && i < colours.size(); ++i)
        colours[i] = qRgb(palette[i].r, palette[i].g, palette[i].b);
    QImage image(w, h, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* src = picture.row(y);
        auto* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x)
            dst[x] = colours[src[x]];
    }
    return image;
}

std::optional<Image> toRgbImage(const QImage& picture) {
    if (picture.isNull())
        return Image(0, 0);
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    if (rgb.isNull())
        return std::nullopt;
    Image image(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        std::memcpy(image.data() + y * image.bytesPerLine(), rgb.constScanLine(y),
                    image.bytesPerLine());
    }
    return image;
}

QImage toIndexedQImage(const IndexedImage& picture) {
    QImage out(picture.width(), picture.height(), QImage::Format_Indexed8);
    if (out.isNull())
        return {};
    QList<QRgb> table;
    for (const Rgb& c : picture.palette())
        table.push_back(qRgb(c.r, c.g, c.b));
    out.setColorTable(table);
    for (int y = 0; y < picture.height(); ++y)
        std::memcpy(out.scanLine(y), picture.row(y), static_cast<std::size_t>(picture.width()));
    return out;
}

std::optional<IndexedImage> toIndexedImage(const QImage& image, int maxColours) {
    // An indexed picture keeps its indices and colour table, so the writers see the order
    // its palette had.
    if (image.format() == QImage::Format_Indexed8 && image.colorCount() <= maxColours &&
        image.colorCount() > 0) {
        IndexedImage out(image.width(), image.height());
        for (int y = 0; y < image.height(); ++y) {
            const uchar* in = image.constScanLine(y);
            std::uint8_t* row = out.row(y);
            for (int x = 0; x < image.width(); ++x)
                row[x] = in[x] < image.colorCount() ? in[x] : 0;
        }
        std::vector<Rgb> palette;
        for (const QRgb c : image.colorTable())
            palette.push_back({static_cast<std::uint8_t>(qRed(c)),
                               static_cast<std::uint8_t>(qGreen(c)),
                               static_cast<std::uint8_t>(qBlue(c))});
        out.setPalette(palette);
        return out;
    }
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    if (rgb.isNull() && !image.isNull())
        throw std::bad_alloc();
    IndexedImage out(rgb.width(), rgb.height());
    std::vector<Rgb> palette;
    QHash<QRgb, std::uint8_t> slot;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        std::uint8_t* row = out.row(y);
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb c = in[x] | 0xff000000u;
            auto found = slot.constFind(c);
            if (found == slot.constEnd()) {
                if (static_cast<int>(palette.size()) >= maxColours)
                    return std::nullopt;
                found = slot.insert(c, static_cast<std::uint8_t>(palette.size()));
                palette.push_back({static_cast<std::uint8_t>(qRed(c)),
                                   static_cast<std::uint8_t>(qGreen(c)),
                                   static_cast<std::uint8_t>(qBlue(c))});
            }
            row[x] = *found;
        }
    }
    out.setPalette(palette);
    return out;
}

namespace {

QImage transformed(const QImage& picture, IndexedImage (*turn)(const IndexedImage&),
                   const QTransform& instead) {
    if (picture.isNull())
        return {};
    QImage done;
    if (auto indexed = toIndexedImage(picture))
        done = toIndexedQImage(turn(*indexed));
    else
        done = picture.transformed(instead);
    return picture.format() == QImage::Format_Indexed8 ? done
                                                       : done.convertToFormat(QImage::Format_RGB32);
}

} // namespace

QImage flippedTopToBottom(const QImage& picture) {
    return transformed(picture, quendra::flippedTopToBottom, QTransform::fromScale(1, -1));
}
QImage turnedClockwise(const QImage& picture) {
    return transformed(picture, quendra::turnedClockwise, QTransform().rotate(90));
}
QImage turnedAnticlockwise(const QImage& picture) {
    return transformed(picture, quendra::turnedAnticlockwise, QTransform().rotate(-90));
}

} // namespace quendra

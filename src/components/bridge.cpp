#include "components/bridge.h"

#include <QFile>
#include <array>

namespace quendra {

std::filesystem::path toPath(const QString& fileName) {
    return std::filesystem::path(QFile::encodeName(fileName).toStdString());
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

} // namespace quendra

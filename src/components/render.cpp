#include "components/render.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace quendra::render {

QImage forDisplay(const QImage& picture) {
    if (picture.isNull() || picture.format() == QImage::Format_RGB32)
        return picture;
    return picture.convertToFormat(QImage::Format_RGB32);
}

QRect unscaled(QImage& frame, const QImage& picture, int x, int y) {
    const int x0 = std::max(0, x), x1 = std::min(frame.width(), x + picture.width());
    const int y0 = std::max(0, y), y1 = std::min(frame.height(), y + picture.height());
    if (x0 >= x1 || y0 >= y1)
        return {};
    const auto bytes = static_cast<size_t>(x1 - x0) * sizeof(QRgb);
    for (int row = y0; row < y1; ++row) {
        const auto* from = reinterpret_cast<const QRgb*>(picture.constScanLine(row - y));
        auto* to = reinterpret_cast<QRgb*>(frame.scanLine(row));
        std::memcpy(to + x0, from + (x0 - x), bytes);
    }
    return {x0, y0, x1 - x0, y1 - y0};
}

QRect scaled(QImage& frame, const QImage& picture, const QRect& source,
             const placement::Area& destination, QRgb background) {
    const int sw = source.width(), sh = source.height();
    const placement::Area& d = destination;
    if (sw == 0 || sh == 0 || d.width <= 0 || d.height <= 0)
        return {};
    const int x0 = std::max(0, d.x), x1 = std::min(frame.width(), d.x + d.width);
    const int y0 = std::max(0, d.y), y1 = std::min(frame.height(), d.y + d.height);
    if (x0 >= x1 || y0 >= y1)
        return {};

    // Source column of every visible destination column; -1 where it lies off the picture.
    std::vector<int> columns(static_cast<size_t>(x1 - x0));
    for (int x = x0; x < x1; ++x) {
        const int sx = placement::sampleIndex(source.x(), sw, d.width, x - d.x);
        columns[static_cast<size_t>(x - x0)] = sx >= 0 && sx < picture.width() ? sx : -1;
    }

    const auto bytes = static_cast<size_t>(x1 - x0) * sizeof(QRgb);
    int previousSource = -1;
    const QRgb* previousRow = nullptr;
    for (int y = y0; y < y1; ++y) {
        auto* to = reinterpret_cast<QRgb*>(frame.scanLine(y)) + x0;
        const int sy = placement::sampleIndex(source.y(), sh, d.height, y - d.y);
        if (sy < 0 || sy >= picture.height()) {
            std::fill(to, to + (x1 - x0), background);
            continue;
        }
        if (sy == previousSource) { // an enlarged row repeats the one above it
            std::memcpy(to, previousRow, bytes);
            continue;
        }
        const auto* from = reinterpret_cast<const QRgb*>(picture.constScanLine(sy));
        for (size_t i = 0; i < columns.size(); ++i)
            to[i] = columns[i] >= 0 ? from[columns[i]] : background;
        previousSource = sy;
        previousRow = to;
    }
    return {x0, y0, x1 - x0, y1 - y0};
}

void fillOutside(QImage& frame, const QRect& covered, QRgb colour) {
    const QRect inside = covered.intersected(frame.rect());
    if (inside.isEmpty()) {
        frame.fill(colour);
        return;
    }
    for (int y = 0; y < frame.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(frame.scanLine(y));
        if (y < inside.top() || y > inside.bottom()) {
            std::fill(row, row + frame.width(), colour);
        } else {
            std::fill(row, row + inside.left(), colour);
            std::fill(row + inside.right() + 1, row + frame.width(), colour);
        }
    }
}

} // namespace quendra::render

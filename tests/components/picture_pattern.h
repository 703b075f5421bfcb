// Test pictures whose every pixel tells where it came from, and helpers to read them back.
#pragma once

#include <QImage>
#include <QPoint>

namespace quendra::testing {

// A colour naming (x, y) for x, y < 2048; its blue byte is always 0x40..0x7F.
inline QRgb positionColour(int x, int y) {
    return qRgb(x & 0xFF, y & 0xFF, 0x40 | ((x >> 8) << 3) | (y >> 8));
}

// The position a colour names, or (-1, -1) for a colour that is no position colour.
inline QPoint positionOf(QRgb c) {
    if ((qBlue(c) & 0xC0) != 0x40)
        return {-1, -1};
    return {qRed(c) | (((qBlue(c) >> 3) & 7) << 8), qGreen(c) | ((qBlue(c) & 7) << 8)};
}

inline QImage positionPicture(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, positionColour(x, y));
    return image;
}

// Single-pixel checkerboard of two saturated colours: any smoothing shows as a third colour.
constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kGreen = 0xFF00FF00;
inline QImage checkerboard(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, (x + y) % 2 ? kGreen : kRed);
    return image;
}

} // namespace quendra::testing

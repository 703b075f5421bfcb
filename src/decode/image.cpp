#include "decode/image.h"

#include <algorithm>

namespace quendra {

Image::Image(int width, int height) {
    resize(width, height);
}

void Image::resize(int width, int height) {
    width_ = width > 0 ? width : 0;
    height_ = height > 0 ? height : 0;
    data_.assign(3 * static_cast<std::size_t>(width_) * height_, 0);
}

void IndexedImage::resize(int width, int height) {
    width_ = width > 0 ? width : 0;
    height_ = height > 0 ? height : 0;
    pixels_.assign(static_cast<std::size_t>(width_) * height_, 0);
}

Image IndexedImage::toRgb() const {
    Image out(width_, height_);
    Rgb lut[256] = {};
    for (std::size_t i = 0; i < palette_.size() && i < 256; ++i)
        lut[i] = palette_[i];
    std::uint8_t* d = out.data();
    for (std::uint8_t i : pixels_) {
        const Rgb c = lut[i];
        *d++ = c.r;
        *d++ = c.g;
        *d++ = c.b;
    }
    return out;
}

namespace {

// A picture of the given size with `picture`'s palette and meaning, every index 0.
IndexedImage likeOf(const IndexedImage& picture, int width, int height) {
    IndexedImage out(width, height);
    out.setPalette(picture.palette());
    out.setMeaning(picture.meaning(), picture.grey());
    return out;
}

} // namespace

IndexedImage flippedTopToBottom(const IndexedImage& picture) {
    const int w = picture.width(), h = picture.height();
    IndexedImage out = likeOf(picture, w, h);
    for (int y = 0; y < h; ++y)
        std::copy_n(picture.row(h - 1 - y), w, out.row(y));
    return out;
}

IndexedImage turnedClockwise(const IndexedImage& picture) {
    const int w = picture.width(), h = picture.height();
    IndexedImage out = likeOf(picture, h, w);
    // Row i of the result is column i of the source read from the bottom up.
    for (int i = 0; i < w; ++i) {
        std::uint8_t* row = out.row(i);
        for (int j = 0; j < h; ++j)
            row[j] = picture.index(i, h - 1 - j);
    }
    return out;
}

IndexedImage turnedAnticlockwise(const IndexedImage& picture) {
    const int w = picture.width(), h = picture.height();
    IndexedImage out = likeOf(picture, h, w);
    // Row i of the result is column w - 1 - i of the source read from the top down.
    for (int i = 0; i < w; ++i) {
        std::uint8_t* row = out.row(i);
        for (int j = 0; j < h; ++j)
            row[j] = picture.index(w - 1 - i, j);
    }
    return out;
}

IndexedImage enlarged(const IndexedImage& picture, int factor) {
    if (factor <= 1)
        return picture;
    const int w = picture.width(), h = picture.height();
    IndexedImage out = likeOf(picture, w * factor, h * factor);
    for (int y = 0; y < h; ++y) {
        std::uint8_t* first = out.row(y * factor);
        const std::uint8_t* source = picture.row(y);
        for (int x = 0; x < w; ++x)
            std::fill_n(first + static_cast<std::size_t>(x) * factor, factor, source[x]);
        for (int k = 1; k < factor; ++k)
            std::copy_n(first, out.width(), out.row(y * factor + k));
    }
    return out;
}

} // namespace quendra

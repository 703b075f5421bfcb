#include "decode/image.h"

namespace quendra {

Image::Image(int width, int height) { resize(width, height); }

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
    for (std::size_t i = 0; i < palette_.size() && i < 256; ++i) lut[i] = palette_[i];
    std::uint8_t* d = out.data();
    for (std::uint8_t i : pixels_) {
        const Rgb c = lut[i];
        *d++ = c.r;
        *d++ = c.g;
        *d++ = c.b;
    }
    return out;
}

}  // namespace quendra

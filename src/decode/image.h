// Rasters the readers draw into.
//
// Every reader draws palette indices into an IndexedImage together with the palette it
// drew with; the RGB working image is one lookup away (toRgb). Index 0 is black in every
// palette the readers use, so a fresh IndexedImage is the black template.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace quendra {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

// The working image: 8-bit RGB pixels, rows top to bottom, 3 bytes a pixel.
class Image {
  public:
    static constexpr int kTemplateWidth = 320;
    static constexpr int kTemplateHeight = 200;

    Image() : Image(kTemplateWidth, kTemplateHeight) {} // the black template
    Image(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }
    bool empty() const { return width_ == 0 || height_ == 0; }

    // New size, all black.
    void resize(int width, int height);

    Rgb pixel(int x, int y) const {
        const std::uint8_t* p = &data_[3 * (static_cast<std::size_t>(y) * width_ + x)];
        return {p[0], p[1], p[2]};
    }
    void setPixel(int x, int y, Rgb c) {
        std::uint8_t* p = &data_[3 * (static_cast<std::size_t>(y) * width_ + x)];
        p[0] = c.r;
        p[1] = c.g;
        p[2] = c.b;
    }

    std::uint8_t* data() { return data_.data(); }
    const std::uint8_t* data() const { return data_.data(); }
    std::size_t bytesPerLine() const { return 3 * static_cast<std::size_t>(width_); }

    friend bool operator==(const Image&, const Image&) = default;

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> data_;
};

// What a picture's indices stand for, so that a palette can be applied after decoding
// without reading the file again (decode/palettes.h).
enum class IndexMeaning : std::uint8_t {
    fixed,        // the palette set with the picture stays (Printfox's black and white)
    c64Numbers,   // C64 colour numbers 0..15
    godotIndices, // GoDot indices 0..15, dark to light
    blendPairs,   // interlaced mixes: GoDot index of the first frame's colour in the high
                  // nibble, the second frame's in the low nibble (decode/blend.h)
};

// Palette indices plus the palette they refer to.
class IndexedImage {
  public:
    IndexedImage() : IndexedImage(Image::kTemplateWidth, Image::kTemplateHeight) {}
    IndexedImage(int width, int height) { resize(width, height); }

    int width() const { return width_; }
    int height() const { return height_; }

    // New size, every index 0 (black).
    void resize(int width, int height);

    std::uint8_t index(int x, int y) const {
        return pixels_[static_cast<std::size_t>(y) * width_ + x];
    }
    void setIndex(int x, int y, std::uint8_t i) {
        pixels_[static_cast<std::size_t>(y) * width_ + x] = i;
    }
    std::uint8_t* row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    const std::uint8_t* row(int y) const {
        return pixels_.data() + static_cast<std::size_t>(y) * width_;
    }
    std::span<const std::uint8_t> indices() const { return pixels_; }

    const std::vector<Rgb>& palette() const { return palette_; }
    void setPalette(std::span<const Rgb> palette) {
        palette_.assign(palette.begin(), palette.end());
    }

    Rgb pixel(int x, int y) const { return palette_[index(x, y)]; }

    // What the indices stand for, and whether they are drawn in grey levels.
    IndexMeaning meaning() const { return meaning_; }
    bool grey() const { return grey_; }
    void setMeaning(IndexMeaning meaning, bool grey) {
        meaning_ = meaning;
        grey_ = grey;
    }

    // The RGB working image these indices stand for. An index beyond the palette
    // (never drawn by a reader) gives black.
    Image toRgb() const;

    friend bool operator==(const IndexedImage&, const IndexedImage&) = default;

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> pixels_;
    std::vector<Rgb> palette_;
    IndexMeaning meaning_ = IndexMeaning::fixed;
    bool grey_ = false;
};

// The same picture turned or mirrored, indices, palette and meaning kept.
IndexedImage flippedTopToBottom(const IndexedImage& picture);
IndexedImage turnedClockwise(const IndexedImage& picture);
IndexedImage turnedAnticlockwise(const IndexedImage& picture);
// Every pixel a `factor` x `factor` block of the same index (whole pixels, no smoothing).
IndexedImage enlarged(const IndexedImage& picture, int factor);

} // namespace quendra

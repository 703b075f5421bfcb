// Pixel work of the image library that needs no image library: finding a picture's exact
// colours, black and white reduction, and the smoothing that JPEG writes may ask for.
#pragma once

#include <QImage>
#include <QRgb>
#include <cstdint>
#include <optional>
#include <vector>

namespace quendra::imagelib::detail {

// A picture as indices into a list of distinct colours.
struct Palettised {
    int width = 0;
    int height = 0;
    std::vector<QRgb> colours;         // distinct, opaque (0xffRRGGBB)
    std::vector<std::uint8_t> indices; // width * height, rows top to bottom
};

// The picture's exact colours when it has at most `maxColours` (1..256) of them, else none.
// An indexed picture keeps the order of its colour table (unused and repeated entries
// dropped); any other picture lists its colours in the order they first appear.
std::optional<Palettised> palettise(const QImage& image, int maxColours);

// Black (index 0) and white (index 1) by brightness; with `dither` the rounding error is
// spread to the neighbours (Floyd-Steinberg) so that areas keep their mean brightness.
Palettised monochrome(const QImage& image, bool dither);

// An 8-bit indexed QImage of exactly these colours and indices.
QImage toIndexedImage(const Palettised& p);

// Input smoothing as JPEG encoders know it: each pixel becomes (1 - 8w) of itself plus w of
// each of its eight neighbours, w = factor / 1024 (edge pixels repeat outward). Factor 0..100.
QImage smoothed(const QImage& image, int factor);

// Bits per pixel that hold `colours` indices: 1, 2, 4 or 8.
int bitsForColours(std::size_t colours);

} // namespace quendra::imagelib::detail

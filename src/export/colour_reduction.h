// Colour reduction: any RGB picture made into one that keeps a C64 mode's rules. The
// picture is scaled to the screen (the PAL pixel's proportions kept), each pixel's distance
// to the 16 colours measured in CIE Lab, and each cell's colours (and the background the
// whole picture shares) chosen to make the cell's summed colour distance least; dithering,
// when asked for, then mixes only the colours its cell has.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "decode/image.h"
#include "decode/palettes.h"
#include "export/c64_fit.h"
#include "export/c64_picture.h"

namespace quendra {

enum class Dither { none, bayer4, bayer8, floyd };
enum class Framing {
    fill, // the screen full, the picture cut at two sides
    fit,  // the whole picture, black bars at two sides
};

struct ReduceOptions {
    Dither dither = Dither::none;
    Framing framing = Framing::fill;
    // The background colour asked for (0..15; the multicolour modes, where the format does
    // not keep its own), taken also by exact conversion where it fits; -1: the best one.
    int background = -1;
    // The source's brightness, contrast and saturation, -100 to 100 each, 0 as it is: in
    // CIE Lab, lightness shifted by half the number, its spread around 50 and the colours'
    // distance from grey each multiplied by 1 + number / 100.
    int brightness = 0;
    int contrast = 0;
    int saturation = 0;
};

// "none", "bayer4", "bayer8", "floyd"; false for any other name.
bool ditherNamed(std::string_view name, Dither& out);

// CIE L*a*b* (D65) of an sRGB colour.
struct Lab {
    float l = 0, a = 0, b = 0;
};
Lab labOf(Rgb c);
// CIE 1976 colour difference.
float deltaE(const Lab& x, const Lab& y);

// Keeps its working memory from picture to picture; one per thread.
class ColourReducer {
  public:
    // `out` gets the picture in colour numbers at the mode's shown width (320, or 296 for
    // FLI modes; multicolour pixels doubled) by 200, keeping `rules`; `background` the
    // background it chose (fitExactly lays it out with that background).
    void reduce(const Image& source, const C64Colours& palette, const C64Rules& rules,
                const ReduceOptions& options, ColourPicture& out, int& background);
    // The mean ΔE of the last reduction's `out` against the source as scaled (and adjusted).
    float meanError(const ColourPicture& out) const;

  private:
    void scale(const Image& source, int width, Framing framing, bool fat);
    void adjust(const ReduceOptions& options);
    void measure(const C64Colours& palette, bool fat);
    void measureDithered();
    float chooseMulticolour(int background, std::vector<std::uint8_t>& sets);
    void chooseFli(int background);
    void chooseHires(bool perLine, bool blackAndWhite);
    void assign(const C64Rules& rules, Dither dither, ColourPicture& out);

    static constexpr int kLines = 200;
    static constexpr std::uint8_t kUnused = 0xFF; // a set's place without a colour

    int width_ = 0;            // the scaled picture's width in pixels (320 or 296)
    int gridWidth_ = 0;        // in the mode's pixels (half for multicolour)
    std::vector<Lab> pixels_;  // the scaled picture, width_ x 200
    std::vector<Lab> grid_;    // the mode's pixels, gridWidth_ x 200
    std::vector<float> error_; // distance of grid pixel p to colour c at 16p + c
    std::array<Lab, 16> palette_{};
    // The colours each block (cell, or cell line in FLI modes) may use: 4 a block, 0xFF unused.
    std::vector<std::uint8_t> sets_;
    std::vector<std::uint8_t> candidateSets_;
    std::vector<float> rowScratch_;
};

} // namespace quendra

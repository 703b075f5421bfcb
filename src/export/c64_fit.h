// Exact conversion: a picture whose pixels already keep a C64 mode's rules, laid into the
// machine's memories, or the first place where it breaks them, named for people.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "decode/image.h"
#include "decode/palettes.h"
#include "export/c64_picture.h"

namespace quendra {

// A picture as C64 colour numbers (0..15), rows top to bottom.
struct ColourPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> colours;

    void resize(int w, int h) {
        width = w;
        height = h;
        colours.assign(static_cast<std::size_t>(w) * h, 0);
    }
    std::uint8_t at(int x, int y) const {
        return colours[static_cast<std::size_t>(y) * width + x];
    }
    std::uint8_t* row(int y) { return colours.data() + static_cast<std::size_t>(y) * width; }
    const std::uint8_t* row(int y) const {
        return colours.data() + static_cast<std::size_t>(y) * width;
    }
};

// The colour numbers of a decoded picture: its indices where they are C64 colour numbers
// (or GoDot indices), else its colours looked up in `palette`. Empty, or why not: the
// first pixel whose colour is none of the palette's, or that mixes two (interlace).
std::string colourNumbersOf(const IndexedImage& picture, const C64Colours& palette,
                            ColourPicture& out);
// The same for an RGB picture (a PC image): every pixel must be one of the palette's colours.
std::string colourNumbersOf(const Image& picture, const C64Colours& palette, ColourPicture& out);

// Lays `picture` into `out` by `rules`. The picture is the mode's shown width (320, or 296
// for FLI modes) by 200, or half as wide in fat pixels for the multicolour modes. Empty,
// or why it does not fit: the size, the cell (or cell line) with too many colours, two
// cells that share no background. `formatName` names the format in the reason.
// `preferredBackground` (0..15) is taken when it fits, else the background is the colour
// that fits most cells.
std::string fitExactly(const ColourPicture& picture, const C64Rules& rules,
                       std::string_view formatName, C64Memories& out,
                       int preferredBackground = -1);

// The cells (40 * row + column) that hold more colours than the mode lets a cell have:
// multicolour 4 (the background among them), hires 2, FLI 4 and AFLI 2 in one pixel line
// of a cell. For marking where an exact conversion breaks the rules; a picture of the wrong
// size marks none.
std::vector<int> crowdedCells(const ColourPicture& picture, const C64Rules& rules);

} // namespace quendra

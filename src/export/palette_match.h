// Which C64 palette a picture's colours come from: a screenshot or a picture drawn in any
// of the palettes emulators and artists use is found in it, so that it converts exactly.
#pragma once

#include <span>
#include <string_view>

#include "decode/image.h"
#include "decode/palettes.h"

namespace quendra {

// The program's own palettes (namedPalettes()), then those shipped in data/palettes.
std::span<const NamedPalette> knownPalettes();
// The known palette called `name` (exact), or nullptr.
const NamedPalette* findKnownPalette(std::string_view name);

// A colour this near (RGB distance) to a palette's colour counts as that colour: less than
// half the distance between the nearest two colours of any known palette.
inline constexpr int kPaletteTolerance = 6;

struct PaletteMatch {
    int index = -1;         // into the candidates; -1: no palette holds every colour
    float meanDistance = 0; // of the picture's pixels to their palette colours
};

// The candidate that holds every colour of `picture` within kPaletteTolerance, the one with
// the least summed distance when several do (the first on a tie).
PaletteMatch matchPalette(const Image& picture, std::span<const NamedPalette> candidates);

// Every pixel replaced by the colour of `colours` nearest to it.
void snapToPalette(Image& picture, const C64Colours& colours);

} // namespace quendra

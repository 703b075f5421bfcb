// Palettes a picture can be shown in: the program's own 16 colours, three that other C64
// tools use, and VICE palette files (.vpl). A palette gives the RGB colour of each C64
// colour number; applyPalette turns a decoded picture's indices into colours with it,
// following what the indices stand for (IndexMeaning).
#pragma once

#include <array>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "decode/image.h"

namespace quendra {

// RGB by C64 colour number.
using C64Colours = std::array<Rgb, 16>;

struct NamedPalette {
    std::string_view name;        // as given on a command line and kept in the settings
    std::string_view description; // for people: menus and --help
    C64Colours colours;
};

// default (the program's own, kC64Palette), pepto, colodore, vice-old; in that order.
std::span<const NamedPalette> namedPalettes();
// The program's own palette: its row of namedPalettes().
const NamedPalette& defaultPalette();
// The row called `name` (exact), or nullptr.
const NamedPalette* findPalette(std::string_view name);
// "default, pepto, colodore, vice-old".
std::string paletteNameList();

// A palette read from somewhere: the colours, or why not (for people).
struct PaletteResult {
    bool ok = false;
    std::string error;
    C64Colours colours{};
};

// A VICE palette file's text: "#" starts a comment (to the end of the line), blank lines are
// skipped, and the 16 colour lines hold red, green and blue as two hexadecimal digits each,
// optionally followed by a fourth value (VICE's dither value, not used). Anything else, or
// fewer or more than 16 colours, is an error that names the line; the colours are returned
// only when the whole file was read.
PaletteResult parseVpl(std::string_view text);
// The same for a file (at most 64 KiB read; a larger file is refused).
PaletteResult readVplFile(const std::filesystem::path& path);
// A name from namedPalettes(), or else the path of a .vpl file.
PaletteResult resolvePalette(std::string_view nameOrFile);

// The lookup table for a picture whose indices mean `meaning`, shown in `colours`:
// - C64 colour numbers: `colours` (grey: the 16 grey levels, whatever the palette);
// - GoDot indices: `colours` in GoDot's dark-to-light order (grey: 17 * index);
// - interlaced mixes: with the program's own colours the blend table; with any other
//   palette each channel the mean of the two colours rounded down, (a + b) >> 1;
// - fixed: empty (the picture keeps its own palette).
std::vector<Rgb> paletteLookup(IndexMeaning meaning, bool grey, const C64Colours& colours);

// Sets the picture's palette for `colours` (a fixed picture stays as it is).
void applyPalette(IndexedImage& picture, const C64Colours& colours);

// The picture drawn in the program's own colours (grey levels stay grey), whichever palette
// it is shown in: what the GoDot writer matches against its tables.
Image inOwnColours(IndexedImage picture);

} // namespace quendra

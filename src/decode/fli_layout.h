// FLI-family pictures at fixed offsets of the file: a bitmap, 8 screens (or one), the colour
// memory and a background or a background per pixel line, for one frame or two. The registry
// row of such a format holds its layout (C64Format::fli), and one decoder and one probe serve
// them all; fli.h draws the frames. Packed kinds, interlace rules and signatures with logic
// keep a reader unit.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "decode/cell_layout.h"

namespace quendra {

// The one read of an FLI layout: more than the longest takes, so a longer file is told.
inline constexpr std::size_t kFliLayoutReadLimit = 40000;

enum class FliKind : std::uint8_t {
    none,        // no FLI layout
    multicolour, // bit pairs: background, screen high nibble, screen low nibble, colour memory
    hires,       // bits: screen low nibble, screen high nibble
};

// How a layout with two frames shows the second.
enum class FliFrames : std::uint8_t {
    one,     // a single frame
    stacked, // below the first, 200 lines more, its cells counted on from 1000 (BFLI)
    mixed,   // interlaced: both frames mixed through the blend palette
};

// Where one frame lies: file offsets, load address included.
struct FliFrame {
    std::size_t bitmap = kAbsent;
    std::size_t screens = kAbsent;     // the first screen; the others 1024 bytes apart
    std::size_t backgrounds = kAbsent; // a background per pixel line; none: the layout's
};

struct FliLayout {
    FliKind kind = FliKind::none;
    std::string_view what = {}; // "an AFLI picture", for rejections
    LayoutLengths lengths = {};
    FliFrames shows = FliFrames::one;
    std::array<FliFrame, 2> frames = {};
    std::size_t colour = kAbsent;     // colour memory of both frames (multicolour)
    std::size_t background = kAbsent; // one background for every line; none: black
    // FLI: pixel line y takes screen y & 7, and the picture leaves out the 24-pixel strip the
    // machine cannot colour (296 wide). False: one screen a frame, 320 wide.
    bool screenPerLine = true;
    // Mixed frames: 1 shows the second frame one pixel to the right (picture column 0 then
    // takes the line's background).
    int shift = 0;
    int lines = 200;   // the picture's height (a frame's lines drawn)
    int firstLine = 0; // the frame's first line drawn
    CellEvidence evidence = CellEvidence::lengthAndAddress;
};

struct C64Format;

// The picture of a file in `format`'s FLI layout, or why not: a file of another length (its
// size on disk decides) or without the row's signature is refused.
Decoded decodeFliLayout(const C64Format& format, Bytes file, const DecodeOptions& options);

// The layout's probe: the row's signature where it has one, else its lengths and evidence.
int probeFliLayout(const C64Format& format, Bytes file, std::uint64_t fileSize);

} // namespace quendra

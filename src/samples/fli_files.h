// Builders of FLI-family and interlaced picture files from their parts, for tests, fuzz
// seeds and samples. Each builder stores the parts its format holds and leaves out the rest.
#pragma once

#include <array>
#include <cstdint>

#include "samples/c64_files.h"

namespace quendra {
struct C64Format;
}

namespace quendra::samples {

// One frame in cell order, 1024 cells: eight screens (a format with one screen stores
// screens[0]), the bitmap and a background for every pixel line (a format with one
// background stores backgrounds[0]).
struct FliLayer {
    std::array<std::array<std::uint8_t, 1024>, 8> screens{};
    std::array<std::uint8_t, 8192> bitmap{};
    std::array<std::uint8_t, 200> backgrounds{};
};

// frames[1] is the second frame of an interlaced picture, or the lower half of a BFLI one.
struct FliPicture {
    std::array<FliLayer, 2> frames;
    std::array<std::uint8_t, 1024> colour{};
};

// Every screen gives each cell other colours on each of its 8 lines, every line has its own
// background, every cell uses all bit pairs, and the two frames differ. Colour and
// background bytes carry junk in their high nibbles.
FliPicture fliPattern(unsigned seed = 0);

// FLI Designer: $3C00, colour, screens, bitmap of frames[0]; 17218 bytes (17409 padded).
ByteVector makeFliDesigner(const FliPicture& p, bool padded = false);

// FLI Graph: $3B00, the backgrounds of frames[0], colour, screens, bitmap (17474 bytes).
ByteVector makeFliGraph(const FliPicture& p);
// The same packed: $3B00, the escape, then the data stored to be read from the end.
ByteVector makeFliGraphPacked(const FliPicture& p, std::uint8_t escape = 0xF7);

// AFLI: $4000, screens and bitmap of frames[0] (16385 bytes).
ByteVector makeAfli(const FliPicture& p);

// Hires FLI (Crest): $4000, bitmap and screens of frames[0] (16386 bytes).
ByteVector makeHiresFli(const FliPicture& p);

// BFLI: $3BFF, 'b', colour (1024), then screens and bitmap of frames[0] (upper half) and
// frames[1] (lower half); 33795 bytes.
ByteVector makeBfli(const FliPicture& p);

// True Paint: $9C00, screens[0] and bitmap of both frames, background frames[0]
// .backgrounds[0], colour (19434 bytes).
ByteVector makeTruePaint(const FliPicture& p);
// The same as a packed program: an unpacker's tables (markers, their kinds, the values
// they stand for) and the data stored to be read from the end, using every kind of token.
ByteVector makeTruePaintPacked(const FliPicture& p);

// Drazlace: $5800, colour, frames[0].screens[0], both bitmaps, frames[0].backgrounds[0], the
// shift byte; 18242 bytes, or packed after "DRAZLACE! 1.0" with `escape`.
ByteVector drazlaceData(const FliPicture& p, std::uint8_t shift); // after the load address
ByteVector makeDrazlace(const FliPicture& p, std::uint8_t shift = 1);
ByteVector makeDrazlacePacked(const FliPicture& p, std::uint8_t shift = 1,
                              std::uint8_t escape = 0x2B);

// Gunpaint: $4000, both frames' screens and bitmaps, frames[0]'s backgrounds of lines
// 0..196 in their two places, colour, "GUNPAINT (JZ)   "; 33603 bytes.
ByteVector makeGunpaint(const FliPicture& p);

// FFLI: $3AFF, 'f', both frames' backgrounds and screens, frames[0]'s bitmap, colour
// (26115 bytes).
ByteVector makeFfli(const FliPicture& p);

// Drazpaint: $5800, colour, frames[0].screens[0], its bitmap, backgrounds[0]; 10051 bytes,
// or packed after "DRAZPAINT 1.4" with `escape`.
ByteVector drazpaintData(const FliPicture& p); // after the load address
ByteVector makeDrazpaint(const FliPicture& p);
ByteVector makeDrazpaintPacked(const FliPicture& p, std::uint8_t escape = 0x0E);

// Hires-Interlace: $2000, both frames' bitmaps and screens[0] (24578 bytes).
ByteVector makeHiresInterlace(const FliPicture& p);

// Packs with "escape count value" tokens to be read from the last byte down, as FLI Graph
// reads them (count 0 meaning 256 is never written).
ByteVector fliGraphRuns(const ByteVector& data, std::uint8_t escape);

// A file of an FLI-layout format (its registry row's `fli`) holding `p`: the row's first
// length, load address and signature; 1000 bytes of each screen and the colour memory and
// 8000 of each bitmap (all 1024 and 8192 where two frames are stacked); bytes no memory
// covers are 0.
ByteVector makeFliFile(const C64Format& format, const FliPicture& p);

} // namespace quendra::samples

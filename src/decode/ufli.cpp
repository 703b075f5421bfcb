// UFLI and UIFLI: hires pictures with a colour screen for every two lines and a layer of
// x-expanded hires sprites behind the bitmap's clear pixels; 288 wide (cell columns 3-38).
//   .ufl  16194 bytes: sprites 2, one colour per sprite column when byte 4081 is 1 (bytes
//         4084-4089) else one colour (4082), 4 screens 4098 (line y: screen (y >> 1) & 3),
//         bitmap 8194; any other length packed: escape byte 2, a forward stream (count 0 =
//         256) from 3 into offsets 2-16193.
//   .uif  packed, two frames: escape byte 2, a backward stream into 32576 bytes without load
//         address: screens 0, sprites 4096, bitmap 8192, the second frame 16384 on; both
//         take the sprite colour at 4080. Mixed, no shift.
// No real UFLI or UIFLI file was at hand.
#include <vector>

#include "decode/blend.h"
#include "decode/escape_runs.h"
#include "decode/fli.h"
#include "decode/further_readers.h"

namespace quendra {

namespace {

constexpr int kWidth = 288;

struct UfliFrame {
    const std::uint8_t* sprites;
    const std::uint8_t* screens;
    const std::uint8_t* bitmap;
    const std::uint8_t* columnColours; // six, or null for one colour
    std::uint8_t colour;
};

// Cell by cell: pixel x = 8 column + i shows sprite pixel x >> 1 = 4 column + (i >> 1).
void drawUfli(const UfliFrame& f, std::uint8_t* pixels) {
    for (int y = 0; y < 200; ++y) {
        const std::uint8_t* screen = f.screens + 1024 * ((y >> 1) & 3);
        const int spriteLine = ((y + 1) >> 1) % 21;
        const int firstSprite = 12 * (y / 40) + 3 * (y & 2);
        std::uint8_t* row = pixels + kWidth * y;
        for (int column = 0; column < kWidth / 8; ++column) {
            const int cell = 40 * (y >> 3) + 3 + column;
            const std::uint8_t on = screen[cell] >> 4, off = screen[cell] & 15;
            const unsigned bits = f.bitmap[8 * cell + (y & 7)];
            const int slot = column / 6;
            const std::uint8_t ink = (f.columnColours ? f.columnColours[slot] : f.colour) & 15;
            const unsigned sprite =
                f.sprites[64 * (firstSprite + slot) + 3 * spriteLine + (column >> 1) % 3];
            const int first = (4 * column) & 7; // the sprite bit of the cell's first pixel
            std::uint8_t* p = row + 8 * column;
            for (int i = 0; i < 8; ++i) {
                p[i] = (bits >> (7 - i)) & 1                            ? on
                       : (sprite >> (7 - (first + (i >> 1)))) & 1 ? ink
                                                                   : off;
            }
        }
    }
}

Decoded cutOff(std::string_view suffix) {
    return Decoded::reject(suffix, "the packed data of this picture end before the picture is "
                                   "complete");
}

} // namespace

Decoded decodeUfli(Bytes file, const DecodeOptions& options) {
    constexpr std::string_view kSuffix = " (UFLI)";
    std::vector<std::uint8_t> unpacked;
    const std::uint8_t* m = file.data();
    if (!hasLengthOneOf(file, options, {16194})) {
        if (file.size() < 6 || reportedSize(file, options) != file.size())
            return Decoded::reject(kSuffix, fli::lengthReason("a UFLI picture", "16194, or packed",
                                                              file, options));
        unpacked.assign(16194, 0);
        EscapeStream stream(file, 3, false);
        if (!stream.fill(std::span(unpacked).subspan(2), file[2], RunCount::zeroIs256))
            return cutOff(kSuffix);
        m = unpacked.data();
    }
    Decoded d = fli::accepted(kSuffix, options, kWidth, 200, fli::Colours::single);
    drawUfli({m + 2, m + 4098, m + 8194, m[4081] == 1 ? m + 4084 : nullptr, m[4082]},
             d.picture.row(0));
    return d;
}

int probeUfli(Bytes, std::uint64_t fileSize) {
    return fileSize == 16194 ? fli::kProbeSize : 0;
}

Decoded decodeUifli(Bytes file, const DecodeOptions& options) {
    constexpr std::string_view kSuffix = " (UIFLI)";
    if (file.size() < 6 || reportedSize(file, options) != file.size())
        return Decoded::reject(kSuffix, fli::lengthReason("a UIFLI picture", "at least 6", file,
                                                          options));
    std::vector<std::uint8_t> m(32576, 0);
    EscapeStream stream(file, file.size() - 1, true);
    if (!stream.fill(m, file[2], RunCount::zeroIs256))
        return cutOff(kSuffix);
    std::vector<std::uint8_t> a(kWidth * 200), b(kWidth * 200);
    drawUfli({&m[4096], &m[0], &m[8192], nullptr, m[4080]}, a.data());
    drawUfli({&m[20480], &m[16384], &m[24576], nullptr, m[4080]}, b.data());
    Decoded d = fli::accepted(kSuffix, options, kWidth, 200, fli::Colours::mixed);
    for (int y = 0; y < 200; ++y) {
        std::uint8_t* row = d.picture.row(y);
        for (int x = 0; x < kWidth; ++x)
            row[x] = blendPosition(a[static_cast<std::size_t>(kWidth * y + x)],
                                   b[static_cast<std::size_t>(kWidth * y + x)]);
    }
    return d;
}

} // namespace quendra

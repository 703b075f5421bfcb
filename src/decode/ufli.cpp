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

#include "decode/cell_words.h"
#include "decode/escape_runs.h"
#include "decode/fli.h"
#include "decode/further_readers.h"
#include "decode/row_facts.h"

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

// Cell by cell: pixel x = 8 column + i shows sprite pixel x >> 1 = 4 column + (i >> 1). The
// frame's pixels are `parts` of their colours (colour numbers, or one frame's part of a blend
// position); with `mixIn` they are or-ed into the pixels there, as the second frame of a mix.
template <bool mixIn>
void drawUfli(const UfliFrame& f, const cellwords::Word* parts, std::uint8_t* pixels) {
    using namespace cellwords;
    for (int y = 0; y < 200; ++y) {
        const std::uint8_t* screen = f.screens + 1024 * ((y >> 1) & 3);
        const int spriteLine = ((y + 1) >> 1) % 21;
        const int firstSprite = 12 * (y / 40) + 3 * (y & 2);
        const std::uint8_t* bitmap = f.bitmap + (y & 7);
        const int firstCell = 40 * (y >> 3) + 3;
        std::uint8_t* row = pixels + kWidth * y;
        for (int slot = 0; slot < kWidth / 48; ++slot) {
            const Word ink = parts[(f.columnColours ? f.columnColours[slot] : f.colour) & 15];
            const std::uint8_t* sprite = f.sprites + 64 * (firstSprite + slot) + 3 * spriteLine;
            for (int column = 6 * slot; column < 6 * slot + 6; ++column) {
                const int cell = firstCell + column;
                const Word on = parts[screen[cell] >> 4], off = parts[screen[cell] & 15];
                // Even columns show the high nibble of their sprite byte, odd ones the low.
                const unsigned spriteBits = sprite[(column >> 1) % 3] << (4 * (column & 1));
                const Word w = select(select(off, ink, kMasks.doubled[spriteBits & 0xFF]), on,
                                      kMasks.hires[bitmap[8 * cell]]);
                std::uint8_t* out = row + 8 * column;
                store(out, mixIn ? load(out) | w : w);
            }
        }
    }
}

Decoded cutOff() {
    return Decoded::reject("the packed data of this picture end before the picture is "
                           "complete");
}

} // namespace

Decoded decodeUfli(Bytes file, const DecodeOptions& options) {
    std::vector<std::uint8_t> unpacked;
    const std::uint8_t* m = file.data();
    if (!hasLayoutLength(formatRow(FormatId::ufli).lengths, file, options)) {
        if (file.size() < 6 || reportedSize(file, options) != file.size())
            return Decoded::reject(fli::lengthReason(
                "a UFLI picture", sizesOf(formatRow(FormatId::ufli)), file, options));
        unpacked.assign(formatRow(FormatId::ufli).lengths[0], 0);
        EscapeStream stream(file, 3, false);
        if (!stream.fill(std::span(unpacked).subspan(2), file[2], RunCount::zeroIs256))
            return cutOff();
        m = unpacked.data();
    }
    Decoded d = fli::accepted(options, kWidth, 200, fli::Colours::single);
    drawUfli<false>({m + 2, m + 4098, m + 8194, m[4081] == 1 ? m + 4084 : nullptr, m[4082]},
                    cellwords::kColourParts.colourNumbers, d.picture.row(0));
    return d;
}

int probeUfli(Bytes, std::uint64_t fileSize) {
    return takesLength(formatRow(FormatId::ufli), fileSize) ? fli::kProbeSize : 0;
}

Decoded decodeUifli(Bytes file, const DecodeOptions& options) {
    if (file.size() < 6 || reportedSize(file, options) != file.size())
        return Decoded::reject(fli::lengthReason("a UIFLI picture", "at least 6", file, options));
    std::vector<std::uint8_t> m(32576, 0);
    EscapeStream stream(file, file.size() - 1, true);
    if (!stream.fill(m, file[2], RunCount::zeroIs256))
        return cutOff();
    Decoded d = fli::accepted(options, kWidth, 200, fli::Colours::mixed);
    drawUfli<false>({&m[4096], &m[0], &m[8192], nullptr, m[4080]}, cellwords::kColourParts.first,
                    d.picture.row(0));
    drawUfli<true>({&m[20480], &m[16384], &m[24576], nullptr, m[4080]},
                   cellwords::kColourParts.second, d.picture.row(0));
    return d;
}

} // namespace quendra

#include "decode/fli.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "decode/blend.h"
#include "decode/cell_words.h"
#include "decode/palette.h"

namespace quendra::fli {

Decoded accepted(const DecodeOptions& options, int width, int height, Colours colours) {
    Decoded d = Decoded::accept(options, width, height);
    if (colours == Colours::mixed) {
        d.picture.setPalette(blendPalette());
        d.picture.setMeaning(IndexMeaning::blendPairs, false);
    } else {
        d.picture.setPalette(c64Palette(options.grey));
        d.picture.setMeaning(IndexMeaning::c64Numbers, options.grey);
    }
    return d;
}

namespace {

using namespace cellwords;


// One pixel line of a frame, ready to draw cell by cell.
struct FrameLine {
    const std::uint8_t* bitmap; // the line's byte of cell 0
    const std::uint8_t* screen;
    const std::uint8_t* colour;
    const Word* parts;
    Word background;
    unsigned firstCell; // cell number of the line's column 0, before wrapping at 1024

    FrameLine(const FrameMemory& frame, const Word* partsOf, int y)
        : bitmap(frame.bitmap + (y & 7)),
          screen(frame.screens + frame.screenStride * static_cast<unsigned>(y & 7)),
          colour(frame.colour), parts(partsOf),
          background(frame.hires ? 0 : partsOf[frame.backgrounds[y] & 15]),
          firstCell(static_cast<unsigned>(frame.cellBase + 40 * (y >> 3))) {}

    // The 8 pixels of cell column cx.
    template <bool hires> Word cell(int cx) const {
        const unsigned c = (firstCell + static_cast<unsigned>(cx)) & 1023;
        const unsigned s = screen[c];
        const unsigned bits = bitmap[8 * c];
        if constexpr (hires) {
            // Bit 0 shows the screen byte's low nibble, bit 1 its high nibble.
            const Word zero = parts[s & 15], one = parts[s >> 4];
            return zero ^ ((zero ^ one) & kMasks.hires[bits]);
        } else {
            // Pairs 00 background, 01 screen high nibble, 10 screen low nibble, 11 colour.
            const Word low = kMasks.lowOfPair[bits];
            const Word p0 = background ^ ((background ^ parts[s >> 4]) & low);
            const Word p1 = parts[s & 15] ^ ((parts[s & 15] ^ parts[colour[c] & 15]) & low);
            return p0 ^ ((p0 ^ p1) & kMasks.highOfPair[bits]);
        }
    }
};

// The word's pixels one to the right, pixel 0 taken from the last pixel of `before`.
Word shiftedRight(Word w, Word before) {
    if constexpr (std::endian::native == std::endian::little)
        return w << 8 | before >> 56;
    else
        return w >> 8 | before << 56;
}

template <bool hires>
void drawLines(IndexedImage& picture, const FrameMemory& frame, int firstLine, int lines, int left,
               int fromLine) {
    const int leftCell = left / 8;
    const int end = std::min(40, leftCell + picture.width() / 8);
    for (int y = 0; y < lines; ++y) {
        const FrameLine line(frame, kColourParts.colourNumbers, fromLine + y);
        std::uint8_t* out = picture.row(firstLine + y);
        for (int cx = leftCell; cx < end; ++cx)
            store(out + 8 * (cx - leftCell), line.template cell<hires>(cx));
    }
}

template <bool firstHires, bool secondHires, bool shifted>
void mixLines(IndexedImage& picture, const FrameMemory& first, const FrameMemory& second, int left,
              int firstColumn, int endColumn) {
    const int leftCell = left / 8;
    const int begin = std::max(firstColumn, leftCell);
    const int end = std::min(endColumn, leftCell + picture.width() / 8);
    for (int y = 0; y < picture.height(); ++y) {
        const FrameLine a(first, kColourParts.first, y), b(second, kColourParts.second, y);
        std::uint8_t* out = picture.row(y);
        // Left of the picture's first column the second frame shows its background.
        Word before = 0;
        if constexpr (shifted)
            before = begin == leftCell ? b.background : b.template cell<secondHires>(begin - 1);
        for (int cx = begin; cx < end; ++cx) {
            Word w = b.template cell<secondHires>(cx);
            if constexpr (shifted) {
                const Word next = w;
                w = shiftedRight(w, before);
                before = next;
            }
            store(out + 8 * (cx - leftCell), a.template cell<firstHires>(cx) | w);
        }
    }
}

} // namespace

SameBackground::SameBackground(std::uint8_t background) {
    std::memset(lines, background, sizeof lines);
}

void drawFrame(IndexedImage& picture, const FrameMemory& frame, int firstLine, int lines, int left,
               int fromLine) {
    lines = std::min(lines, picture.height() - firstLine);
    if (frame.hires)
        drawLines<true>(picture, frame, firstLine, lines, left, fromLine);
    else
        drawLines<false>(picture, frame, firstLine, lines, left, fromLine);
}

void drawMix(IndexedImage& picture, const FrameMemory& first, const FrameMemory& second, int left,
             int shift, int firstColumn, int endColumn) {
    using Mix = void (*)(IndexedImage&, const FrameMemory&, const FrameMemory&, int, int, int);
    // By first frame hires, second frame hires, shifted.
    constexpr Mix kMixes[2][2][2] = {{{mixLines<false, false, false>, mixLines<false, false, true>},
                                      {mixLines<false, true, false>, mixLines<false, true, true>}},
                                     {{mixLines<true, false, false>, mixLines<true, false, true>},
                                      {mixLines<true, true, false>, mixLines<true, true, true>}}};
    kMixes[first.hires][second.hires][shift != 0](picture, first, second, left, firstColumn,
                                                  endColumn);
}

} // namespace quendra::fli

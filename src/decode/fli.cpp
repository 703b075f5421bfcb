#include "decode/fli.h"

#include <algorithm>
#include <cstring>

#include "decode/blend.h"
#include "decode/palette.h"

namespace quendra::fli {

Decoded accepted(std::string_view suffix, const DecodeOptions& options, int width, int height,
                 Colours colours) {
    Decoded d = Decoded::accept(suffix, options, width, height);
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

struct PartTables {
    std::uint8_t colourNumbers[16], first[16], second[16];
    constexpr PartTables() : colourNumbers{}, first{}, second{} {
        for (std::uint8_t c = 0; c < 16; ++c) {
            colourNumbers[c] = c;
            first[c] = blendFirst(c);
            second[c] = blendSecond(c);
        }
    }
};
constexpr PartTables kParts;

} // namespace

FrameBuffer::FrameBuffer(Holds holds, int lines)
    : holds_(holds), lines_(lines), parts_(holds == Holds::FirstOfPair    ? kParts.first
                                           : holds == Holds::SecondOfPair ? kParts.second
                                                                          : kParts.colourNumbers),
      pixels_(static_cast<std::size_t>(lines) * kScreenWidth) {}

SameBackground::SameBackground(std::uint8_t background) {
    std::memset(lines, background, sizeof lines);
}

void drawFrame(const FrameMemory& frame, FrameBuffer& out, int firstLine, int lines,
               int firstColumn, int endColumn) {
    for (int y = 0; y < lines; ++y) {
        const int row = y >> 3;
        const int k = y & 7;
        const std::uint8_t* screen = frame.screens + frame.screenStride * static_cast<unsigned>(k);
        std::uint8_t* pixels = out.line(firstLine + y);
        if (frame.hires) {
            for (int cx = firstColumn; cx < endColumn; ++cx) {
                const unsigned cell = static_cast<unsigned>(frame.cellBase + 40 * row + cx) & 1023;
                const std::uint8_t s = screen[cell];
                const std::uint8_t colours[2] = {out.part(s), out.part(s >> 4)};
                const unsigned b = frame.bitmap[8 * cell + k];
                std::uint8_t* p = pixels + 8 * cx;
                for (int i = 0; i < 8; ++i)
                    p[i] = colours[(b >> (7 - i)) & 1];
            }
        } else {
            const std::uint8_t background = out.part(frame.backgrounds[y]);
            for (int cx = firstColumn; cx < endColumn; ++cx) {
                const unsigned cell = static_cast<unsigned>(frame.cellBase + 40 * row + cx) & 1023;
                const std::uint8_t s = screen[cell];
                // Pairs 00 background, 01 screen high nibble, 10 screen low nibble, 11 colour.
                const std::uint8_t colours[4] = {background, out.part(s >> 4), out.part(s),
                                                 out.part(frame.colour[cell])};
                const unsigned b = frame.bitmap[8 * cell + k];
                std::uint8_t* p = pixels + 8 * cx;
                for (int m = 0; m < 4; ++m) {
                    const std::uint8_t c = colours[(b >> (6 - 2 * m)) & 3];
                    p[2 * m] = c;
                    p[2 * m + 1] = c;
                }
            }
        }
    }
}

void showFrame(IndexedImage& picture, const FrameBuffer& frame, int left) {
    const int lines = std::min(picture.height(), frame.lines());
    for (int y = 0; y < lines; ++y)
        std::memcpy(picture.row(y), frame.line(y) + left,
                    static_cast<std::size_t>(picture.width()));
}

void showMix(IndexedImage& picture, const FrameBuffer& first, const FrameBuffer& second, int left,
             int shift, const std::uint8_t* secondBackgrounds, int firstX, int endX) {
    const int lines = std::min({picture.height(), first.lines(), second.lines()});
    const int secondLeft = left - shift;
    for (int y = 0; y < lines; ++y) {
        const std::uint8_t* a = first.line(y) + left;
        const std::uint8_t* b = second.line(y);
        std::uint8_t* out = picture.row(y);
        int x = firstX;
        if (x == 0 && shift != 0) {
            out[0] = static_cast<std::uint8_t>(a[0] | second.part(secondBackgrounds[y]));
            x = 1;
        }
        for (; x < endX; ++x)
            out[x] = static_cast<std::uint8_t>(a[x] | b[x + secondLeft]);
    }
}

void drawMix(IndexedImage& picture, const FrameMemory& first, const FrameMemory& second, int left,
             int shift) {
    FrameBuffer firstLines(Holds::FirstOfPair), secondLines(Holds::SecondOfPair);
    drawFrame(first, firstLines, 0, kLines);
    drawFrame(second, secondLines, 0, kLines);
    showMix(picture, firstLines, secondLines, left, shift, second.backgrounds, 0, picture.width());
}

} // namespace quendra::fli

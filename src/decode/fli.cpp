#include "decode/fli.h"

#include <algorithm>
#include <cstring>

#include "decode/blend.h"

namespace quendra::fli {

Decoded accepted(std::string_view suffix, int width, int height, std::span<const Rgb> palette) {
    Decoded d;
    d.accepted = true;
    d.captionSuffix = suffix;
    d.picture.resize(width, height);
    d.picture.setPalette(palette);
    return d;
}

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
                const std::uint8_t colours[2] = {static_cast<std::uint8_t>(s & 15),
                                                 static_cast<std::uint8_t>(s >> 4)};
                const unsigned b = frame.bitmap[8 * cell + k];
                std::uint8_t* p = pixels + 8 * cx;
                for (int i = 0; i < 8; ++i)
                    p[i] = colours[(b >> (7 - i)) & 1];
            }
        } else {
            const std::uint8_t background = frame.backgrounds[y] & 15;
            for (int cx = firstColumn; cx < endColumn; ++cx) {
                const unsigned cell = static_cast<unsigned>(frame.cellBase + 40 * row + cx) & 1023;
                const std::uint8_t s = screen[cell];
                // Pairs 00 background, 01 screen high nibble, 10 screen low nibble, 11 colour.
                const std::uint8_t colours[4] = {
                    background, static_cast<std::uint8_t>(s >> 4),
                    static_cast<std::uint8_t>(s & 15),
                    static_cast<std::uint8_t>(frame.colour[cell] & 15)};
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

namespace {

// The blend position of every (first, second) pair, first in the high nibble of the index.
struct BlendTable {
    std::uint8_t position[256];
    constexpr BlendTable() : position{} {
        for (int i = 0; i < 256; ++i)
            position[i] =
                blendPosition(static_cast<std::uint8_t>(i >> 4), static_cast<std::uint8_t>(i & 15));
    }
};
constexpr BlendTable kBlend;

} // namespace

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
            out[0] = kBlend.position[a[0] << 4 | (secondBackgrounds[y] & 15)];
            x = 1;
        }
        for (; x < endX; ++x)
            out[x] = kBlend.position[a[x] << 4 | b[x + secondLeft]];
    }
}

} // namespace quendra::fli

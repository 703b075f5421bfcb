// Sample pictures of the FLI family and the interlaced formats: rings over colour bars that
// change on every pixel line where the format has a screen per line (FLI), and frames of
// another phase where the format mixes two.
#include <cmath>

#include "samples/fli_files.h"
#include "samples/sample_files.h"

namespace quendra::samples {

namespace {

// The C64 colours in GoDot's dark-to-light order, so bars run smoothly.
constexpr std::uint8_t kRamp[16] = {0, 6, 9, 11, 2, 4, 8, 12, 14, 10, 5, 15, 3, 7, 13, 1};

// A colour that runs up the ramp and down again as `step` grows.
std::uint8_t barColour(int step) {
    const int i = step % 30;
    return kRamp[i < 16 ? i : 30 - i];
}

// Draws one frame into `layer`: screen colours from bars by pixel line (phase moves them),
// a bitmap of rings around (centreX, centreY) in 320 x `lines` pixels. The layer's cell 40 *
// row + column is its cell (cellBase + 40 * row + column) & 1023, as BFLI's lower half counts.
void drawLayer(FliLayer& layer, bool hires, int phase, int centreX, int centreY, int lines = 200,
               int lineOffset = 0, int cellBase = 0) {
    for (int y = 0; y < lines; ++y) {
        const int line = y + lineOffset;
        for (int column = 0; column < 40; ++column) {
            const int cell = (cellBase + 40 * (y / 8) + column) & 1023;
            layer.screens[y % 8][cell] = static_cast<std::uint8_t>(
                barColour(line / 4 + phase) << 4 | barColour(line / 4 + phase + 12 + column / 5));
            std::uint8_t bits = 0;
            for (int i = 0; i < 8; ++i) {
                const int x = 8 * column + i;
                const int dx = x - centreX, dy = line - centreY;
                const int ring = static_cast<int>(std::sqrt(dx * dx + dy * dy)) / 12;
                if (hires) {
                    bits = static_cast<std::uint8_t>(bits << 1 | (ring % 2));
                } else if (i % 2 == 0) {
                    const int pair = ring > 7 ? 0 : 1 + ring % 3;
                    bits = static_cast<std::uint8_t>(bits << 2 | pair);
                }
            }
            layer.bitmap[8 * cell + y % 8] = bits;
        }
    }
}

// One frame or two (phase apart), rings in the middle; colour memory light grey.
FliPicture drawing(bool hires, int secondPhase = 7) {
    FliPicture p;
    drawLayer(p.frames[0], hires, 0, 160, 100);
    drawLayer(p.frames[1], hires, secondPhase, 164, 100);
    p.colour.fill(15);
    return p;
}

ByteVector sampleFliDesigner() {
    return makeFliDesigner(drawing(false));
}

ByteVector sampleFliGraph() {
    FliPicture p = drawing(false);
    for (int y = 0; y < 200; ++y) // a background bar of its own on every line
        p.frames[0].backgrounds[y] = barColour(y / 4 + 20);
    return makeFliGraph(p);
}

ByteVector sampleAfli() {
    return makeAfli(drawing(true));
}

ByteVector sampleHiresFli() {
    FliPicture p;
    drawLayer(p.frames[0], true, 3, 160, 56, 112);
    return makeHiresFli(p);
}

ByteVector sampleBfli() {
    // One drawing 400 lines high across both halves.
    FliPicture p;
    drawLayer(p.frames[0], false, 0, 160, 200, 200, 0, 0);
    drawLayer(p.frames[1], false, 0, 160, 200, 200, 200, 1000);
    p.colour.fill(15);
    return makeBfli(p);
}

ByteVector sampleTruePaint() {
    return makeTruePaint(drawing(false));
}

ByteVector sampleDrazlace() {
    return makeDrazlacePacked(drawing(false), /*shift=*/1, 0xFF);
}

ByteVector sampleGunpaint() {
    return makeGunpaint(drawing(false));
}

ByteVector sampleFfli() {
    FliPicture p = drawing(false, 5);
    p.frames[1].bitmap = p.frames[0].bitmap; // FFLI's frames share the bitmap
    return makeFfli(p);
}

ByteVector sampleDrazpaint() {
    return makeDrazpaintPacked(drawing(false));
}

ByteVector sampleHiresInterlace() {
    return makeHiresInterlace(drawing(true, 9));
}

const SampleBuilder kBuilders[] = {
    {"fli-designer.fli", sampleFliDesigner, 296, 200},
    {"fli-graph.bml", sampleFliGraph, 296, 200},
    {"afli.afl", sampleAfli, 296, 200},
    {"hires-fli.hfc", sampleHiresFli, 296, 112},
    {"bfli.bfli", sampleBfli, 296, 400},
    {"true-paint.mci", sampleTruePaint},
    {"drazlace.drl", sampleDrazlace},
    {"gunpaint.gun", sampleGunpaint, 296, 200},
    {"ffli.ffli", sampleFfli, 296, 200},
    {"drazpaint.drp", sampleDrazpaint},
    {"hires-interlace.hlf", sampleHiresInterlace},
};

} // namespace

std::span<const SampleBuilder> fliSampleBuilders() {
    return kBuilders;
}

} // namespace quendra::samples

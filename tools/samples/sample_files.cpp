#include "samples/sample_files.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "decode/palette.h"
#include "export/godot_writer.h"
#include "samples/funpainter_files.h"
#include "samples/godot_files.h"
#include "samples/printfox_files.h"

namespace quendra::samples {

namespace {

// A hires picture: colour pairs per cell with a different drawing than the test pattern:
// a diagonal of squares on stripes.
CellPicture hiresDrawing() {
    CellPicture p = testPattern(5);
    for (int n = 0; n < 1000; ++n) {
        const int row = n / 40, col = n % 40;
        for (int k = 0; k < 8; ++k) {
            const bool square = std::abs(col - row * 8 / 5) < 3 && k > 0 && k < 7;
            p.bitmap[8 * n + k] = square ? 0x7E : static_cast<std::uint8_t>(k % 2 ? 0xAA : 0x55);
        }
        p.screen[n] = static_cast<std::uint8_t>(((row + col) % 15 + 1) << 4 | (col % 8));
    }
    return p;
}

// Black rings around the page's middle, in cell order (8 bytes a cell, bit 7 leftmost).
ByteVector ringsPage(int columns, int rows) {
    ByteVector page(static_cast<std::size_t>(columns) * rows * 8, 0);
    const int cx = columns * 4, cy = rows * 4;
    for (int y = 0; y < rows * 8; ++y) {
        for (int x = 0; x < columns * 8; ++x) {
            const int r2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
            const bool black = (r2 / (24 * columns)) % 2 == 0 || x < 4 || y < 4 ||
                               x >= columns * 8 - 4 || y >= rows * 8 - 4;
            if (black) {
                const std::size_t cell = static_cast<std::size_t>(y / 8) * columns + x / 8;
                page[cell * 8 + y % 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
    }
    return page;
}

// A GoDot file written by the program's own writer from palette indices.
template <typename IndexAt>
ByteVector godotFile(int width, int height, IndexAt indexAt) {
    IndexedImage picture(width, height);
    picture.setPalette(kGodotPalette);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setIndex(x, y, static_cast<std::uint8_t>(indexAt(x, y)));
    return encodeGodot(picture.toRgb(), false).bytes;
}

// The C64 colour number of GoDot index i.
int c64OfGodotIndex(int i) {
    for (int c = 0; c < 16; ++c)
        if (kGodotIndexOfC64[c] == i)
            return c;
    return 0;
}

} // namespace

ByteVector sampleKoala() {
    return makeKoala(testPattern(0));
}

ByteVector sampleRunPaint() {
    return makeKoala(testPattern(3), /*padded=*/true);
}

ByteVector sampleKoalaCompressed() {
    return makeKoalaCompressed(testPattern(1));
}

ByteVector sampleAdvancedArtStudio() {
    return makeArtStudio(testPattern(2));
}

ByteVector sampleArtStudioHires() {
    return makeArtStudioHires(hiresDrawing());
}

ByteVector sampleAmica() {
    return makeAmica(testPattern(4));
}

ByteVector sampleDoodle() {
    return makeDoodle(hiresDrawing(), 0x1C00);
}

ByteVector sampleDoodleCompressed() {
    CellPicture p = hiresDrawing();
    std::reverse(p.screen.begin(), p.screen.end()); // not the same picture as the .dd
    return makeDoodleCompressed(p);
}

ByteVector samplePrintfoxScreen() {
    return makePrintfoxScreen(ringsPage(40, 25));
}

ByteVector samplePrintfoxLarge() {
    return makePrintfoxLarge(ringsPage(80, 50));
}

ByteVector samplePagefoxPage() {
    constexpr int kColumns = 50, kRows = 30;
    return makePagefoxPage(kRows, kColumns, ringsPage(kColumns, kRows));
}

ByteVector sampleFunPainter() {
    // The blend chart: the first frame's colour changes across, the second frame's down,
    // so every cell shows the mix of its column's and its row's colour. C64 colours in
    // GoDot's dark-to-light order, so the chart runs from dark to light both ways.
    FunPainterPicture p;
    for (int screen = 0; screen < 8; ++screen) {
        for (int n = 0; n < 1000; ++n) {
            const int row = n / 40, col = n % 40;
            const auto across = static_cast<std::uint8_t>(c64OfGodotIndex(col * 16 / 40));
            const auto down = static_cast<std::uint8_t>(c64OfGodotIndex(row * 16 / 25));
            p.first.screens[screen][n] = static_cast<std::uint8_t>(across << 4);
            p.second.screens[screen][n] = static_cast<std::uint8_t>(down << 4);
        }
    }
    p.first.bitmap.fill(0x55); // every pixel takes its screen's high nibble
    p.second.bitmap.fill(0x55);
    return makeFunPainter(p, /*packed=*/true, 0xFF);
}

ByteVector sampleGodotPicture() {
    // Sixteen bars dark to light, with a band of the same colours running the other way.
    return godotFile(320, 200, [](int x, int y) {
        const int bar = x / 20;
        return (y >= 80 && y < 120) ? 15 - bar : bar;
    });
}

ByteVector sampleGodotClip() {
    return godotFile(96, 64, [](int x, int y) {
        return ((x / 8 + y / 8) % 2 == 0) ? (x + y) / 12 % 16 : 15 - (x / 6) % 16;
    });
}

std::vector<SampleFile> allSampleFiles() {
    return {
        {"koala.koa", sampleKoala()},
        {"runpaint.rpm", sampleRunPaint()},
        {"art-studio-multicolour.ocp", sampleAdvancedArtStudio()},
        {"art-studio-hires.ocp", sampleArtStudioHires()},
        {"amica.ami", sampleAmica()},
        {"koala-compressed.gg", sampleKoalaCompressed()},
        {"doodle.dd", sampleDoodle()},
        {"doodle-compressed.jj", sampleDoodleCompressed()},
        {"printfox-screen.bs", samplePrintfoxScreen()},
        {"printfox-large.gb", samplePrintfoxLarge()},
        {"pagefox-page.pg", samplePagefoxPage()},
        {"funpainter.fp2", sampleFunPainter()},
        {"fli-designer.fli", sampleFliDesigner()},
        {"fli-graph.bml", sampleFliGraph()},
        {"afli.afl", sampleAfli()},
        {"hires-fli.hfc", sampleHiresFli()},
        {"bfli.bfli", sampleBfli()},
        {"true-paint.mci", sampleTruePaint()},
        {"drazlace.drl", sampleDrazlace()},
        {"gunpaint.gun", sampleGunpaint()},
        {"ffli.ffli", sampleFfli()},
        {"drazpaint.drp", sampleDrazpaint()},
        {"hires-interlace.hlf", sampleHiresInterlace()},
        {"godot.4bt", sampleGodotPicture()},
        {"godot-clip.clp", sampleGodotClip()},
    };
}

} // namespace quendra::samples

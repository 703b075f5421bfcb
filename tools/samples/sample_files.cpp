#include "samples/sample_files.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>

#include "decode/formats.h"
#include "decode/palette.h"
#include "export/godot_writer.h"
#include "samples/bitmap_files.h"
#include "samples/fli_files.h"
#include "samples/funpainter_files.h"
#include "samples/further_files.h"
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
template <typename IndexAt> ByteVector godotFile(int width, int height, IndexAt indexAt) {
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

ByteVector sampleArtStudioHiresArt() {
    return makeArtStudioHiresLayout(hiresDrawing(), 9009, 0x2000);
}

ByteVector sampleInterpaintHires() {
    CellPicture p = hiresDrawing();
    std::reverse(p.bitmap.begin(), p.bitmap.end());
    return makeArtStudioHiresLayout(p, 9002, 0x4000);
}

ByteVector sampleInterpaint() {
    return makeMulticolourFile(testPattern(6), kInterpaintLayout);
}

ByteVector sampleHiEddi() {
    CellPicture p = hiresDrawing();
    std::reverse(p.screen.begin(), p.screen.end());
    return makeHiEddi(p);
}

ByteVector sampleImageSystemHires() {
    CellPicture p = hiresDrawing();
    std::rotate(p.screen.begin(), p.screen.begin() + 13, p.screen.end());
    return makeImageSystemHires(p);
}

ByteVector sampleHiresBitmap() {
    return makeHiresBitmap(hiresDrawing());
}

ByteVector sampleHiresBitmapInverted() {
    CellPicture p = hiresDrawing();
    std::reverse(p.bitmap.begin(), p.bitmap.end());
    return makeHiresBitmap(p);
}

ByteVector sampleKla() {
    return makeKoala(testPattern(7));
}

ByteVector sampleAdvancedArtStudioMpic() {
    return makeArtStudio(testPattern(8));
}

ByteVector sampleBlazingPaddles() {
    return makeMulticolourFile(testPattern(9), kBlazingPaddlesLayout);
}

ByteVector sampleArtist64() {
    return makeMulticolourFile(testPattern(10), kArtist64Layout);
}

ByteVector sampleVidcom64() {
    return makeMulticolourFile(testPattern(11), kVidcom64Layout);
}

ByteVector sampleImageSystem() {
    return makeMulticolourFile(testPattern(12), kImageSystemLayout);
}

ByteVector sampleSaracenPaint() {
    return makeMulticolourFile(testPattern(13), kSaracenPaintLayout);
}

ByteVector samplePaintMagic() {
    return makePaintMagic(testPattern(14));
}

ByteVector sampleRainbowPainter() {
    return makeMulticolourFile(testPattern(15), kRainbowPainterLayout);
}

ByteVector sampleHiresManager() {
    // A disc in raster bars: every pixel line of a cell row has its own ink, on blue.
    HiresFliPicture p;
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 320; ++x) {
            const int dx = x - 172, dy = y - 104;
            if (dx * dx + dy * dy < 88 * 88 && (dx * dx + dy * dy) / 900 % 3 != 2)
                p.bitmap[static_cast<std::size_t>(y / 8 * 320 + x / 8 * 8 + y % 8)] |=
                    static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
    }
    constexpr std::uint8_t kBars[8] = {2, 10, 8, 7, 1, 7, 8, 10};
    for (int k = 0; k < 8; ++k) {
        for (int n = 0; n < 1000; ++n)
            p.screens[k][n] = static_cast<std::uint8_t>(kBars[(k + n / 40) % 8] << 4 | 6);
    }
    return makeHiresManager(p, /*packed=*/true);
}

// The builders of the samples the rows name, with the size of the picture each shows.
const SampleBuilder kBuilders[] = {
    {"koala.koa", sampleKoala},
    {"runpaint.rpm", sampleRunPaint},
    {"art-studio-multicolour.ocp", sampleAdvancedArtStudio},
    {"art-studio-hires.ocp", sampleArtStudioHires},
    {"amica.ami", sampleAmica},
    {"koala-compressed.gg", sampleKoalaCompressed},
    {"doodle.dd", sampleDoodle},
    {"doodle-compressed.jj", sampleDoodleCompressed},
    {"printfox-screen.bs", samplePrintfoxScreen},
    {"printfox-large.gb", samplePrintfoxLarge, 640, 400},
    {"pagefox-page.pg", samplePagefoxPage, 400, 240},
    {"funpainter.fp2", sampleFunPainter},
    {"godot.4bt", sampleGodotPicture},
    {"godot-clip.clp", sampleGodotClip, 96, 64},
    {"art-studio-hires-art.art", sampleArtStudioHiresArt},
    {"interpaint-hires.iph", sampleInterpaintHires},
    {"interpaint.ipt", sampleInterpaint},
    {"hi-eddi.hed", sampleHiEddi},
    {"image-system-hires.ish", sampleImageSystemHires},
    {"hires-bitmap.hbm", sampleHiresBitmap},
    {"hires-bitmap-inverted.gih", sampleHiresBitmapInverted},
    {"koala-pc.kla", sampleKla},
    {"advanced-art-studio.mpic", sampleAdvancedArtStudioMpic},
    {"blazing-paddles.pi", sampleBlazingPaddles},
    {"artist-64.a64", sampleArtist64},
    {"vidcom-64.vid", sampleVidcom64},
    {"image-system.ism", sampleImageSystem},
    {"saracen-paint.sar", sampleSaracenPaint},
    {"paint-magic.pmg", samplePaintMagic},
    {"rainbow-painter.rp", sampleRainbowPainter},
    {"hires-manager.him", sampleHiresManager, 296, 192},
};

// The file name of a generated sample: the row's name in lower case, words joined by "-",
// and its first extension ("cdu-paint.cdu").
std::string generatedName(const C64Format& row) {
    std::string stem;
    for (char c : row.name) {
        const bool word = std::isalnum(static_cast<unsigned char>(c));
        if (word || (!stem.empty() && stem.back() != '-'))
            stem += word ? static_cast<char>(std::tolower(static_cast<unsigned char>(c))) : '-';
    }
    return stem + std::string(row.extensions[0]);
}

// Every built sample by name: this file's builders, the FLI family's and the further
// formats'.
std::vector<SampleFile> builtSamples() {
    std::vector<SampleFile> built;
    for (std::span<const SampleBuilder> table :
         {std::span<const SampleBuilder>(kBuilders), fliSampleBuilders()}) {
        for (const SampleBuilder& b : table)
            built.push_back({std::string(b.name), b.build(), b.width, b.height});
    }
    for (FurtherSample& f : furtherSamples())
        built.push_back({std::move(f.name), std::move(f.bytes), f.width, f.height});
    return built;
}

} // namespace

std::vector<SampleFile> allSampleFiles() {
    std::vector<SampleFile> built = builtSamples();
    std::vector<SampleFile> files;
    for (std::size_t i = 0; i < c64Formats().size(); ++i) {
        const C64Format& row = c64Formats()[i];
        for (std::string_view name : row.samples) {
            const auto found = std::ranges::find(built, name, &SampleFile::name);
            if (name.empty() || found == built.end())
                continue;
            files.push_back(std::move(*found));
            files.back().row = &row;
            built.erase(found);
        }
        // A plain layout row that names no sample is shown by one made from its row, so that
        // adding one is a row and no sample code.
        if (!row.samples[0].empty() || row.extensions[0].empty())
            continue;
        const auto seed = static_cast<unsigned>(i);
        const FliLayout& fli = row.fli;
        if (row.cells.kind != CellKind::none) {
            files.push_back(
                {generatedName(row), makeCellFile(row, testPattern(seed)), 320, 200, &row});
        } else if (fli.kind != FliKind::none) {
            files.push_back({generatedName(row), makeFliFile(row, fliPattern(seed)),
                             fli.screenPerLine ? 296 : 320,
                             fli.shows == FliFrames::stacked ? 2 * fli.lines : fli.lines, &row});
        }
    }
    for (SampleFile& f : built)
        files.push_back(std::move(f));
    return files;
}

ByteVector sampleBytes(std::string_view name) {
    for (SampleFile& f : builtSamples()) {
        if (f.name == name)
            return std::move(f.bytes);
    }
    return {};
}

} // namespace quendra::samples

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "decode/blend.h"
#include "decode/palette.h"
#include "decode/palettes.h"
#include "decode/readers.h"
#include "samples/c64_files.h"
#include "samples/funpainter_files.h"

namespace quendra {
namespace {

// The C64 colour number of multicolour pixel (x, y) read from the memories.
int multicolourNumber(const samples::CellPicture& p, int x, int y) {
    const int n = 40 * (y / 8) + x / 8;
    const int m = (x % 8) / 2;
    const int pair = (p.bitmap[8 * n + y % 8] >> (6 - 2 * m)) & 3;
    switch (pair) {
    case 0:
        return p.background & 15;
    case 1:
        return p.screen[n] >> 4;
    case 2:
        return p.screen[n] & 15;
    default:
        return p.colour[n] & 15;
    }
}

TEST(Palettes, NamedPalettesColourEveryMulticolourPixelByItsNumber) {
    const samples::CellPicture cells = samples::testPattern(3);
    const Decoded d = decodeKoala(samples::makeKoala(cells), {});
    ASSERT_TRUE(d.accepted);
    ASSERT_EQ(paletteNameList(), "default, pepto, colodore, vice-old");
    EXPECT_EQ(findPalette("pepto")->colours[14], (Rgb{0x6C, 0x5E, 0xB5}));
    EXPECT_EQ(findPalette("colodore")->colours[9], (Rgb{0x55, 0x38, 0x00}));
    EXPECT_EQ(findPalette("vice-old")->colours[3], (Rgb{0x7A, 0xBF, 0xC7}));
    EXPECT_EQ(defaultPalette().colours, kC64Palette);
    for (const NamedPalette& palette : namedPalettes()) {
        IndexedImage shown = d.picture;
        applyPalette(shown, palette.colours);
        const Image rgb = shown.toRgb();
        int wrong = 0;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 320; ++x)
                wrong += !(rgb.pixel(x, y) == palette.colours[multicolourNumber(cells, x, y)]);
        EXPECT_EQ(wrong, 0) << palette.name;
    }
}

TEST(Palettes, GreyGodotAndPrintfoxPicturesKeepTheirOwnLevels) {
    const C64Colours& pepto = findPalette("pepto")->colours;
    DecodeOptions grey;
    grey.grey = true;
    IndexedImage koala = decodeKoala(samples::makeKoala(samples::testPattern()), grey).picture;
    const IndexedImage before = koala;
    applyPalette(koala, pepto);
    EXPECT_EQ(koala, before);

    // A GoDot picture holds GoDot indices: index 8 is light blue, C64 colour 14.
    IndexedImage godot(16, 8);
    godot.setIndex(3, 2, 8);
    godot.setMeaning(IndexMeaning::godotIndices, false);
    applyPalette(godot, pepto);
    EXPECT_EQ(godot.pixel(3, 2), pepto[14]);
    EXPECT_EQ(godot.pixel(0, 0), pepto[0]);

    IndexedImage page(8, 8);
    page.setPalette(std::array<Rgb, 2>{kWhite, kBlack});
    const IndexedImage pageBefore = page;
    applyPalette(page, pepto);
    EXPECT_EQ(page, pageBefore);
}

TEST(Palettes, MixedPixelsAreTheMeanRoundedDownExceptInTheOwnPalette) {
    // Both frames show pixel pair 3 (the colour memory) in cell 0; the first frame
    // takes red from screen 0's high nibble instead on its first line.
    samples::FunPainterPicture p;
    p.first.bitmap[0] = 0x40;     // pixel 0 pair 01, the rest 00
    p.second.bitmap[0] = 0xC0;    // pixel 0 pair 11
    p.first.screens[0][0] = 0x20; // red (2)
    p.colour[0] = 0x0E;           // light blue (14)
    p.backgrounds[0] = 0x07;      // yellow
    const Decoded d = decodeFunPainter(samples::makeFunPainter(p, false), {});
    ASSERT_TRUE(d.accepted);
    EXPECT_EQ(d.picture.meaning(), IndexMeaning::blendPairs);
    for (const NamedPalette& palette : namedPalettes()) {
        IndexedImage shown = d.picture;
        applyPalette(shown, palette.colours);
        const Rgb a = palette.colours[2], b = palette.colours[14];
        const Rgb mixed = shown.pixel(1, 0);
        if (palette.name == "default") {
            EXPECT_EQ(mixed, blendPalette()[blendPosition(2, 14)]);
            continue;
        }
        EXPECT_EQ(mixed, (Rgb{static_cast<std::uint8_t>((a.r + b.r) >> 1),
                              static_cast<std::uint8_t>((a.g + b.g) >> 1),
                              static_cast<std::uint8_t>((a.b + b.b) >> 1)}))
            << palette.name;
        EXPECT_EQ(shown.pixel(2, 0), palette.colours[7]) << palette.name; // yellow twice
    }
}

TEST(Palettes, FlipsAndTurnsKeepIndicesAndMeaning) {
    IndexedImage p(3, 2); // 0 1 2 / 3 4 5
    for (int i = 0; i < 6; ++i)
        p.setIndex(i % 3, i / 3, static_cast<std::uint8_t>(i));
    p.setMeaning(IndexMeaning::c64Numbers, true);
    const IndexedImage flipped = flippedTopToBottom(p);
    const IndexedImage cw = turnedClockwise(p);
    const IndexedImage acw = turnedAnticlockwise(p);
    EXPECT_EQ(flipped.index(0, 0), 3);
    EXPECT_EQ(flipped.index(2, 1), 2);
    ASSERT_EQ(cw.width(), 2);
    ASSERT_EQ(cw.height(), 3);
    EXPECT_EQ(cw.index(0, 0), 3); // the bottom left comes to the top left
    EXPECT_EQ(cw.index(1, 2), 2);
    EXPECT_EQ(acw.index(0, 0), 2); // the top right comes to the top left
    EXPECT_EQ(acw.index(1, 2), 3);
    EXPECT_EQ(turnedAnticlockwise(cw), p);
    EXPECT_TRUE(flipped.grey() && cw.meaning() == IndexMeaning::c64Numbers);
}

TEST(Palettes, EnlargingMakesEveryPixelAWholeBlock) {
    const IndexedImage p = decodeKoala(samples::makeKoala(samples::testPattern(2)), {}).picture;
    const IndexedImage big = enlarged(p, 3);
    ASSERT_EQ(big.width(), 960);
    ASSERT_EQ(big.height(), 600);
    EXPECT_EQ(big.meaning(), IndexMeaning::c64Numbers);
    int wrong = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 960; ++x)
            wrong += big.index(x, y) != p.index(x / 3, y / 3);
    EXPECT_EQ(wrong, 0);
}

TEST(Vpl, ReadsSixteenColoursOrNamesTheFaultyLine) {
    std::string good = "# VICE palette file\n\n";
    for (int i = 0; i < 16; ++i) {
        char line[32];
        std::snprintf(line, sizeof line, "%02X %02x %02X %d  # colour %d\r\n", i * 16, i, 255 - i,
                      i % 2, i);
        good += line;
        if (i == 7)
            good += "   \n# second half\n";
    }
    const PaletteResult ok = parseVpl(good);
    ASSERT_TRUE(ok.ok) << ok.error;
    EXPECT_EQ(ok.colours[15], (Rgb{0xF0, 0x0F, 0xF0}));
    EXPECT_EQ(ok.colours[1], (Rgb{0x10, 0x01, 0xFE}));

    std::string fifteen = "# short\n";
    for (int i = 0; i < 15; ++i)
        fifteen += "00 00 00\n";
    std::string seventeen = fifteen + "00 00 00\n11 11 11\n";
    const struct {
        std::string text;
        std::string error;
    } bad[] = {
        {fifteen, "line 16: the file ends after 15 colours; a palette has 16"},
        {seventeen, "line 18: more than 16 colours"},
        {"# x\n00 00 00\n00 0G 00\n", "line 3: \"0G\" is not a two-digit hexadecimal number"},
        {"0 00 00\n", "line 1: \"0\" is not a two-digit hexadecimal number"},
        {"00 00 00 dither\n", "line 1: the fourth value \"dither\" is not a hexadecimal number"},
        {"\n00 00\n", "line 2: a colour is red, green and blue (and an optional fourth value), "
                      "not 2 values"},
        {"", "line 1: the file ends after 0 colours; a palette has 16"},
    };
    for (const auto& c : bad) {
        const PaletteResult r = parseVpl(c.text);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.error, c.error);
        EXPECT_EQ(r.colours, C64Colours{}) << "no half-read palette";
    }
}

TEST(Vpl, ResolvesNamesAndRefusesUnknownOnes) {
    EXPECT_TRUE(resolvePalette("colodore").ok);
    const PaletteResult unknown = resolvePalette("pepo");
    EXPECT_FALSE(unknown.ok);
    EXPECT_NE(unknown.error.find("default, pepto, colodore, vice-old"), std::string::npos);
    const PaletteResult missing = resolvePalette("/nowhere/x.vpl");
    EXPECT_FALSE(missing.ok);
    EXPECT_NE(missing.error.find("/nowhere/x.vpl"), std::string::npos);
}

} // namespace
} // namespace quendra

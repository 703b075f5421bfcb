#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "decode/blend.h"
#include "decode/palette.h"
#include "decode/readers.h"
#include "samples/funpainter_files.h"

namespace quendra {
namespace {

using samples::ByteVector;
using samples::FliFrame;
using samples::FunPainterPicture;

struct Recorder : Progress {
    std::vector<int> maxima;
    std::vector<int> positions;
    void start(int maximum) override { maxima.push_back(maximum); }
    void position(int p) override { positions.push_back(p); }
};

Decoded decode(const ByteVector& file) {
    return decodeFunPainter(file, {});
}

// C64 colour numbers, for reading the cases.
enum : std::uint8_t { kBlue = 6, kRed = 2, kCyan = 3, kYellow = 7, kWhiteColour = 1 };

// Both frames show every pixel in the cell colour of bit pair `pair`.
FunPainterPicture uniform(std::uint8_t pair) {
    FunPainterPicture p;
    const std::uint8_t bits = static_cast<std::uint8_t>(pair * 0x55);
    p.first.bitmap.fill(bits);
    p.second.bitmap.fill(bits);
    return p;
}

// The colour number of a multicolour pixel of one frame, from the picture's parts. The
// line backgrounds count only when all of them are colour numbers.
std::uint8_t colourOf(const FunPainterPicture& p, const FliFrame& f, int x, int y) {
    const int n = (y / 8) * 40 + x / 4;
    const int pair = (f.bitmap[8 * n + y % 8] >> (6 - 2 * (x % 4))) & 3;
    switch (pair) {
    case 0:
        return std::ranges::all_of(p.backgrounds, [](std::uint8_t b) { return b < 16; })
                   ? p.backgrounds[y]
                   : 0;
    case 1:
        return f.screens[y % 8][n] >> 4;
    case 2:
        return f.screens[y % 8][n] & 15;
    default:
        return p.colour[n] & 15;
    }
}

void expectPicture(const Decoded& d, const FunPainterPicture& p) {
    ASSERT_TRUE(d.accepted) << d.reason;
    ASSERT_EQ(d.picture.width(), 320);
    ASSERT_EQ(d.picture.height(), 200);
    int wrong = 0;
    for (int y = 0; y < 200 && wrong < 5; ++y) {
        for (int x = 0; x < 160 && wrong < 5; ++x) {
            const std::uint8_t want =
                blendPosition(colourOf(p, p.first, x, y), colourOf(p, p.second, x, y));
            if (d.picture.index(2 * x, y) != want || d.picture.index(2 * x + 1, y) != want) {
                ADD_FAILURE() << "multicolour pixel " << x << "," << y;
                ++wrong;
            }
        }
    }
}

TEST(BlendPalette, EqualColoursGiveTheC64Colour) {
    for (std::uint8_t c = 0; c < 16; ++c) {
        EXPECT_EQ(blendPalette()[blendPosition(c, c)], kC64Palette[c]) << int(c);
    }
    EXPECT_EQ(blendPalette()[blendPosition(kWhiteColour, kWhiteColour)], (Rgb{255, 255, 255}));
    EXPECT_EQ(blendPalette()[blendPosition(kBlue, kBlue)], (Rgb{0, 0, 170}));
}

TEST(BlendPalette, MixesFollowTheGodotOrderWithBlueFirstInTheTable) {
    // Blue (GoDot 1) over red (GoDot 4): the table's 85,0,68 read as blue, green, red.
    EXPECT_EQ(blendPalette()[blendPosition(kBlue, kRed)], (Rgb{68, 0, 85}));
    EXPECT_EQ(blendPalette()[blendPosition(kRed, kBlue)], (Rgb{68, 0, 85}));
    // Black and white mix to a mid grey.
    EXPECT_EQ(blendPalette()[blendPosition(0, kWhiteColour)], (Rgb{136, 136, 136}));
    // The one pair that depends on which frame holds which colour.
    EXPECT_EQ(blendPalette()[blendPosition(kCyan, kYellow)], (Rgb{204, 238, 170}));
    EXPECT_EQ(blendPalette()[blendPosition(kYellow, kCyan)], (Rgb{204, 238, 204}));
    EXPECT_EQ(blendPosition(kCyan, kYellow), 12 * 16 + 13);
    // Only the low four bits of a colour count.
    EXPECT_EQ(blendPosition(0xF6, 0x32), blendPosition(kBlue, kRed));
}

TEST(BlendPalette, IsSymmetricButForCyanAndYellow) {
    int asymmetric = 0;
    for (std::uint8_t a = 0; a < 16; ++a) {
        for (std::uint8_t b = 0; b < 16; ++b) {
            const Rgb x = blendPalette()[blendPosition(a, b)];
            EXPECT_EQ(x.r % 17 + x.g % 17 + x.b % 17, 0);
            if (x != blendPalette()[blendPosition(b, a)])
                ++asymmetric;
        }
    }
    EXPECT_EQ(asymmetric, 2);
}

TEST(FunPainter, IdenticalFramesOfColourCShowC64ColourC) {
    for (std::uint8_t c = 0; c < 16; ++c) {
        FunPainterPicture p = uniform(3);
        p.colour.fill(static_cast<std::uint8_t>(0xF0 | c));
        const Decoded d = decode(samples::makeFunPainter(p, true));
        ASSERT_TRUE(d.accepted) << d.reason;
        const Image rgb = d.picture.toRgb();
        EXPECT_EQ(rgb.pixel(0, 0), kC64Palette[c]) << int(c);
        EXPECT_EQ(rgb.pixel(319, 199), kC64Palette[c]) << int(c);
        EXPECT_EQ(rgb.pixel(123, 101), kC64Palette[c]) << int(c);
    }
}

TEST(FunPainter, FirstFrameIsTheFirstOfThePair) {
    FunPainterPicture p = uniform(1);
    for (auto& s : p.first.screens)
        s.fill(kCyan << 4);
    for (auto& s : p.second.screens)
        s.fill(kYellow << 4);
    const Image rgb = decode(samples::makeFunPainter(p, false)).picture.toRgb();
    EXPECT_EQ(rgb.pixel(10, 10), (Rgb{204, 238, 170}));
    std::swap(p.first, p.second);
    EXPECT_EQ(decode(samples::makeFunPainter(p, false)).picture.toRgb().pixel(10, 10),
              (Rgb{204, 238, 204}));
}

TEST(FunPainter, EachPixelLineTakesItsOwnScreenMemory) {
    FunPainterPicture p;
    p.first.bitmap.fill(0x55);  // pair 01: high nibble
    p.second.bitmap.fill(0xAA); // pair 10: low nibble
    for (int k = 0; k < 8; ++k) {
        p.first.screens[k].fill(static_cast<std::uint8_t>(k << 4 | 0x0F));
        p.second.screens[k].fill(static_cast<std::uint8_t>(0xF0 | (15 - k)));
    }
    const Decoded d = decode(samples::makeFunPainter(p, true));
    for (int y : {0, 1, 7, 8, 13, 100, 199}) {
        const int k = y % 8;
        EXPECT_EQ(d.picture.index(37, y), blendPosition(k, 15 - k)) << y;
    }
}

TEST(FunPainter, LineBackgroundsComeFromTwoTables) {
    FunPainterPicture p; // all bitmaps zero: every pixel is its line's background
    for (int y = 0; y < 200; ++y)
        p.backgrounds[y] = static_cast<std::uint8_t>((y * 7) % 16);
    const Decoded d = decode(samples::makeFunPainter(p, false));
    for (int y : {0, 1, 99, 100, 101, 199}) {
        const std::uint8_t c = (y * 7) % 16;
        EXPECT_EQ(d.picture.index(200, y), blendPosition(c, c)) << y;
        EXPECT_EQ(d.picture.pixel(200, y), kC64Palette[c]) << y;
    }
    // A byte that is no colour number in either table (a real file holds a ramp up to 38
    // there): the tables are no line colours, every line is black.
    for (int y : {0, 150}) {
        FunPainterPicture other = p;
        other.backgrounds[y] = 0x16;
        const Decoded black = decode(samples::makeFunPainter(other, true));
        for (int line : {0, 1, 99, 100, 199})
            EXPECT_EQ(black.picture.index(200, line), 0) << y << " " << line;
    }
}

TEST(FunPainter, DrawsTheWholePatternPlainOrPacked) {
    const FunPainterPicture p = samples::funPainterPattern();
    const ByteVector plain = samples::makeFunPainter(p, false);
    ASSERT_EQ(plain.size(), 33694u);
    const Decoded a = decode(plain);
    expectPicture(a, p);
    EXPECT_EQ(a.picture.palette().size(), 256u);

    for (std::uint8_t marker : {0xAD, 0x00, 0x9B}) {
        const ByteVector packed = samples::makeFunPainter(p, true, marker);
        EXPECT_LT(packed.size(), plain.size());
        EXPECT_EQ(decode(packed).picture, a.picture) << int(marker);
    }
    expectPicture(decode(samples::makeFunPainter(samples::funPainterPattern(5), true)),
                  samples::funPainterPattern(5));
    EXPECT_EQ(decodeFunPainter(plain, {.grey = true}).picture, a.picture);
}

ByteVector fileWith(std::uint8_t packingFlag, std::uint8_t marker, const ByteVector& data) {
    ByteVector f{0xF0, 0x3F, 'F', 'U', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, packingFlag, marker};
    f.insert(f.end(), data.begin(), data.end());
    return f;
}

ByteVector repeat(int times, const ByteVector& token) {
    ByteVector out;
    for (int i = 0; i < times; ++i)
        out.insert(out.end(), token.begin(), token.end());
    return out;
}

ByteVector operator+(ByteVector a, const ByteVector& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The first frame's screens all 0x12 (white and red), so its bitmap shows: packed, the
// screens are 32 runs of 256 and the data that follows lands in the first frame's bitmap.
constexpr std::uint8_t kMarker = 0xC5;
const ByteVector kScreensPacked = repeat(32, {kMarker, 0x00, 0x12});

FunPainterPicture withScreens12() {
    FunPainterPicture p;
    for (auto& s : p.first.screens)
        s.fill(0x12);
    return p;
}

TEST(FunPainter, PackedRunsCountZeroAs256) {
    FunPainterPicture p = withScreens12();
    std::fill_n(p.first.bitmap.begin(), 256, 0x41);
    p.first.bitmap[256] = 0xE4;
    expectPicture(
        decode(fileWith(1, kMarker, kScreensPacked + ByteVector{kMarker, 0x00, 0x41, 0xE4})), p);

    p = withScreens12();
    std::fill_n(p.first.bitmap.begin(), 3, 0x41);
    p.first.bitmap[3] = 0xE4;
    expectPicture(
        decode(fileWith(1, kMarker, kScreensPacked + ByteVector{kMarker, 0x03, 0x41, 0xE4})), p);
}

TEST(FunPainter, PlainDataTakesTheMarkerLiterally) {
    FunPainterPicture p = withScreens12();
    p.first.bitmap[0] = kMarker;
    p.first.bitmap[1] = 0x03;
    p.first.bitmap[2] = 0x41;
    const ByteVector file = samples::makeFunPainter(p, false, kMarker);
    ASSERT_EQ(file[17], kMarker);
    expectPicture(decode(file), p);
}

TEST(FunPainter, ItemsMayBeginAtTheLastByte) {
    // Runs up to the backgrounds (offset 16192), then the background of line 0 as the last byte.
    const ByteVector toBackgrounds =
        repeat(63, {kMarker, 0x00, 0x00}) + ByteVector{kMarker, 0x40, 0x00};
    FunPainterPicture p;
    p.backgrounds[0] = 1;
    expectPicture(decode(fileWith(1, kMarker, toBackgrounds + ByteVector{0x01})), p);

    ByteVector plain(16192, 0);
    plain.push_back(0x01);
    expectPicture(decode(fileWith(0, kMarker, plain)), p);
    plain.back() = 0x0C; // the marker is literal in plain data, even as the last byte
    p.backgrounds[0] = 0x0C;
    expectPicture(decode(fileWith(0, 0x0C, plain)), p);
}

TEST(FunPainter, RunCutOffByTheEndAppendsNothing) {
    const ByteVector toBackgrounds =
        repeat(63, {kMarker, 0x00, 0x00}) + ByteVector{kMarker, 0x40, 0x00};
    FunPainterPicture p;
    p.backgrounds[0] = 1;
    expectPicture(decode(fileWith(1, kMarker, toBackgrounds + ByteVector{0x01, kMarker})), p);
    expectPicture(decode(fileWith(1, kMarker, toBackgrounds + ByteVector{0x01, kMarker, 0x05})), p);
}

TEST(FunPainter, PlainPictureOf33694BytesShowsWhole) {
    // Lines 100..199 need the second frame's lower part and the second background table,
    // which lie beyond the first 30000 bytes of the file.
    const FunPainterPicture p = samples::funPainterPattern(2);
    const ByteVector file = samples::makeFunPainter(p, false);
    ASSERT_EQ(file.size(), samples::kFunPainterPlainSize);
    expectPicture(decode(file), p);
    EXPECT_NE(decode(ByteVector(file.begin(), file.begin() + 30000)).picture, decode(file).picture);
}

TEST(FunPainter, DataBeyondThePictureChangesNothing) {
    const FunPainterPicture p = samples::funPainterPattern(3);
    const Decoded plain = decode(samples::makeFunPainter(p, false));
    // Transfer padding after a plain picture, up to and past the read limit.
    ByteVector padded = samples::makeFunPainter(p, false);
    padded.resize(kFunPainterReadLimit + 100, 0x9B);
    EXPECT_EQ(decode(padded).picture, plain.picture);
    // Runs that would expand far beyond the 60000-byte area are dropped.
    const ByteVector flooded = samples::makeFunPainter(p, true) + repeat(1000, {0xAD, 0x00, 0x77});
    EXPECT_EQ(decode(flooded).picture, plain.picture);
}

TEST(FunPainter, ShortGoodFilesShowBlack) {
    ByteVector f{0xF0, 0x3F, 'F', 'U'};
    for (; f.size() < 20; f.push_back(0xFF)) {
        const Decoded d = decode(f);
        ASSERT_TRUE(d.accepted) << f.size();
        EXPECT_TRUE(d.decodingBegan);
        EXPECT_EQ(d.picture.toRgb(), Image());
    }
}

TEST(FunPainter, RejectsOtherStarts) {
    const ByteVector bad[] = {{},
                              {0xF0, 0x3F, 'F'},
                              {0xF0, 0x3E, 'F', 'U'},
                              {0x00, 0x40, 'F', 'U'},
                              {0xF0, 0x3F, 'F', 'u'},
                              {0xF0, 0x3F, 'G', 'U', 0, 0}};
    for (const ByteVector& f : bad) {
        Recorder progress;
        const Decoded d = decodeFunPainter(f, {.progress = &progress});
        EXPECT_FALSE(d.accepted) << f.size();
        EXPECT_FALSE(d.reason.empty());
        EXPECT_FALSE(d.decodingBegan);
        EXPECT_TRUE(progress.maxima.empty());
        EXPECT_TRUE(progress.positions.empty());
    }
}

TEST(FunPainter, ProgressCountsColumnsInCellColumns) {
    std::vector<int> expected;
    for (int x = 0; x < 160; ++x)
        expected.push_back(x / 4);
    for (const ByteVector& f : {samples::makeFunPainter(samples::funPainterPattern(), true),
                                ByteVector{0xF0, 0x3F, 'F', 'U'}}) {
        Recorder progress;
        ASSERT_TRUE(decodeFunPainter(f, {.progress = &progress}).accepted);
        EXPECT_EQ(progress.maxima, std::vector<int>{40});
        EXPECT_EQ(progress.positions, expected);
    }
}

} // namespace
} // namespace quendra

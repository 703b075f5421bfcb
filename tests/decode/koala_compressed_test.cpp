#include <gtest/gtest.h>

#include "c64_pictures.h"
#include "decode/readers.h"
#include "decode/rle.h"

namespace quendra {
namespace {

using namespace quendra::testing;
using samples::compressRuns;
using samples::koalaData;
using samples::makeKoala;
using samples::makeKoalaCompressed;

// $6000 followed by `data`, stored as it stands.
ByteVector ggFile(std::initializer_list<std::uint8_t> data) {
    ByteVector f{0x00, 0x60};
    append(f, data);
    return f;
}

// Run tokens for `n` zero bytes.
ByteVector zeros(std::size_t n) {
    return compressRuns(ByteVector(n, 0), kKoalaRuns);
}

TEST(KoalaCompressed, ShowsTheSamePictureAsTheUncompressedFile) {
    for (const CellPicture& p :
         {samples::testPattern(0), samples::testPattern(3), blockyPicture()}) {
        const ByteVector gg = makeKoalaCompressed(p);
        for (bool grey : {false, true}) {
            const Decoded d = decodeKoalaCompressed(gg, {.grey = grey});
            ASSERT_TRUE(d.accepted) << d.reason;
            EXPECT_EQ(d.picture, decodeKoala(makeKoala(p), {.grey = grey}).picture);
        }
    }
    EXPECT_LT(makeKoalaCompressed(blockyPicture()).size(), 2000u); // runs were exercised
}

TEST(KoalaCompressed, ABackgroundInTheLastByteIsDrawn) {
    // Real files end with the background as a plain literal.
    CellPicture p;
    p.background = 0x06;
    const ByteVector gg = makeKoalaCompressed(p);
    ASSERT_EQ(gg.back(), 0x06);
    const Image rgb = decodeKoalaCompressed(gg, {}).picture.toRgb();
    EXPECT_EQ(rgb.pixel(0, 0), c64(6));
    EXPECT_EQ(rgb.pixel(319, 199), c64(6));
}

TEST(KoalaCompressed, AllLiteralsGiveTheKoalaPicture) {
    const CellPicture p = without(samples::testPattern(1), 0xFE);
    ByteVector gg{0x00, 0x60};
    append(gg, koalaData(p));
    ASSERT_EQ(gg.size(), 10003u);
    EXPECT_EQ(decodeKoalaCompressed(gg, {}).picture, decodeKoala(makeKoala(p), {}).picture);
    gg.push_back(0x00); // an extra byte past the data changes nothing
    EXPECT_EQ(decodeKoalaCompressed(gg, {}).picture, decodeKoala(makeKoala(p), {}).picture);
}

TEST(KoalaCompressed, RunTokens) {
    // 0xFE 0xAA 0x10 fills the first two cells' bitmap with pairs 10: the screen low nibble.
    ByteVector gg = ggFile({0xFE, 0xAA, 0x10});
    append(gg, zeros(8000 - 16));
    append(gg, {0x25, 0x2A});
    Image rgb = decodeKoalaCompressed(gg, {}).picture.toRgb();
    for (int line = 0; line < 8; ++line) {
        EXPECT_EQ(cellLine(rgb, 0, line), repeated(c64(5)));
        EXPECT_EQ(cellLine(rgb, 1, line), repeated(c64(10)));
        EXPECT_EQ(cellLine(rgb, 2, line), repeated(c64(0)));
    }

    // A count of 0 writes nothing; 255 zero bytes; 0xFE 0xFE 0x01 is a data byte 0xFE (at
    // offset 255: cell 31, line 7); then a literal (cell 32, line 0).
    gg = ggFile({0xFE, 0x33, 0x00, 0xFE, 0x00, 0xFF, 0xFE, 0xFE, 0x01, 0x55});
    append(gg, zeros(8000 - 257));
    append(gg, compressRuns(ByteVector(1000, 0x21), kKoalaRuns)); // screen
    append(gg, compressRuns(ByteVector(1000, 0x03), kKoalaRuns)); // colour
    append(gg, {0x06});                                           // background
    rgb = decodeKoalaCompressed(gg, {}).picture.toRgb();
    const Rgb blue = c64(6), white = c64(1), red = c64(2), cyan = c64(3);
    for (int line = 0; line < 8; ++line)
        EXPECT_EQ(cellLine(rgb, 0, line), repeated(blue));
    EXPECT_EQ(cellLine(rgb, 31, 6), repeated(blue));
    EXPECT_EQ(cellLine(rgb, 31, 7),
              (std::vector<Rgb>{cyan, cyan, cyan, cyan, cyan, cyan, white, white}));
    EXPECT_EQ(cellLine(rgb, 32, 0), repeated(red));
    EXPECT_EQ(cellLine(rgb, 32, 1), repeated(blue));
}

TEST(KoalaCompressed, ACutOffRunTokenAppendsNothing) {
    // A zero bitmap shows the background everywhere; the data ends before it, so it is
    // black, unless a cut-off token were taken for something.
    for (std::initializer_list<std::uint8_t> tail :
         {std::initializer_list<std::uint8_t>{0xFE}, {0xFE, 0x05}}) {
        ByteVector gg = ggFile({});
        append(gg, zeros(8000));
        append(gg, compressRuns(ByteVector(2000, 0x55), kKoalaRuns));
        append(gg, tail);
        const Decoded d = decodeKoalaCompressed(gg, {});
        ASSERT_TRUE(d.accepted);
        EXPECT_EQ(d.picture.toRgb().pixel(100, 100), c64(0));
    }
}

TEST(KoalaCompressed, NothingIsReadOnceThePictureIsFull) {
    const CellPicture p = samples::testPattern(2);
    const Decoded plain = decodeKoala(makeKoala(p), {});
    ByteVector data = koalaData(p);
    data.pop_back(); // the background comes as a run that passes the end
    ByteVector gg{0x00, 0x60};
    append(gg, compressRuns(data, kKoalaRuns));
    append(gg, {0xFE, p.background, 0xFF, 0x01, 0x02, 0xFE, 0x03});
    EXPECT_EQ(decodeKoalaCompressed(gg, {}).picture, plain.picture);
}

TEST(KoalaCompressed, ShortDataLeavesTheRestBlack) {
    for (const ByteVector& gg : {ggFile({}), ggFile({0xFF, 0xFF})}) {
        const Decoded d = decodeKoalaCompressed(gg, {});
        ASSERT_TRUE(d.accepted) << d.reason;
        const Image rgb = d.picture.toRgb();
        for (int y = 0; y < 200; y += 7) {
            for (int x = 0; x < 320; x += 3)
                ASSERT_EQ(rgb.pixel(x, y), c64(0)) << x << "," << y;
        }
    }
}

TEST(KoalaCompressed, AcceptsFilesBelow10100BytesAt6000) {
    ByteVector gg = ggFile({});
    gg.resize(10099, 0x00);
    EXPECT_TRUE(decodeKoalaCompressed(gg, {}).accepted);

    gg.push_back(0x00);
    Decoded d = decodeKoalaCompressed(gg, {});
    EXPECT_FALSE(d.accepted);
    EXPECT_NE(d.reason.find("10100"), std::string::npos) << d.reason;
    EXPECT_NE(d.reason.find("10099"), std::string::npos) << d.reason;

    d = decodeKoalaCompressed(ByteVector{0x00, 0x40, 0x00}, {});
    EXPECT_FALSE(d.accepted);
    EXPECT_NE(d.reason.find("$6000"), std::string::npos) << d.reason;
    EXPECT_NE(d.reason.find("$4000"), std::string::npos) << d.reason;

    for (const ByteVector& tiny : {ByteVector{}, ByteVector{0x00}}) {
        d = decodeKoalaCompressed(tiny, {});
        EXPECT_FALSE(d.accepted);
        EXPECT_NE(d.reason.find("too short"), std::string::npos) << d.reason;
    }
}

} // namespace
} // namespace quendra

#include <gtest/gtest.h>

#include "c64_pictures.h"
#include "decode/readers.h"
#include "decode/rle.h"

namespace quendra {
namespace {

using namespace quendra::testing;
using samples::compressRuns;
using samples::doodleData;
using samples::makeDoodle;
using samples::makeDoodleCompressed;

// $5C00 followed by `data`, stored as it stands.
ByteVector jjFile(std::initializer_list<std::uint8_t> data) {
    ByteVector f{0x00, 0x5C};
    append(f, data);
    return f;
}

TEST(DoodleCompressed, ShowsTheSamePictureAsTheUncompressedFile) {
    for (const CellPicture& p :
         {samples::testPattern(0), samples::testPattern(9), blockyPicture()}) {
        const ByteVector jj = makeDoodleCompressed(p);
        for (bool grey : {false, true}) {
            const Decoded d = decodeDoodleCompressed(jj, {.grey = grey});
            ASSERT_TRUE(d.accepted) << d.reason;
            EXPECT_EQ(d.picture, decodeDoodle(makeDoodle(p), {.grey = grey}).picture);
        }
    }
    EXPECT_LT(makeDoodleCompressed(blockyPicture()).size(), 2000u); // runs were exercised
}

TEST(DoodleCompressed, ALastBitmapByteInTheLastByteIsDrawn) {
    // Real files end with the last bitmap byte as a plain literal.
    CellPicture p;
    p.screen[999] = 0x10;
    p.bitmap[7999] = 0x81;
    const ByteVector jj = makeDoodleCompressed(p);
    ASSERT_EQ(jj.back(), 0x81);
    const Rgb w = c64(1), b = c64(0);
    EXPECT_EQ(cellLine(decodeDoodleCompressed(jj, {}).picture.toRgb(), 999, 7),
              (std::vector<Rgb>{w, b, b, b, b, b, b, w}));
}

TEST(DoodleCompressed, RunTokens) {
    // Screen: 0xFE 0x00 0x00 appends nothing, 0xFE 0xFE 0x03 three bytes 0xFE (cells 0-2),
    // then 0xFE 0x61 0xFF: cells 3 to 257. The bitmap stays 0: low nibbles show.
    const ByteVector jj = jjFile({0xFE, 0x55, 0x00, 0xFE, 0xFE, 0x03, 0xFE, 0x61, 0xFF});
    const Image rgb = decodeDoodleCompressed(jj, {}).picture.toRgb();
    EXPECT_EQ(cellLine(rgb, 0, 0), repeated(c64(14)));
    EXPECT_EQ(cellLine(rgb, 2, 7), repeated(c64(14)));
    EXPECT_EQ(cellLine(rgb, 3, 0), repeated(c64(1)));
    EXPECT_EQ(cellLine(rgb, 257, 4), repeated(c64(1)));
    EXPECT_EQ(cellLine(rgb, 258, 0), repeated(c64(0)));
    EXPECT_EQ(cellLine(rgb, 999, 7), repeated(c64(0)));
}

TEST(DoodleCompressed, AFullFileOfLiteralsIsComplete) {
    const CellPicture p = without(samples::testPattern(1), 0xFE);
    ByteVector jj{0x00, 0x5C};
    append(jj, doodleData(p));
    jj.resize(9218, 0x33); // literals up to the longest file
    const Decoded d = decodeDoodleCompressed(jj, {});
    ASSERT_TRUE(d.accepted) << d.reason;
    EXPECT_EQ(d.picture, decodeDoodle(makeDoodle(p), {}).picture);
}

TEST(DoodleCompressed, ARunStartedBeforeTheEndIsWholeAndEndsTheData) {
    const CellPicture p = samples::testPattern(4);
    ByteVector data = doodleData(p);
    data.resize(9216 - 10);
    ByteVector jj{0x00, 0x5C};
    append(jj, compressRuns(data, kDoodleRuns));
    append(jj, {0xFE, 0x00, 0xFF, 0x01, 0xFE, 0x02, 0x09});
    EXPECT_EQ(decodeDoodleCompressed(jj, {}).picture, decodeDoodle(makeDoodle(p), {}).picture);
}

TEST(DoodleCompressed, ACutOffRunTokenAppendsNothing) {
    // The last bitmap byte would come from a misread token.
    for (std::initializer_list<std::uint8_t> tail :
         {std::initializer_list<std::uint8_t>{0xFE}, {0xFE, 0x81}}) {
        ByteVector data(9023, 0x00);
        data[999] = 0x10;
        ByteVector jj{0x00, 0x5C};
        append(jj, compressRuns(data, kDoodleRuns));
        append(jj, tail);
        EXPECT_EQ(cellLine(decodeDoodleCompressed(jj, {}).picture.toRgb(), 999, 7),
                  repeated(c64(0)));
    }
}

TEST(DoodleCompressed, AcceptsUpTo9218BytesAt5C00) {
    ByteVector jj = jjFile({});
    EXPECT_TRUE(decodeDoodleCompressed(jj, {}).accepted); // black
    jj.resize(9218, 0x00);
    EXPECT_TRUE(decodeDoodleCompressed(jj, {}).accepted);

    jj.push_back(0x00);
    Decoded d = decodeDoodleCompressed(jj, {});
    EXPECT_FALSE(d.accepted);
    EXPECT_NE(d.reason.find("9219"), std::string::npos) << d.reason;
    EXPECT_NE(d.reason.find("9218"), std::string::npos) << d.reason;

    d = decodeDoodleCompressed(samples::makeDoodle(samples::testPattern(), 0x1C00, false), {});
    EXPECT_FALSE(d.accepted);
    EXPECT_NE(d.reason.find("$5C00"), std::string::npos) << d.reason;
    EXPECT_NE(d.reason.find("$1C00"), std::string::npos) << d.reason;

    for (const ByteVector& tiny : {ByteVector{}, ByteVector{0x00}}) {
        EXPECT_FALSE(decodeDoodleCompressed(tiny, {}).accepted);
    }
}

} // namespace
} // namespace quendra

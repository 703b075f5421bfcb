#include <gtest/gtest.h>

#include "c64_pictures.h"
#include "decode/readers.h"
#include "decode/rle.h"

namespace quendra {
namespace {

using namespace quendra::testing;
using samples::compressRuns;
using samples::koalaData;
using samples::makeAmica;
using samples::makeKoala;

// $4000 followed by `data`, stored as it stands.
ByteVector amiFile(std::initializer_list<std::uint8_t> data) {
    ByteVector f{0x00, 0x40};
    append(f, data);
    return f;
}

ByteVector zeros(std::size_t n) {
    return compressRuns(ByteVector(n, 0), kAmicaRuns);
}

TEST(Amica, ShowsTheSamePictureAsKoala) {
    for (const CellPicture& p :
         {samples::testPattern(0), samples::testPattern(7), blockyPicture()}) {
        const ByteVector ami = makeAmica(p);
        ASSERT_EQ(ami[ami.size() - 2], 0xC2); // ends like real files, with 0xC2 0x00
        for (bool grey : {false, true}) {
            const Decoded d = decodeAmica(ami, {.grey = grey});
            ASSERT_TRUE(d.accepted) << d.reason;
            EXPECT_EQ(d.picture, decodeKoala(makeKoala(p), {.grey = grey}).picture);
        }
    }
    EXPECT_LT(makeAmica(blockyPicture()).size(), 2000u); // runs were exercised
}

TEST(Amica, ABackgroundInTheLastByteIsDrawn) {
    CellPicture p;
    p.background = 0x05;
    ByteVector ami = makeAmica(p);
    ami.resize(ami.size() - 2); // without the end token
    ASSERT_EQ(ami.back(), 0x05);
    EXPECT_EQ(decodeAmica(ami, {}).picture.toRgb().pixel(160, 100), c64(5));
}

TEST(Amica, RunTokensPutTheCountFirst) {
    // 0xC2 0x10 0xAA: sixteen bytes 0xAA, pairs 10, the screen low nibble.
    ByteVector ami = amiFile({0xC2, 0x10, 0xAA});
    append(ami, zeros(8000 - 16));
    append(ami, {0x25, 0x2A});
    const Image rgb = decodeAmica(ami, {}).picture.toRgb();
    for (int line = 0; line < 8; ++line) {
        EXPECT_EQ(cellLine(rgb, 0, line), repeated(c64(5)));
        EXPECT_EQ(cellLine(rgb, 1, line), repeated(c64(10)));
    }
    // The same bytes in a Koala compressed file are three literals.
    ByteVector gg(ami.begin() + 2, ami.begin() + 5);
    gg.insert(gg.begin(), {0x00, 0x60});
    gg.resize(8002, 0x00);
    append(gg, {0x25, 0x2A});
    const Image ggRgb = decodeKoalaCompressed(gg, {}).picture.toRgb();
    // 0xC2 is 11 00 00 10: colour memory (0), background (0) twice, screen low nibble.
    EXPECT_EQ(cellLine(ggRgb, 0, 0),
              (std::vector<Rgb>{c64(0), c64(0), c64(0), c64(0), c64(0), c64(0), c64(5), c64(5)}));
}

TEST(Amica, CountZeroWritesNothingAndTakesThreeBytes) {
    // 0xC2 0x00 0x55 then the literal 0xFF: bitmap byte 0 is 0xFF, byte 1 stays 0.
    ByteVector ami = amiFile({0xC2, 0x00, 0x55, 0xFF});
    append(ami, zeros(8000 - 1));
    append(ami, compressRuns(ByteVector(2000, 0x34), kAmicaRuns));
    append(ami, {0x06});
    const Image rgb = decodeAmica(ami, {}).picture.toRgb();
    EXPECT_EQ(cellLine(rgb, 0, 0), repeated(c64(4))); // pairs 11: colour memory
    EXPECT_EQ(cellLine(rgb, 0, 1), repeated(c64(6))); // background
}

TEST(Amica, ARunAtTheBackgroundEndsTheExpansion) {
    // 0xC2 0xFF 0x07 at offset 10000: its first byte is the background, and nothing after
    // it is read.
    const CellPicture p = samples::testPattern(8);
    ByteVector data = koalaData(p);
    data.pop_back();
    ByteVector ami{0x00, 0x40};
    append(ami, compressRuns(data, kAmicaRuns));
    append(ami, {0xC2, 0xFF, 0x07, 0x01, 0xC2, 0x05, 0x09});
    CellPicture expected = p;
    expected.background = 0x07;
    EXPECT_EQ(decodeAmica(ami, {}).picture, decodeKoala(makeKoala(expected), {}).picture);
}

TEST(Amica, ACutOffRunTokenAppendsNothing) {
    for (std::initializer_list<std::uint8_t> tail :
         {std::initializer_list<std::uint8_t>{0xC2}, {0xC2, 0x05}}) {
        ByteVector ami = amiFile({});
        append(ami, zeros(8000));
        append(ami, compressRuns(ByteVector(2000, 0x55), kAmicaRuns));
        append(ami, tail);
        const Decoded d = decodeAmica(ami, {});
        ASSERT_TRUE(d.accepted);
        EXPECT_EQ(d.picture.toRgb().pixel(100, 100), c64(0));
    }
}

TEST(Amica, AcceptsFilesBelow10300BytesAt4000) {
    ByteVector ami = amiFile({});
    ami.resize(10299, 0x00);
    EXPECT_TRUE(decodeAmica(ami, {}).accepted);

    ami.push_back(0x00);
    Decoded d = decodeAmica(ami, {});
    EXPECT_FALSE(d.accepted);
    EXPECT_NE(d.reason.find("10300"), std::string::npos) << d.reason;

    ByteVector gg = samples::makeKoalaCompressed(samples::testPattern());
    d = decodeAmica(gg, {});
    EXPECT_FALSE(d.accepted);
    EXPECT_NE(d.reason.find("$4000"), std::string::npos) << d.reason;
    EXPECT_NE(d.reason.find("$6000"), std::string::npos) << d.reason;

    EXPECT_FALSE(decodeAmica(ByteVector{}, {}).accepted);
    EXPECT_FALSE(decodeAmica(ByteVector{0x00}, {}).accepted);
    d = decodeAmica(amiFile({}), {});
    ASSERT_TRUE(d.accepted);
    EXPECT_EQ(d.picture.toRgb().pixel(319, 199), c64(0));
}

} // namespace
} // namespace quendra

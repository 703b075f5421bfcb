#include <gtest/gtest.h>

#include "c64_pictures.h"
#include "decode/formats.h"
#include "decode/readers.h"

namespace quendra {
namespace {

using namespace quendra::testing;
using samples::makeArtStudio;
using samples::makeArtStudioHires;
using samples::makeKoala;

TEST(ArtStudio, MulticolourShowsTheSamePictureAsKoala) {
    for (const CellPicture& p :
         {samples::testPattern(0), samples::testPattern(5), blockyPicture()}) {
        for (bool grey : {false, true}) {
            const Decoded d = decodeArtStudio(makeArtStudio(p), {.grey = grey});
            ASSERT_TRUE(d.accepted) << d.reason;
            EXPECT_EQ(d.format, nullptr); // the row that asked: no kind of its own
            EXPECT_EQ(d.picture, decodeKoala(makeKoala(p), {.grey = grey}).picture);
        }
    }
}

TEST(ArtStudio, MulticolourIgnoresTheUnusedBytesAndTheBackgroundHighNibble) {
    const CellPicture p = samples::testPattern(4);
    ByteVector f = makeArtStudio(p);
    ASSERT_EQ(f.size(), 10018u);
    const Decoded before = decodeArtStudio(f, {});
    f[9002] = 0x5A;
    f[9003] = static_cast<std::uint8_t>(0xF0 | p.background);
    for (std::size_t i = 9004; i < 9018; ++i)
        f[i] = 0xA5;
    EXPECT_EQ(decodeArtStudio(f, {}).picture, before.picture);
    f[9003] = 0x07; // the background is here
    EXPECT_NE(decodeArtStudio(f, {}).picture, before.picture);
}

TEST(ArtStudio, HiresDrawsSetBitsInTheHighNibble) {
    CellPicture p;
    p.screen[0] = 0x61;
    p.bitmap[0] = 0xF0;
    ByteVector f = makeArtStudioHires(p);
    ASSERT_EQ(f.size(), 9009u);
    const Decoded d = decodeArtStudio(f, {});
    ASSERT_TRUE(d.accepted) << d.reason;
    EXPECT_EQ(d.format, &formatRow(FormatId::artStudioHires));
    const Rgb blue = c64(6), white = c64(1);
    EXPECT_EQ(cellLine(d.picture.toRgb(), 0, 0),
              (std::vector<Rgb>{blue, blue, blue, blue, white, white, white, white}));

    // The last seven bytes have no effect.
    for (std::size_t i = 9002; i < 9009; ++i)
        f[i] = 0xFF;
    EXPECT_EQ(decodeArtStudio(f, {}).picture, d.picture);

    // In multicolour the same screen byte gives blue for pairs 01 and white for pairs 10.
    p.bitmap[0] = 0x5A; // 01 01 10 10
    EXPECT_EQ(cellLine(decodeArtStudio(makeArtStudio(p), {}).picture.toRgb(), 0, 0),
              (std::vector<Rgb>{blue, blue, blue, blue, white, white, white, white}));
}

TEST(ArtStudio, HiresShowsTheSamePictureAsDoodle) {
    const CellPicture p = samples::testPattern(6);
    for (bool grey : {false, true}) {
        EXPECT_EQ(decodeArtStudio(makeArtStudioHires(p), {.grey = grey}).picture,
                  decodeDoodle(samples::makeDoodle(p), {.grey = grey}).picture);
    }
}

TEST(ArtStudio, TheLengthDecidesAndBothKindsLoadAt2000) {
    const CellPicture p = samples::testPattern();
    ByteVector hiresAt6000 = makeArtStudioHires(p);
    hiresAt6000[1] = 0x60;
    ByteVector multiAt4000 = makeArtStudio(p);
    multiAt4000[1] = 0x40;
    for (const ByteVector* f : {&hiresAt6000, &multiAt4000}) {
        const Decoded d = decodeArtStudio(*f, {});
        EXPECT_FALSE(d.accepted);
        EXPECT_NE(d.reason.find("$2000"), std::string::npos) << d.reason;
    }

    ByteVector koala = makeKoala(p); // a Koala file named .ocp: the length decides
    koala[1] = 0x20;
    ByteVector longer = makeArtStudio(p);
    longer.push_back(0);
    ByteVector shorter = makeArtStudioHires(p);
    shorter.pop_back();
    for (const ByteVector* f : {&koala, &longer, &shorter}) {
        const Decoded d = decodeArtStudio(*f, {});
        EXPECT_FALSE(d.accepted);
        EXPECT_NE(d.reason.find(std::to_string(f->size())), std::string::npos) << d.reason;
        EXPECT_NE(d.reason.find("10018"), std::string::npos) << d.reason;
        EXPECT_NE(d.reason.find("9009"), std::string::npos) << d.reason;
    }
    EXPECT_FALSE(decodeArtStudio(ByteVector{}, {}).accepted);
}

} // namespace
} // namespace quendra

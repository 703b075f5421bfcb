#include <gtest/gtest.h>

#include <algorithm>

#include "c64_pictures.h"
#include "decode/readers.h"

namespace quendra {
namespace {

using namespace quendra::testing;
using samples::makeDoodle;

TEST(Doodle, AcceptsBothLengthsAtBothLoadAddresses) {
    const CellPicture p = samples::testPattern(2);
    const Decoded reference = decodeDoodle(makeDoodle(p, 0x1C00, true), {});
    ASSERT_TRUE(reference.accepted) << reference.reason;
    for (std::uint16_t address : {0x1C00, 0x5C00}) {
        for (bool tail : {true, false}) {
            const ByteVector f = makeDoodle(p, address, tail);
            ASSERT_EQ(f.size(), tail ? 9218u : 9026u);
            const Decoded d = decodeDoodle(f, {});
            ASSERT_TRUE(d.accepted) << d.reason;
            EXPECT_EQ(d.picture, reference.picture) << address << " " << tail;
        }
    }
}

TEST(Doodle, UnusedBytesHaveNoEffect) {
    const CellPicture p = samples::testPattern(3);
    ByteVector f = makeDoodle(p);
    const Decoded before = decodeDoodle(f, {});
    for (std::size_t i = 1002; i < 1026; ++i)
        f[i] = 0xFF;
    for (std::size_t i = 9026; i < 9218; ++i)
        f[i] = 0x5A;
    EXPECT_EQ(decodeDoodle(f, {}).picture, before.picture);
}

TEST(Doodle, HighNibbleForSetBitsLowNibbleForClearBits) {
    CellPicture p;
    p.screen[0] = 0x10;
    p.screen[1] = 0x01;
    p.screen[2] = 0x2E;
    p.screen[3] = 0x2E;
    p.bitmap[0] = 0xC3;
    p.bitmap[8] = 0xC3;
    for (int k = 0; k < 8; ++k)
        p.bitmap[24 + k] = 0xFF;
    const Decoded d = decodeDoodle(makeDoodle(p), {});
    const Image rgb = d.picture.toRgb();
    const Rgb w = c64(1), b = c64(0);
    EXPECT_EQ(cellLine(rgb, 0, 0), (std::vector<Rgb>{w, w, b, b, b, b, w, w}));
    EXPECT_EQ(cellLine(rgb, 1, 0), (std::vector<Rgb>{b, b, w, w, w, w, b, b}));
    for (int line = 0; line < 8; ++line) {
        EXPECT_EQ(cellLine(rgb, 2, line), repeated(c64(14))); // bitmap 0: low nibble
        EXPECT_EQ(cellLine(rgb, 3, line), repeated(c64(2)));  // bitmap 0xFF: high nibble
    }
    // Grey: the same indices, drawn in the grey levels.
    const Decoded grey = decodeDoodle(makeDoodle(p), {.grey = true});
    EXPECT_EQ(grey.picture.indices().size(), d.picture.indices().size());
    EXPECT_TRUE(std::equal(grey.picture.indices().begin(), grey.picture.indices().end(),
                           d.picture.indices().begin()));
    EXPECT_EQ(grey.picture.toRgb().pixel(16, 0), kC64GreyPalette[14]);
}

TEST(Doodle, RejectsOtherLengthsAndLoadAddresses) {
    const CellPicture p = samples::testPattern();
    ByteVector longer = makeDoodle(p);
    longer.push_back(0);
    const ByteVector full = makeDoodle(p);
    ByteVector noAddress(full.begin() + 2, full.end());
    ByteVector shortPlusOne = makeDoodle(p, 0x5C00, false);
    shortPlusOne.push_back(0);
    for (const ByteVector* f : {&longer, &noAddress, &shortPlusOne}) {
        const Decoded d = decodeDoodle(*f, {});
        EXPECT_FALSE(d.accepted);
        EXPECT_NE(d.reason.find(std::to_string(f->size())), std::string::npos) << d.reason;
        EXPECT_NE(d.reason.find("9218"), std::string::npos) << d.reason;
    }
    for (std::uint16_t address : {0x6000, 0x2000, 0x1C01}) {
        const Decoded d = decodeDoodle(makeDoodle(p, address), {});
        EXPECT_FALSE(d.accepted);
        EXPECT_NE(d.reason.find("$1C00 or $5C00"), std::string::npos) << d.reason;
    }
    EXPECT_FALSE(decodeDoodle(ByteVector{}, {}).accepted);
}

} // namespace
} // namespace quendra

#include <gtest/gtest.h>

#include <vector>

#include "export/png_pixel_ratio.h"

namespace quendra {
namespace {

TEST(PngAspect, APalPhysChunkFollowsTheHeaderAndOtherBytesAreRefused) {
    // Signature, IHDR of a 1 x 1 palette picture (its CRC is not checked here), IEND.
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0,   0, 0, 13,
                                     'I',  'H', 'D', 'R', 0,    0,    0,    1,    0,   0, 0, 1,
                                     8,    3,   0,   0,   0,    1,    2,    3,    4,   0, 0, 0,
                                     0,    'I', 'E', 'N', 'D',  0xAE, 0x42, 0x60, 0x82};
    const std::vector<std::uint8_t> before = png;
    ASSERT_TRUE(addPixelAspect(png, kPalPixelsAcross, kPalPixelsDown));
    const std::vector<std::uint8_t> phys = {0,    0,    0,    9,    'p',  'H',  'Y',
                                            's',  0x00, 0x78, 0x45, 0x00, 0x00, 0x70,
                                            0x88, 0x98, 0,    0xC9, 0x65, 0x1C, 0x7F};
    std::vector<std::uint8_t> expected(before.begin(), before.begin() + 33);
    expected.insert(expected.end(), phys.begin(), phys.end());
    expected.insert(expected.end(), before.begin() + 33, before.end());
    EXPECT_EQ(png, expected);

    std::vector<std::uint8_t> notPng(before.begin() + 1, before.end());
    const std::vector<std::uint8_t> kept = notPng;
    EXPECT_FALSE(addPixelAspect(notPng, 1, 1));
    EXPECT_EQ(notPng, kept);
}

} // namespace
} // namespace quendra

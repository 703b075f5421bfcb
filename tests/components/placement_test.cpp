#include <gtest/gtest.h>

#include <vector>

#include "components/placement.h"

namespace quendra::placement {
namespace {

TEST(Placement, WidePictureFillsTheClientWidth) {
    EXPECT_EQ(proportional(320, 200, 480, 400), (Area{0, 50, 480, 300})); // s = 1.5
    // A client wider than the picture's proportions: the picture is cut top and bottom.
    EXPECT_EQ(proportional(320, 200, 640, 300), (Area{0, -50, 640, 400})); // s = 2
}

TEST(Placement, UprightPictureFillsTheClientHeight) {
    EXPECT_EQ(proportional(200, 320, 480, 400), (Area{115, 0, 250, 400})); // s = 1.25
    // A square page in the main window's picture area: cut left and right.
    EXPECT_EQ(proportional(2040, 2040, 427, 489), (Area{-31, 0, 489, 489}));
}

TEST(Placement, AxisFollowsThePictureNotTheClient) {
    // Wide picture in a tall client still fills the width and is centred vertically.
    EXPECT_EQ(proportional(320, 200, 200, 1000), (Area{0, 438, 200, 125})); // 437.5 -> 438
    // Upright picture in a flat client still fills the height and overflows nothing.
    EXPECT_EQ(proportional(200, 320, 2000, 100), (Area{969, 0, 62, 100})); // 62.5 -> 62
}

TEST(Placement, HalvesRoundToTheEvenNeighbour) {
    EXPECT_EQ(proportional(4, 1, 4, 4).y, 2);                             // 1.5
    EXPECT_EQ(proportional(4, 1, 4, 6).y, 2);                             // 2.5
    EXPECT_EQ(proportional(1, 2, 4, 5).width, 2);                         // 2.5
    EXPECT_EQ(proportional(1, 2, 4, 3).width, 2);                         // 1.5
    EXPECT_EQ(proportional(320, 200, 481, 400), (Area{0, 50, 481, 301})); // 49.6875, 300.625

    EXPECT_EQ(roundHalfEven(0.5L), 0);
    EXPECT_EQ(roundHalfEven(1.5L), 2);
    EXPECT_EQ(roundHalfEven(2.5L), 2);
    EXPECT_EQ(roundHalfEven(2.4L), 2);
    EXPECT_EQ(roundHalfEven(2.6L), 3);
    EXPECT_EQ(roundHalfEven(-0.5L), 0);
    EXPECT_EQ(roundHalfEven(-1.5L), -2);
    EXPECT_EQ(roundHalfEven(-2.5L), -2);
    EXPECT_EQ(roundHalfEven(-2.6L), -3);
}

TEST(Placement, EmptyPictureGivesTheWholeClient) {
    EXPECT_EQ(proportional(0, 0, 480, 400), (Area{0, 0, 480, 400}));
}

TEST(Placement, UnscaledCentringHalvesTowardZero) {
    EXPECT_EQ(unscaled(320, 200, 427, 489, false), (Area{0, 0, 320, 200}));
    EXPECT_EQ(unscaled(320, 200, 427, 489, true), (Area{53, 144, 320, 200}));
    // Larger than the client: cut on both sides; -36.5 and -55.5 go toward zero.
    EXPECT_EQ(unscaled(500, 600, 427, 489, true), (Area{-36, -55, 500, 600}));
}

TEST(Zoom, ElevenZoomInsOnA320By200Picture) {
    ZoomState z;
    for (int step = 1; step <= 11; ++step) {
        ASSERT_TRUE(zoomIn(z, 320, 200)) << step;
        EXPECT_EQ(z.margin, 10 * step);
        EXPECT_TRUE(z.active);
        if (step == 9) { // the main window's limit
            EXPECT_EQ(z.left, 90);
            EXPECT_EQ(z.top, 90);
            EXPECT_EQ(z.right, 230);
            EXPECT_EQ(z.bottom, 110);
        }
        if (step == 10) {
            EXPECT_EQ(z.bottom - z.top, 0);
        }
    }
    // m = 110: 320 - 220 < 110 refuses, and the state stays as it is.
    const ZoomState before = z;
    EXPECT_FALSE(zoomIn(z, 320, 200));
    EXPECT_EQ(z.margin, before.margin);
    EXPECT_EQ(z.bottom, 90);
    EXPECT_EQ(z.top, 110); // height -20: the mirrored strip
    EXPECT_EQ(z.right - z.left, 100);
}

TEST(Zoom, InGuardLooksAtTheWidthOnly) {
    ZoomState tall;
    int accepted = 0;
    while (zoomIn(tall, 30, 1000))
        ++accepted;
    EXPECT_EQ(accepted, 2); // 30 - 40 < 20 stops it, the height never counts

    ZoomState flat;
    accepted = 0;
    while (zoomIn(flat, 1000, 30))
        ++accepted;
    EXPECT_EQ(accepted, 34);
    EXPECT_EQ(flat.bottom, 30 - 340);
}

TEST(Zoom, OutStopsAtMinusTen) {
    ZoomState z;
    ASSERT_TRUE(zoomOut(z, 320, 200));
    EXPECT_EQ(z.margin, -10);
    EXPECT_TRUE(z.active);
    EXPECT_EQ(z.left, -10);
    EXPECT_EQ(z.top, -10);
    EXPECT_EQ(z.right, 330);
    EXPECT_EQ(z.bottom, 210);
    EXPECT_FALSE(zoomOut(z, 320, 200));
    EXPECT_EQ(z.margin, -10);
    ASSERT_TRUE(zoomIn(z, 320, 200));
    EXPECT_EQ(z.margin, 0);
    EXPECT_EQ(z.right, 320);
    EXPECT_EQ(z.bottom, 200);
}

TEST(Zoom, OutUndoesInStepByStep) {
    ZoomState z;
    for (int i = 0; i < 2; ++i)
        zoomIn(z, 320, 200);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(zoomOut(z, 320, 200)); // OrigSize: count + 1
    EXPECT_EQ(z.margin, -10);
}

std::vector<int> samples(int start, int extent, int destExtent) {
    std::vector<int> out;
    for (int i = 0; i < destExtent; ++i)
        out.push_back(sampleIndex(start, extent, destExtent, i));
    return out;
}

TEST(Sampling, EnlargingRepeatsWholePixels) {
    const auto s = samples(0, 320, 1920);
    for (int i = 0; i < 1920; ++i)
        ASSERT_EQ(s[i], i / 6) << i;
    EXPECT_EQ(samples(5, 4, 4), (std::vector<int>{5, 6, 7, 8}));
}

TEST(Sampling, ReducingDropsWholePixelsEvenly) {
    const auto s = samples(0, 2040, 489);
    EXPECT_EQ(s.front(), 2);
    EXPECT_EQ(s.back(), 2037);
    for (size_t i = 1; i < s.size(); ++i) {
        const int step = s[i] - s[i - 1];
        ASSERT_TRUE(step == 4 || step == 5) << i;
    }
}

TEST(Sampling, NegativeExtentRunsBackwards) {
    // The m = 110 strip: rows 109 down to 90, each twice in 40 rows.
    const auto s = samples(110, -20, 40);
    for (int i = 0; i < 40; ++i)
        ASSERT_EQ(s[i], 109 - i / 2) << i;
    EXPECT_EQ(samples(3, -3, 3), (std::vector<int>{2, 1, 0}));
}

TEST(Sampling, SpanBeyondThePictureGivesOutsideIndices) {
    const auto s = samples(-10, 340, 34); // ten source pixels per destination pixel
    EXPECT_EQ(s.front(), -5);
    EXPECT_EQ(s.back(), 325);
}

TEST(Depth, DisplayClasses) {
    for (int b : {1, 2, 4})
        EXPECT_EQ(displayDepthClass(b), 4) << b;
    for (int b : {5, 8, 15})
        EXPECT_EQ(displayDepthClass(b), 8) << b;
    for (int b : {16, 24, 32})
        EXPECT_EQ(displayDepthClass(b), 24) << b;
    EXPECT_EQ(displayDepthClass(0), 24); // no depth reported
    EXPECT_EQ(displayDepthClass(-1), 24);
}

TEST(Depth, ReaderDepthByResolution) {
    using R = ReadDepth;
    EXPECT_EQ(readDepth(R::AsStored, 24), 0);
    EXPECT_EQ(readDepth(R::Monochrome, 24), 1);
    EXPECT_EQ(readDepth(R::Colours16, 24), 4);
    EXPECT_EQ(readDepth(R::Colours256, 24), 8);
    EXPECT_EQ(readDepth(R::TrueColour, 8), 24);
    EXPECT_EQ(readDepth(R::Automatic, 8), 8);
    EXPECT_EQ(readDepth(R::Automatic, 24), 24);
}

TEST(Depth, WriterDepthByResolutionAndFormat) {
    using S = WriteDepth;
    using F = PictureFormat;
    struct Row {
        S res;
        int plain, gif, jpg; // BMP/PNG/TIF/PCX, GIF, JPG
    };
    const Row rows[] = {
        {S::AsStored, 0, 0, 24}, {S::Monochrome, 1, 1, 1},  {S::Colours16, 4, 4, 24},
        {S::Colours256, 8, 8, 24}, {S::TrueColour, 24, 8, 24}, {S::JpegGrey, 8, 8, 1},
    };
    for (const Row& r : rows) {
        for (F f : {F::BMP, F::PNG, F::TIFF, F::PCX})
            EXPECT_EQ(writeDepth(r.res, f, 4), r.plain) << int(r.res) << " " << int(f);
        EXPECT_EQ(writeDepth(r.res, F::GIF, 4), r.gif) << int(r.res);
        EXPECT_EQ(writeDepth(r.res, F::JPEG, 4), r.jpg) << int(r.res);
    }
    for (int display : {4, 8, 24}) {
        for (F f : {F::BMP, F::PNG, F::TIFF, F::PCX})
            EXPECT_EQ(writeDepth(S::Automatic, f, display), display);
        EXPECT_EQ(writeDepth(S::Automatic, F::GIF, display), display > 8 ? 8 : display);
        EXPECT_EQ(writeDepth(S::Automatic, F::JPEG, display), 24);
    }
}

TEST(Depth, TiffCompressionTagValues) {
    EXPECT_EQ(tiffCompressionCode(TiffSaveCompression::Uncompressed), 1);
    EXPECT_EQ(tiffCompressionCode(TiffSaveCompression::Ccitt), 2);
    EXPECT_EQ(tiffCompressionCode(TiffSaveCompression::Lzw), 5);
    EXPECT_EQ(tiffCompressionCode(TiffSaveCompression::PackBits), 32773);
}

TEST(Setters, JpegQualityAndSmoothing) {
    EXPECT_EQ(jpegQuality(0), 25);
    EXPECT_EQ(jpegQuality(101), 25);
    EXPECT_EQ(jpegQuality(-3), 25);
    EXPECT_EQ(jpegQuality(1), 1);
    EXPECT_EQ(jpegQuality(100), 100);
    EXPECT_EQ(jpegSmoothing(101), 5);
    EXPECT_EQ(jpegSmoothing(-1), 5);
    EXPECT_EQ(jpegSmoothing(0), 0);
    EXPECT_EQ(jpegSmoothing(100), 100);
}

} // namespace
} // namespace quendra::placement

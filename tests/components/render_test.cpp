#include <gtest/gtest.h>

#include "components/render.h"
#include "picture_pattern.h"

namespace quendra::render {
namespace {

using testing::positionColour;
using testing::positionOf;
using testing::positionPicture;

constexpr QRgb kBack = 0xFF0000FF;

QImage frame(int w, int h) {
    QImage f(w, h, QImage::Format_RGB32);
    f.fill(kBack);
    return f;
}

TEST(Render, DoublingGivesTwoByTwoBlocks) {
    const QImage pic = positionPicture(32, 20);
    QImage f = frame(64, 40);
    scaled(f, pic, QRect(0, 0, 32, 20), {0, 0, 64, 40}, kBack);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 64; ++x)
            ASSERT_EQ(f.pixel(x, y), positionColour(x / 2, y / 2));
}

TEST(Render, DestinationOutsideTheFrameIsCut) {
    const QImage pic = positionPicture(32, 20);
    QImage f = frame(64, 30);
    scaled(f, pic, QRect(0, 0, 32, 20), {0, -5, 64, 40}, kBack); // y = -5: 5 rows cut
    EXPECT_EQ(f.pixel(0, 0), positionColour(0, 2));              // frame row 0 is row 5
    EXPECT_EQ(f.pixel(63, 29), positionColour(31, 17));
}

TEST(Render, NegativeHeightMirrorsTopToBottom) {
    const QImage pic = positionPicture(320, 200);
    QImage f = frame(100, 20);
    scaled(f, pic, QRect(110, 110, 100, -20), {0, 0, 100, 20}, kBack);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 100; ++x)
            ASSERT_EQ(positionOf(f.pixel(x, y)), QPoint(110 + x, 109 - y));
}

TEST(Render, NegativeWidthMirrorsLeftToRight) {
    const QImage pic = positionPicture(8, 4);
    QImage f = frame(8, 4);
    scaled(f, pic, QRect(8, 0, -8, 4), {0, 0, 8, 4}, kBack);
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(positionOf(f.pixel(x, 1)), QPoint(7 - x, 1));
}

TEST(Render, ZeroExtentCopiesNothing) {
    const QImage pic = positionPicture(32, 20);
    QImage f = frame(16, 16);
    scaled(f, pic, QRect(10, 10, 12, 0), {0, 0, 16, 16}, kBack);
    scaled(f, pic, QRect(10, 10, 0, 5), {0, 0, 16, 16}, kBack);
    scaled(f, pic, QRect(0, 0, 32, 20), {0, 0, 0, 16}, kBack);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(f.pixel(x, y), kBack);
}

TEST(Render, SourceBeyondThePictureShowsTheBackground) {
    const QImage pic = positionPicture(32, 20);
    QImage f = frame(52, 40);
    scaled(f, pic, QRect(-10, -10, 52, 40), {0, 0, 52, 40}, kBack); // 1:1 with a 10-pixel rim
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 52; ++x) {
            const bool inside = x >= 10 && x < 42 && y >= 10 && y < 30;
            ASSERT_EQ(f.pixel(x, y), inside ? positionColour(x - 10, y - 10) : kBack)
                << x << "," << y;
        }
}

TEST(Render, UnscaledCopyIsCutOnEverySide) {
    const QImage pic = positionPicture(40, 30);
    QImage f = frame(20, 10);
    unscaled(f, pic, -7, -3);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(f.pixel(x, y), positionColour(x + 7, y + 3));
    QImage g = frame(20, 10);
    unscaled(g, pic, 15, 8); // only a 5 x 2 corner lands
    EXPECT_EQ(g.pixel(15, 8), positionColour(0, 0));
    EXPECT_EQ(g.pixel(19, 9), positionColour(4, 1));
    EXPECT_EQ(g.pixel(14, 8), kBack);
    EXPECT_EQ(g.pixel(15, 7), kBack);
}

TEST(Render, CopiesReportWhatTheyWrote) {
    const QImage pic = positionPicture(40, 30);
    QImage f = frame(64, 30);
    EXPECT_EQ(scaled(f, pic, QRect(0, 0, 32, 20), {0, -5, 64, 40}, kBack), QRect(0, 0, 64, 30));
    EXPECT_EQ(scaled(f, pic, QRect(0, 0, 32, 20), {10, 4, 20, 10}, kBack), QRect(10, 4, 20, 10));
    EXPECT_TRUE(scaled(f, pic, QRect(0, 0, 32, 0), {0, 0, 64, 30}, kBack).isEmpty());
    EXPECT_TRUE(scaled(f, pic, QRect(0, 0, 32, 20), {70, 0, 64, 30}, kBack).isEmpty());
    EXPECT_EQ(unscaled(f, pic, -7, -3), QRect(0, 0, 33, 27));
    EXPECT_EQ(unscaled(f, pic, 60, 28), QRect(60, 28, 4, 2));
    EXPECT_TRUE(unscaled(f, pic, 64, 0).isEmpty());
}

TEST(Render, FillOutsideLeavesTheCoveredPartAlone) {
    QImage f(10, 8, QImage::Format_RGB32);
    f.fill(qRgb(1, 1, 1));
    fillOutside(f, QRect(2, 3, 5, 4), kBack);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool inside = x >= 2 && x < 7 && y >= 3 && y < 7;
            ASSERT_EQ(f.pixel(x, y), inside ? qRgb(1, 1, 1) : kBack) << x << "," << y;
        }
    fillOutside(f, QRect(), kBack); // nothing covered: all of it
    EXPECT_EQ(f.pixel(4, 4), kBack);
    f.fill(qRgb(1, 1, 1));
    fillOutside(f, QRect(-5, -5, 100, 100), kBack); // everything covered
    EXPECT_EQ(f.pixel(0, 0), qRgb(1, 1, 1));
    EXPECT_EQ(f.pixel(9, 7), qRgb(1, 1, 1));
}

TEST(Render, DisplayCopyKeepsTheColours) {
    QImage indexed(2, 1, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(1, 2, 3), qRgb(200, 100, 50)});
    indexed.setPixel(0, 0, 1);
    indexed.setPixel(1, 0, 0);
    const QImage d = forDisplay(indexed);
    EXPECT_EQ(d.format(), QImage::Format_RGB32);
    EXPECT_EQ(d.pixel(0, 0), qRgb(200, 100, 50));
    EXPECT_EQ(d.pixel(1, 0), qRgb(1, 2, 3));
}

} // namespace
} // namespace quendra::render

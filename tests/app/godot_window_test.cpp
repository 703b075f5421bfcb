// The GoDot path in the window: full pictures and clips, their captions, grey and the
// progress window of large clips.
#include <QCheckBox>
#include <QPushButton>

#include "app/secondary_windows.h"
#include "decode/palette.h"
#include "export/godot_writer.h"
#include "samples/c64_files.h"
#include "viewer_fixture.h"

namespace quendra::testing {
namespace {

// A picture in the 16 colours, pixel by pixel from a simple generator.
Image colourPicture(int w, int h, unsigned seed) {
    Image image(w, h);
    unsigned v = seed * 2654435761u + 1;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            v = v * 1103515245u + 12345u;
            image.setPixel(x, y, kGodotPalette[(v >> 16) & 15]);
        }
    }
    return image;
}

QImage asQImage(const Image& image) {
    QImage out(image.width(), image.height(), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const Rgb c = image.pixel(x, y);
            out.setPixel(x, y, qRgb(c.r, c.g, c.b));
        }
    }
    return out;
}

std::vector<std::uint8_t> encoded(const Image& picture) {
    const GodotEncoded e = encodeGodot(picture, false);
    EXPECT_TRUE(e.ok) << e.error;
    return e.bytes;
}

TEST_F(ViewerTest, AGodotPictureIsShownInColourAndInGrey) {
    start();
    const Image picture = colourPicture(320, 200, 1);
    const auto bytes = encoded(picture);
    ASSERT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "GOD0");
    show(write(QStringLiteral("pic.4bt"), bytes));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra: pic.4bt (4Bit GoDot)"));
    EXPECT_EQ(shown(), asQImage(picture));
    EXPECT_TRUE(form->document()->isShown());
    EXPECT_TRUE(checkBox("grey")->isEnabled());

    // Grey: index i is drawn as 17 * i.
    checkBox("grey")->setChecked(true);
    const QImage grey = shown();
    for (int y = 0; y < 200; y += 13) {
        for (int x = 0; x < 320; x += 17) {
            const Rgb c = picture.pixel(x, y);
            const int index = int(std::find(kGodotPalette.begin(), kGodotPalette.end(), c) -
                                  kGodotPalette.begin());
            EXPECT_EQ(grey.pixel(x, y), qRgb(17 * index, 17 * index, 17 * index));
        }
    }
}

TEST_F(ViewerTest, AClipIsShownAtItsOwnSize) {
    start();
    const Image clip = colourPicture(24, 16, 2);
    const auto bytes = encoded(clip);
    ASSERT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "GOD1");
    ProgressWatch seen(program->progressWindow(), form);
    show(write(QStringLiteral("small.clp"), bytes));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra: small.clp (4Bit GoDot-Clip)"));
    EXPECT_EQ(shown(), asQImage(clip));
    EXPECT_FALSE(seen.shown); // a small clip shows no progress window
    EXPECT_TRUE(pushButton("SaveAs")->isEnabled() && pushButton("ZoomIn")->isEnabled() &&
                checkBox("grey")->isEnabled() && form->commandStates().fileList);

    // The reduced view of a clip is half its size.
    QTest::mouseClick(form->pictureView(), Qt::RightButton, {}, QPoint(3, 3));
    EXPECT_EQ(program->reducedView()->pictureLabel()->size(), QSize(12, 8));
}

TEST_F(ViewerTest, ALargeClipShowsLoadingProgressByCellRows) {
    start();
    form->setFirstPaintPending(false);
    const Image clip = colourPicture(320, 400, 3);
    const auto bytes = encoded(clip);
    ASSERT_GT(bytes.size(), 32000u);
    ProgressWatch seen(program->progressWindow(), form);
    show(write(QStringLiteral("large.4bt"), bytes));
    EXPECT_EQ(shown(), asQImage(clip));
    EXPECT_TRUE(seen.shown);
    EXPECT_EQ(seen.caption, QStringLiteral("Loading..."));
    EXPECT_EQ(seen.maximum, 50);
    EXPECT_FALSE(program->progressWindow()->isVisible());
}

TEST_F(ViewerTest, AClipWithoutCellsGivesAnEmptyPicture) {
    start();
    show(write(QStringLiteral("empty.clp"), {'G', 'O', 'D', '1', 0, 0, 0, 5, 0xAD}));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra: empty.clp (4Bit GoDot-Clip)"));
    EXPECT_TRUE(shown().isNull() || shown().width() == 0);
    EXPECT_TRUE(form->document()->isShown());
    QTest::mouseClick(form->pictureView(), Qt::LeftButton, {}, QPoint(3, 3)); // no crash
    pushButton("Turn")->click();
    pushButton("Flip")->click();
}

} // namespace
} // namespace quendra::testing

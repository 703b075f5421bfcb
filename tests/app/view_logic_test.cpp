#include "app/view_logic.h"

#include <QDir>
#include <climits>
#include <gtest/gtest.h>

namespace quendra {
namespace {

TEST(Caption, NamesTheFileWithoutItsFolder) {
    EXPECT_EQ(captionFor(QStringLiteral("/pics/c64/PIC.KOA"), u" (Koala)"),
              QStringLiteral("Quendra: PIC.KOA (Koala)"));
    // "\\" and ":" are ordinary characters of a file name here.
    EXPECT_EQ(captionFor(QStringLiteral("/pics/back\\slash.gg"), u" (Koala compressed)"),
              QStringLiteral("Quendra: back\\slash.gg (Koala compressed)"));
    EXPECT_EQ(captionFor(QStringLiteral("/pics/d:x.dd"), u" (Doodle HiRes)"),
              QStringLiteral("Quendra: d:x.dd (Doodle HiRes)"));
    EXPECT_EQ(captionFor(QStringLiteral("plain"), u" (4Bit GoDot)"),
              QStringLiteral("Quendra: plain (4Bit GoDot)"));
    // Control characters show escaped, and the caption stays one line.
    EXPECT_EQ(captionFor(QStringLiteral("/pics/a\nb\x1b[2J.koa"), u" (Koala)"),
              QStringLiteral("Quendra: a\\nb\\x1b[2J.koa (Koala)"));
}

// The file list's name filters are the mask's patterns, matched as Qt matches them.
TEST(FileMask, MatchesTheListedExtensionsWithoutRegardToCase) {
    const QStringList filters = fileMask().split(u';');
    for (const char* name :
         {"a.koa", "B.KOA", "c.Koa", "x.4bt", "y.CLP", "p.pg", "q.Gb", "r.bs", "s.rpm", "t.gg",
          "u.dd", "v.jj", "w.ami", "z.ocp", "two.dots.koa", "a.fp2", "B.Fp2"}) {
        EXPECT_TRUE(QDir::match(filters, QString::fromLatin1(name))) << name;
    }
    for (const char* name : {"a.png", "koa", "a.koa.bak", "a.ko", ".koax", "a"}) {
        EXPECT_FALSE(QDir::match(filters, QString::fromLatin1(name))) << name;
    }
}

TEST(CommandStateTable, StartReaderAndShownPicture) {
    CommandStates s; // start
    EXPECT_FALSE(s.saveAs || s.flip || s.rotate || s.turn || s.zoomIn || s.zoomOut || s.origSize ||
                 s.grey);
    EXPECT_TRUE(s.godot);
    EXPECT_TRUE(s.fileList);

    // A zoomed picture, then a C64 reader: ZoomOut and OrigSize are not touched.
    s = CommandStates{};
    s.saveAs = s.flip = s.rotate = s.turn = s.zoomIn = s.zoomOut = s.origSize = s.grey = true;
    readerStarts(s, ReaderFamily::C64);
    EXPECT_FALSE(s.saveAs || s.flip || s.rotate || s.turn || s.zoomIn || s.grey || s.fileList);
    EXPECT_TRUE(s.zoomOut && s.origSize && s.godot);
    readerEnds(s, ReaderFamily::C64);
    EXPECT_TRUE(s.saveAs && s.flip && s.rotate && s.turn && s.zoomIn && s.grey && s.fileList);
    EXPECT_TRUE(s.zoomOut && s.origSize && s.godot);
}

TEST(CommandStateTable, GreyKeepsItsStateOnTheGodotPath) {
    for (bool greyBefore : {false, true}) {
        CommandStates s;
        s.grey = greyBefore;
        readerStarts(s, ReaderFamily::GodotPath);
        EXPECT_EQ(s.grey, greyBefore);
        readerEnds(s, ReaderFamily::GodotPath);
        EXPECT_TRUE(s.grey);
    }
}

TEST(CommandStateTable, PrintfoxAndFunPainterLeaveGreyOff) {
    CommandStates s;
    s.grey = true;
    readerStarts(s, ReaderFamily::Printfox);
    readerEnds(s, ReaderFamily::Printfox);
    EXPECT_FALSE(s.grey);
    EXPECT_TRUE(s.godot);
    EXPECT_FALSE(s.selectGif);

    s.grey = true;
    readerStarts(s, ReaderFamily::FunPainter);
    readerEnds(s, ReaderFamily::FunPainter);
    EXPECT_FALSE(s.grey);
    EXPECT_FALSE(s.godot);
    EXPECT_TRUE(s.selectGif);
    EXPECT_TRUE(s.saveAs && s.zoomIn && s.fileList);

    dispatchBegins(s); // the next file offers "4Bit GoDot" again
    EXPECT_TRUE(s.godot);
}

TEST(CommandStateTable, DeleteTurnsEverythingOff) {
    CommandStates s;
    readerEnds(s, ReaderFamily::C64);
    int count = 0;
    zoomIn(s, count);
    afterDelete(s);
    EXPECT_FALSE(s.saveAs || s.flip || s.rotate || s.turn || s.zoomIn || s.zoomOut || s.origSize ||
                 s.grey || s.godot);
}

TEST(ZoomSteps, NineZoomInsThenDisabledAndOneZoomOutEnablesAgain) {
    CommandStates s;
    readerEnds(s, ReaderFamily::C64);
    int count = 0;
    for (int i = 1; i <= 9; ++i) {
        const ZoomAction a = zoomIn(s, count);
        EXPECT_EQ(a.zoomIns, 1);
        EXPECT_TRUE(a.stretchRatio);
        EXPECT_EQ(count, i);
        EXPECT_EQ(s.zoomIn, i < 9) << i;
        EXPECT_TRUE(s.zoomOut && s.origSize);
    }
    EXPECT_EQ(zoomIn(s, count).zoomIns, 0); // a tenth does nothing
    EXPECT_EQ(count, 9);

    ZoomAction a = zoomOut(s, count, true);
    EXPECT_EQ(a.zoomOuts, 1);
    EXPECT_EQ(count, 8);
    EXPECT_TRUE(s.zoomIn && s.zoomOut && s.origSize);
    EXPECT_TRUE(a.stretchRatio);

    count = 1;
    a = zoomOut(s, count, true);
    EXPECT_EQ(count, 0);
    EXPECT_FALSE(s.zoomOut || s.origSize || a.stretchRatio);
}

TEST(ZoomSteps, OrigSizeZoomsOutOnceMoreThanCounted) {
    CommandStates s;
    int count = 2;
    const ZoomAction a = origSize(s, count);
    EXPECT_EQ(a.zoomOuts, 3);
    EXPECT_FALSE(a.stretchRatio);
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(s.zoomIn);
    EXPECT_FALSE(s.zoomOut || s.origSize);

    count = 0;
    EXPECT_EQ(origSize(s, count).zoomOuts, 1);
}

TEST(Placement, AWindowOnNoScreenOpensAtTheOrigin) {
    const QList<QRect> screens{QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    EXPECT_EQ(placementOnScreens(QPoint(100, 50), QSize(686, 565), screens), QPoint(100, 50));
    EXPECT_EQ(placementOnScreens(QPoint(3000, 900), QSize(686, 565), screens), QPoint(3000, 900));
    // Partly visible stays where it was.
    EXPECT_EQ(placementOnScreens(QPoint(-600, -500), QSize(686, 565), screens), QPoint(-600, -500));
    // The second monitor is gone.
    EXPECT_EQ(placementOnScreens(QPoint(3300, 100), QSize(686, 565), screens), QPoint(0, 0));
    EXPECT_EQ(placementOnScreens(QPoint(-2000, 0), QSize(686, 565), screens), QPoint(0, 0));
    // Edges at the end of int's range do not wrap around onto a screen.
    EXPECT_EQ(placementOnScreens(QPoint(INT_MAX - 10, INT_MAX - 10), QSize(686, 565), screens),
              QPoint(0, 0));
    EXPECT_EQ(placementOnScreens(QPoint(INT_MIN, INT_MIN), QSize(INT_MAX, INT_MAX), screens),
              QPoint(0, 0));
}

TEST(Placement, AWindowIsNoLargerThanAllScreensTogether) {
    const QList<QRect> screens{QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    EXPECT_EQ(sizeOnScreens(QSize(686, 565), screens), QSize(686, 565));
    EXPECT_EQ(sizeOnScreens(QSize(3200, 1080), screens), QSize(3200, 1080));
    EXPECT_EQ(sizeOnScreens(QSize(2000000000, 5000), screens), QSize(3200, 1080));
    EXPECT_EQ(sizeOnScreens(QSize(900, 700), {}), QSize(900, 700));
}

} // namespace
} // namespace quendra

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

// A disk image opened like a folder: its rows, the picture of an entry, the caption.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <fstream>

#include "app/disk_browser.h"
#include "decode/readers.h"
#include "samples/c64_files.h"
#include "samples/disk_files.h"

namespace quendra {
namespace {

TEST(DiskBrowser, ListsTheEntriesAndShowsThePictureOfOne) {
    QTemporaryDir dir;
    const auto koala = samples::makeKoala(samples::testPattern(7));
    const auto disk = samples::makeD64({{"NOTES", {'H', 'I'}, 0x81},
                                        {"\x81PIC A C/HOUSE", koala},
                                        {"----", {}, 0x80}});
    const QString path = dir.filePath(QStringLiteral("pics.d64"));
    std::ofstream(path.toStdString(), std::ios::binary)
        .write(reinterpret_cast<const char*>(disk.data()), static_cast<std::streamsize>(disk.size()));

    EXPECT_TRUE(DiskBrowser::isImageName(QStringLiteral("x.D81")));
    EXPECT_EQ(DiskBrowser::typeText(QStringLiteral("pics.d64")), QStringLiteral("D64 disk image"));
    EXPECT_TRUE(DiskBrowser::typeText(QStringLiteral("pics.koa")).isEmpty());

    DiskBrowser browser;
    QString error;
    EXPECT_FALSE(browser.open(dir.filePath(QStringLiteral("missing.d64")), &error));
    EXPECT_FALSE(error.isEmpty());
    ASSERT_TRUE(browser.open(path, &error)) << error.toStdString();
    ASSERT_EQ(browser.rows().size(), 3);
    const DiskBrowser::Row& house = browser.rows()[1];
    EXPECT_EQ(house.name, QStringLiteral("PIC A C/HOUSE"));
    EXPECT_EQ(house.type, QStringLiteral("PRG"));
    EXPECT_EQ(house.size, koala.size());
    EXPECT_EQ(house.format, QStringLiteral("Koala Painter"));
    EXPECT_TRUE(browser.rows()[0].format.isEmpty());
    EXPECT_EQ(browser.rows()[2].type, QStringLiteral("DEL"));

    const OpenedPicture picture = browser.picture(1);
    ASSERT_TRUE(picture.accepted());
    EXPECT_EQ(picture.decoded.picture, decodeKoala(koala, {}).picture);
    EXPECT_FALSE(browser.picture(0).accepted());
    EXPECT_FALSE(browser.picture(9).accepted());
    EXPECT_EQ(browser.caption(1, picture.format->captionSuffix),
              QStringLiteral("Quendra: pics.d64 \u203A PIC A C/HOUSE (Koala)"));
}

} // namespace
} // namespace quendra

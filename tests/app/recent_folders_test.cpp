// The recent folders: newest first, each once, bounded, kept in quendra.ini's [Recent].
#include "app/recent_folders.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/settings.h"

namespace quendra {
namespace {

TEST(RecentFolders, NewestFirstEachOnceBoundedAndKeptInTheSettings) {
    RecentFolders recent;
    for (int n = 0; n < RecentFolders::kMost + 2; ++n)
        EXPECT_TRUE(recent.add(QStringLiteral("/pics/%1").arg(n)));
    EXPECT_FALSE(recent.add(QStringLiteral("/pics/9/"))); // first already
    EXPECT_TRUE(recent.add(QStringLiteral("/pics/5")));
    ASSERT_EQ(recent.places().size(), RecentFolders::kMost);
    EXPECT_EQ(recent.places().front(), QStringLiteral("/pics/5"));
    EXPECT_EQ(recent.places()[1], QStringLiteral("/pics/9"));
    EXPECT_EQ(recent.places().back(), QStringLiteral("/pics/2")); // 0 and 1 went

    QTemporaryDir dir;
    IniFile ini(dir.filePath(QStringLiteral("quendra.ini")));
    recent.write(ini);
    RecentFolders shorter;
    shorter.add(QStringLiteral("/only"));
    shorter.write(ini); // the keys past it emptied
    RecentFolders read;
    read.read(ini);
    EXPECT_EQ(read.places(), QStringList{QStringLiteral("/only")});
    EXPECT_TRUE(ini.readString(QStringLiteral("Recent"), QStringLiteral("Folder2")).isEmpty());
    EXPECT_TRUE(read.remove(QStringLiteral("/only")));
    EXPECT_TRUE(read.places().isEmpty());
}

} // namespace
} // namespace quendra

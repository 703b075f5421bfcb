// The browsing state: an open image's rows under their keys, its summary and captions.
#include "app/browsing_state.h"

#include <QTemporaryDir>
#include <fstream>
#include <gtest/gtest.h>

#include "samples/c64_files.h"
#include "samples/disk_files.h"

namespace quendra {
namespace {

TEST(BrowsingState, AnOpenImagesEntriesAreRowsUnderKeysOfTheirOwn) {
    QTemporaryDir dir;
    const auto disk = samples::makeD64(
        {{"NOTES", {'H', 'I'}, 0x81}, {"HOUSE", samples::makeKoala(samples::testPattern(7))}});
    const QString path = dir.filePath(QStringLiteral("pics.d64"));
    std::ofstream(path.toStdString(), std::ios::binary)
        .write(reinterpret_cast<const char*>(disk.data()),
               static_cast<std::streamsize>(disk.size()));

    BrowsingState state;
    EXPECT_EQ(state.entryOf(path + QStringLiteral("/1")), BrowsingState::kNoEntry); // none open
    ASSERT_TRUE(state.openImage(path));
    EXPECT_TRUE(state.insideImage());
    const QList<BrowsingState::Row> rows = state.imageRows();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].texts, (QStringList{QStringLiteral(".."), {}, QStringLiteral("Folder")}));
    EXPECT_TRUE(rows[0].isFolder);
    EXPECT_EQ(rows[2].texts.last(), QStringLiteral("Koala Painter (PRG)"));
    EXPECT_EQ(rows[1].texts.last(), QStringLiteral("SEQ"));
    for (int entry = BrowsingState::kUpRow; entry < 2; ++entry)
        EXPECT_EQ(state.entryOf(rows[entry + 1].key), entry);
    EXPECT_EQ(state.entryOf(path + QStringLiteral("/2")), BrowsingState::kNoEntry);
    EXPECT_EQ(state.entryOf(dir.filePath(QStringLiteral("house.koa"))), BrowsingState::kNoEntry);

    EXPECT_EQ(state.imageSummary(), QStringLiteral("pics.d64: 2 entries, 1 of them a picture."));
    EXPECT_EQ(state.caption(rows[2].key, u" (Koala)"),
              QStringLiteral("Quendra: pics.d64 \u203A HOUSE (Koala)"));
    EXPECT_EQ(state.caption(path, u""), QStringLiteral("Quendra: pics.d64"));
    EXPECT_EQ(state.shownName(rows[2].key), QStringLiteral("HOUSE"));
    EXPECT_EQ(state.entryFileName(rows[2].key), QStringLiteral("HOUSE"));
    EXPECT_TRUE(state.entryFileName(path).isEmpty());

    state.closeImage();
    EXPECT_EQ(state.entryOf(rows[2].key), BrowsingState::kNoEntry);
}

TEST(BrowsingState, AnImagesSummarySaysOneInTheSingular) {
    QTemporaryDir dir;
    const auto koala = samples::makeKoala(samples::testPattern(7));
    const struct {
        std::vector<samples::DiskFile> files;
        const char* summary;
    } cases[] = {
        {{{"HOUSE", koala}}, "one.d64: 1 entry, a picture."},
        {{{"NOTES", {'H', 'I'}, 0x81}}, "one.d64: 1 entry, not a picture."},
        {{{"HOUSE", koala}, {"BARN", koala}}, "one.d64: 2 entries, 2 of them pictures."},
    };
    const QString path = dir.filePath(QStringLiteral("one.d64"));
    for (const auto& c : cases) {
        const auto disk = samples::makeD64(c.files);
        std::ofstream(path.toStdString(), std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(disk.data()),
                   static_cast<std::streamsize>(disk.size()));
        BrowsingState state;
        ASSERT_TRUE(state.openImage(path));
        EXPECT_EQ(state.imageSummary().toStdString(), c.summary);
    }
}

TEST(BrowsingState, TheListFollowsItsRowOnlyWhenThePersonMovesIt) {
    BrowsingState state;
    EXPECT_TRUE(state.followsListMoves());
    state.setSelectingByProgram(true);
    EXPECT_FALSE(state.followsListMoves());
    state.setSelectingByProgram(false);
    state.setMouseInList(true);
    EXPECT_FALSE(state.followsListMoves());
}

TEST(BrowsingState, StepsStayInsideTheList) {
    EXPECT_EQ(BrowsingState::steppedRow(0, -1, false, 1), -1); // nothing listed
    EXPECT_EQ(BrowsingState::steppedRow(5, -1, false, 1), 0);  // none current: the first
    EXPECT_EQ(BrowsingState::steppedRow(5, -1, false, -1), 4); // or the last
    EXPECT_EQ(BrowsingState::steppedRow(5, 2, true, 1), 3);
    EXPECT_EQ(BrowsingState::steppedRow(5, 4, true, 1), -1); // the end, shown already
    EXPECT_EQ(BrowsingState::steppedRow(5, 4, false, 1), 4); // the end, not selected yet
    EXPECT_EQ(BrowsingState::steppedRow(5, 0, true, -1), -1);
}

TEST(BrowsingState, BackGoesThroughTheFoldersListedBefore) {
    BrowsingState state;
    EXPECT_TRUE(state.takeBackFolder().isEmpty());
    for (const char* folder : {"/a", "/a", "/b", "/c"})
        state.enterFolder(QString::fromLatin1(folder));
    EXPECT_EQ(state.takeBackFolder(), QStringLiteral("/b"));
    state.enterFolder(QStringLiteral("/b")); // the list follows: no new step
    EXPECT_EQ(state.takeBackFolder(), QStringLiteral("/a"));
    EXPECT_TRUE(state.takeBackFolder().isEmpty());
}

} // namespace
} // namespace quendra

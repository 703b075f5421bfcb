// The file list view: what a file's row holds, and how a header click sorts the rows.
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLocale>
#include <QMimeDatabase>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "components/file_list_view.h"

using quendra::FileListView;
namespace filelist = quendra::filelist;

namespace {

class FileListViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        previousDir = QDir::currentPath();
        QDir::setCurrent(dir.path()); // the tests give names relative to their folder
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void TearDown() override {
        QDir::setCurrent(previousDir);
        QLocale::setDefault(QLocale::system());
    }

    // A file of `size` zero bytes modified at `modified` (local time).
    static void makeFile(const QString& name, qint64 size, const QDateTime& modified,
                         const QByteArray& content = {}) {
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        QByteArray bytes = content;
        bytes.resize(std::max<qint64>(size, content.size()), '\0');
        f.write(bytes);
        f.close();
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(modified, QFileDevice::FileModificationTime));
        f.close();
    }
    static void makeFile(const QString& name, qint64 size = 10) {
        makeFile(name, size, QDateTime(QDate(2020, 1, 2), QTime(3, 4)));
    }

    static QStringList captions(const FileListView& view) {
        QStringList out;
        for (int r = 0; r < view.rowCount(); ++r)
            out << view.text(r, FileListView::Caption);
        return out;
    }

    static void add(FileListView& view, const QStringList& names) {
        for (const QString& name : names) {
            qint64 size = -1;
            ASSERT_TRUE(view.addFile(name, size)) << name.toStdString();
        }
    }

    // A real mouse click on the header of `column`.
    static void clickHeader(FileListView& view, int column) {
        QHeaderView* header = view.header();
        const QPoint at(header->sectionViewportPosition(column) + 4, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }

    static void show(FileListView& view) {
        view.resize(800, 400);
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }

    QTemporaryDir dir;
    QString previousDir;
};

// --- What a row holds ---------------------------------------------------------------------

TEST_F(FileListViewTest, RowHoldsTheRealNameSizeTypeTimeAndAttributes) {
    makeFile("Pic.KOA", 10003, QDateTime(QDate(2021, 3, 4), QTime(14, 5, 59)));
    FileListView view;
    qint64 size = 0;
    ASSERT_TRUE(view.addFile("Pic.KOA", size));
    EXPECT_EQ(size, 10003);
    ASSERT_EQ(view.rowCount(), 1);
    EXPECT_EQ(view.text(0, FileListView::Caption), "Pic.KOA");
    EXPECT_EQ(view.text(0, FileListView::Size), "10003");
    EXPECT_EQ(view.text(0, FileListView::Type), "Koala Painter picture");
    EXPECT_EQ(view.text(0, FileListView::Modified), "2021/03/04 14:05");
    EXPECT_EQ(view.text(0, FileListView::Attributes), "");
    EXPECT_EQ(view.fileName(0), "Pic.KOA"); // the name as given, for opening the file
}

TEST_F(FileListViewTest, ModifiedTextDropsTimeOnlyAtExactMidnight) {
    makeFile("night.koa", 1, QDateTime(QDate(2021, 3, 4), QTime(0, 0, 0)));
    makeFile("early.koa", 1, QDateTime(QDate(2021, 3, 4), QTime(0, 0, 30)));
    FileListView view;
    add(view, {"night.koa", "early.koa"});
    EXPECT_EQ(view.text(0, FileListView::Modified), "2021/03/04");
    EXPECT_EQ(view.text(1, FileListView::Modified), "2021/03/04 00:00");
}

TEST_F(FileListViewTest, ModifiedTextUsesTheLocaleDateSeparator) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    makeFile("a.koa", 1, QDateTime(QDate(1998, 6, 19), QTime(9, 30)));
    FileListView view; // takes the separator when it is made
    add(view, {"a.koa"});
    EXPECT_EQ(view.text(0, FileListView::Modified), "1998.06.19 09:30");

    QLocale::setDefault(QLocale::c()); // "d MMM yyyy" has no separator: "/"
    EXPECT_EQ(filelist::localeDateSeparator(), QChar('/'));
}

TEST_F(FileListViewTest, TypeOfC64FormatsComesFromTheExtensionNeverFromContent) {
    // PNG signature inside a Doodle file: still a Doodle picture.
    makeFile("x.DD", 100, QDateTime::currentDateTime(), QByteArray("\x89PNG\r\n\x1a\n", 8));
    makeFile("y.clp", 10);
    makeFile("notes.txt", 0, QDateTime::currentDateTime(), "plain words\n");
    makeFile("blob.zz9", 64, QDateTime::currentDateTime(), QByteArray(64, '\x01'));
    FileListView view;
    add(view, {"x.DD", "y.clp", "notes.txt", "blob.zz9"});
    EXPECT_EQ(view.text(0, FileListView::Type), "Doodle picture");
    EXPECT_EQ(view.text(1, FileListView::Type), "GoDot 4Bit clip");
    const QString txt = QMimeDatabase().mimeTypeForFile(dir.filePath("notes.txt")).comment();
    EXPECT_FALSE(txt.isEmpty());
    EXPECT_EQ(view.text(2, FileListView::Type), txt.trimmed().left(80));
    EXPECT_FALSE(view.text(3, FileListView::Type).isEmpty());
    for (int r = 0; r < view.rowCount(); ++r) {
        const QString type = view.text(r, FileListView::Type);
        EXPECT_LE(type.size(), 80);
        EXPECT_EQ(type, type.trimmed());
    }
}

TEST_F(FileListViewTest, AttributeLettersReadOnlyHiddenSystemAndNeverArchive) {
    makeFile("plain.koa");
    makeFile("locked.koa");
    makeFile(".hidden.koa");
    makeFile(".both.koa");
    ASSERT_TRUE(QFile::setPermissions("locked.koa", QFile::ReadOwner | QFile::ReadGroup));
    ASSERT_TRUE(QFile::setPermissions(".both.koa", QFile::ReadOwner));
    ASSERT_TRUE(QDir().mkdir("folder.koa"));
    ASSERT_EQ(::mkfifo("pipe.koa", 0644), 0); // must not be opened to find its type

    FileListView view;
    add(view, {"plain.koa", "locked.koa", ".hidden.koa", ".both.koa", "folder.koa", "pipe.koa"});
    EXPECT_EQ(view.text(0, FileListView::Attributes), "");
    EXPECT_EQ(view.text(1, FileListView::Attributes), "R");
    EXPECT_EQ(view.text(2, FileListView::Attributes), "H");
    EXPECT_EQ(view.text(3, FileListView::Attributes), "RH");
    EXPECT_EQ(view.text(4, FileListView::Attributes), "S");
    EXPECT_EQ(view.text(5, FileListView::Attributes), "S");
    for (int r = 0; r < view.rowCount(); ++r)
        EXPECT_FALSE(view.text(r, FileListView::Attributes).contains('A'));
}

TEST_F(FileListViewTest, VanishedFileGetsNoRow) {
    makeFile("here.koa");
    makeFile("gone.koa");
    ASSERT_TRUE(QFile::remove("gone.koa"));
    FileListView view;
    qint64 size = 0;
    EXPECT_TRUE(view.addFile("here.koa", size));
    EXPECT_FALSE(view.addFile("gone.koa", size));
    EXPECT_FALSE(view.addFile("", size));
    EXPECT_EQ(captions(view), QStringList{"here.koa"});
}

// --- Sorting on a header click ------------------------------------------------------------

TEST_F(FileListViewTest, FirstClickOnSizeSortsDescendingAsNumbers) {
    makeFile("nine.koa", 9);
    makeFile("hundred.koa", 100);
    makeFile("ten.koa", 10);
    FileListView view;
    show(view);
    add(view, {"nine.koa", "hundred.koa", "ten.koa"});
    EXPECT_EQ(view.sortedColumn(), FileListView::Size);
    EXPECT_TRUE(view.sortedAscending());
    EXPECT_EQ(captions(view), (QStringList{"nine.koa", "hundred.koa", "ten.koa"})); // as added

    clickHeader(view, FileListView::Size);
    EXPECT_FALSE(view.sortedAscending());
    EXPECT_EQ(captions(view), (QStringList{"hundred.koa", "ten.koa", "nine.koa"}));
    clickHeader(view, FileListView::Size);
    EXPECT_EQ(captions(view), (QStringList{"nine.koa", "ten.koa", "hundred.koa"}));
}

TEST_F(FileListViewTest, TwoClicksOnNameGiveAscendingThenDescendingWithAToZAsUpperCase) {
    // With a-z taken as A-Z, "_" (after "Z") sorts after every letter, "." before digits.
    for (const char* name : {"b.koa", "_a.koa", "A.koa", "1.koa", "B2.koa"})
        makeFile(name);
    FileListView view;
    show(view);
    add(view, {"b.koa", "_a.koa", "A.koa", "1.koa", "B2.koa"});

    clickHeader(view, FileListView::Caption);
    EXPECT_EQ(view.sortedColumn(), FileListView::Caption);
    const QStringList ascending{"1.koa", "A.koa", "b.koa", "B2.koa", "_a.koa"};
    EXPECT_EQ(captions(view), ascending);
    clickHeader(view, FileListView::Caption);
    QStringList descending = ascending;
    std::reverse(descending.begin(), descending.end());
    EXPECT_EQ(captions(view), descending);
}

TEST(FileNames, SortAsTheDesktopDoes) {
    QStringList names{"pic10.koa", "Pic2.koa", "pic2.koa", "pic02.koa", "b.koa", "A.koa"};
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return filelist::compareNames(a, b) < 0; });
    // Equal by value and case: the real characters decide.
    EXPECT_EQ(names,
              (QStringList{"A.koa", "b.koa", "Pic2.koa", "pic02.koa", "pic2.koa", "pic10.koa"}));
}

TEST_F(FileListViewTest, TypeAndAttributeColumnsSortLikeCaptions) {
    makeFile("p.txt", 1, QDateTime::currentDateTime(), "text\n");
    makeFile("q.koa");
    makeFile("r.dd");
    makeFile("s.koa");
    ASSERT_TRUE(QFile::setPermissions("s.koa", QFile::ReadOwner));
    FileListView view;
    show(view);
    add(view, {"p.txt", "q.koa", "r.dd", "s.koa"});

    clickHeader(view, FileListView::Type);
    EXPECT_TRUE(view.sortedAscending());
    for (int r = 1; r < view.rowCount(); ++r)
        EXPECT_LE(view.compareRows(r - 1, r, FileListView::Type), 0);
    EXPECT_EQ(view.text(0, FileListView::Type), "Doodle picture");
    // Equal types keep their order: q before s.
    EXPECT_LT(captions(view).indexOf("q.koa"), captions(view).indexOf("s.koa"));

    view.columnClick(FileListView::Attributes); // the Attributes column has a header here
    EXPECT_EQ(captions(view).last(), "s.koa");  // "" before "R"
    view.columnClick(FileListView::Attributes);
    EXPECT_EQ(captions(view).first(), "s.koa");
}

TEST_F(FileListViewTest, ModifiedSortsByTimeAndEqualMinutesCompareEqual) {
    const QDate day(2022, 5, 6);
    makeFile("a.koa", 1, QDateTime(day, QTime(10, 0, 5)));
    makeFile("b.koa", 1, QDateTime(day.addDays(-400), QTime(23, 59)));
    makeFile("c.koa", 1, QDateTime(day, QTime(10, 0, 55))); // same minute as a
    makeFile("d.koa", 1, QDateTime(day, QTime(10, 1, 0)));
    makeFile("e.koa", 1, QDateTime(day, QTime(0, 0, 0))); // date only
    FileListView view;
    show(view);
    add(view, {"a.koa", "b.koa", "c.koa", "d.koa", "e.koa"});
    EXPECT_EQ(view.compareRows(0, 2, FileListView::Modified), 0);

    clickHeader(view, FileListView::Modified);
    EXPECT_EQ(captions(view), (QStringList{"b.koa", "e.koa", "a.koa", "c.koa", "d.koa"}));
    clickHeader(view, FileListView::Modified);
    // Negated comparison: a and c are still equal and keep their order.
    EXPECT_EQ(captions(view), (QStringList{"d.koa", "a.koa", "c.koa", "e.koa", "b.koa"}));
}

TEST_F(FileListViewTest, SizesBeyondTwoGigabytesSortAsNumbers) {
    makeFile("small.koa", 5);
    QFile big("big.koa");
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    if (!big.resize(qint64(5) << 30))
        GTEST_SKIP() << "no sparse files here";
    big.close();
    FileListView view;
    add(view, {"big.koa", "small.koa"});
    EXPECT_EQ(view.text(0, FileListView::Size), "5368709120");
    view.columnClick(FileListView::Caption);
    view.columnClick(FileListView::Size); // ascending
    EXPECT_EQ(captions(view), (QStringList{"small.koa", "big.koa"}));
}

TEST_F(FileListViewTest, RowsAddedAfterASortGoToTheEnd) {
    for (const char* name : {"m.koa", "z.koa", "a.koa"})
        makeFile(name);
    FileListView view;
    add(view, {"m.koa", "z.koa"});
    view.columnClick(FileListView::Caption);
    add(view, {"a.koa"});
    EXPECT_EQ(captions(view), (QStringList{"m.koa", "z.koa", "a.koa"}));
}

TEST_F(FileListViewTest, SelectionFollowsItsRowThroughASort) {
    for (const char* name : {"c.koa", "a.koa", "b.koa"})
        makeFile(name);
    FileListView view;
    add(view, {"c.koa", "a.koa", "b.koa"});
    view.selectionModel()->select(view.model()->index(0, 0),
                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    EXPECT_EQ(view.selectedCaption(), "c.koa");
    view.columnClick(FileListView::Caption);
    EXPECT_EQ(captions(view).last(), "c.koa");
    EXPECT_EQ(view.selectedCaption(), "c.koa");
}

TEST_F(FileListViewTest, ReadBackAndRoundingHelpers) {
    double a = 0, b = 0;
    ASSERT_TRUE(filelist::readModified("1998/06/19 09:30", a));
    ASSERT_TRUE(filelist::readModified("1998.06.19", b));
    EXPECT_NEAR(a - b, (9 * 60 + 30) / 1440.0, 1e-9);
    ASSERT_TRUE(filelist::readModified("1899/12/30", b));
    EXPECT_DOUBLE_EQ(b, 0.0);
    EXPECT_FALSE(filelist::readModified("", a));
    EXPECT_FALSE(filelist::readModified("1998/13/01", a));
    EXPECT_FALSE(filelist::readModified("1998/06/19 24:00", a));

    // Less than half of 1/100000 day (0.432 s) apart is equal; one second is not.
    EXPECT_EQ(filelist::compareDays(1.0 + 0.4 / 86400, 1.0), 0);
    EXPECT_EQ(filelist::compareDays(1.0 + 1.0 / 86400, 1.0), 1);
    EXPECT_EQ(filelist::compareDays(1.0, 1.0 + 1.0 / 86400), -1);
    EXPECT_EQ(filelist::compareDays(2.0, 1.0), 100000);

    EXPECT_LT(filelist::compareText("abc", "ABD"), 0);
    EXPECT_EQ(filelist::compareText("abc", "ABC"), 0);
    EXPECT_LT(filelist::compareText("ab", "abc"), 0);
    EXPECT_GT(filelist::compareText("_", "z"), 0);
}

// --- Clicks, columns and styles -----------------------------------------------------------

TEST_F(FileListViewTest, ClickOnRowSelectsAndSignalsClickOnEmptyPartClears) {
    for (const char* name : {"one.koa", "Two.koa"})
        makeFile(name);
    for (const bool multi : {true, false}) {
        SCOPED_TRACE(multi ? "multi-select" : "single select");
        FileListView view;
        view.setMultiSelect(multi);
        show(view);
        add(view, {"one.koa", "Two.koa"});
        QSignalSpy clicked(&view, &FileListView::fileClicked);

        const QRect second = view.visualRect(view.model()->index(1, 0));
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, second.center());
        EXPECT_EQ(clicked.count(), 1);
        EXPECT_EQ(view.selectedCaption(), "Two.koa");
        EXPECT_EQ(view.selectedFileName(), "Two.koa");

        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(10, second.bottom() + 100));
        EXPECT_EQ(clicked.count(), 2);
        EXPECT_EQ(view.selectedCaption(), "");
        EXPECT_EQ(view.selectedFileName(), "");

        QTest::mouseClick(view.viewport(), Qt::RightButton, {}, second.center());
        EXPECT_EQ(clicked.count(), 2); // only the left button clicks
    }
}

TEST_F(FileListViewTest, OwnColumnsKeepAttributesInTheRowAndListStyleShowsNamesOnly) {
    makeFile("x.koa");
    ASSERT_TRUE(QFile::setPermissions("x.koa", QFile::ReadOwner));
    FileListView view;
    view.setMultiSelect(false);
    view.setColumns({{"Name", 65}, {"Size", 50}, {"Type", 50}, {"Modified", 80}});
    add(view, {"x.koa"});
    EXPECT_EQ(view.model()->headerData(3, Qt::Horizontal).toString(), "Modified");
    EXPECT_EQ(view.header()->sectionSize(0), 65);
    EXPECT_EQ(view.header()->sectionSize(3), 80);
    EXPECT_TRUE(view.isColumnHidden(FileListView::Attributes));
    EXPECT_EQ(view.text(0, FileListView::Attributes), "R");
    EXPECT_EQ(
        view.model()->headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>() &
            Qt::AlignHorizontal_Mask,
        Qt::AlignLeft);

    view.setViewStyle(FileListView::ViewStyle::List);
    EXPECT_TRUE(view.isHeaderHidden());
    for (int c = 1; c < FileListView::FieldCount; ++c)
        EXPECT_TRUE(view.isColumnHidden(c));
    view.setViewStyle(FileListView::ViewStyle::Report);
    EXPECT_FALSE(view.isHeaderHidden());
    for (int c = 0; c < 4; ++c)
        EXPECT_FALSE(view.isColumnHidden(c));
    EXPECT_EQ(view.header()->sectionSize(0), 65);
}

TEST_F(FileListViewTest, SettingsHaveTheirDefaults) {
    FileListView view;
    EXPECT_EQ(view.viewStyle(), FileListView::ViewStyle::Report);
    EXPECT_TRUE(view.readOnly());
    EXPECT_EQ(view.editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_TRUE(view.multiSelect());
    EXPECT_EQ(view.selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_FALSE(view.hideSelection());
    EXPECT_TRUE(view.showColumnHeaders());
    EXPECT_EQ(view.allocBy(), 32);
    EXPECT_EQ(view.model()->headerData(0, Qt::Horizontal).toString(), "Name");
    EXPECT_EQ(view.header()->sectionSize(0), 240);
    EXPECT_EQ(view.model()->headerData(4, Qt::Horizontal).toString(), "Attributes");
    view.setShowColumnHeaders(false);
    EXPECT_TRUE(view.isHeaderHidden());
    view.setMultiSelect(false);
    EXPECT_EQ(view.selectionMode(), QAbstractItemView::SingleSelection);

    // Captions become editable, the sub-items never.
    view.setReadOnly(false);
    makeFile("e.koa");
    add(view, {"e.koa"});
    EXPECT_TRUE(view.model()->flags(view.model()->index(0, 0)) & Qt::ItemIsEditable);
    EXPECT_FALSE(view.model()->flags(view.model()->index(0, 1)) & Qt::ItemIsEditable);
    EXPECT_NE(view.editTriggers(), QAbstractItemView::NoEditTriggers);

    // Hidden selection: without the focus it is painted like the background.
    const QColor highlight = view.palette().color(QPalette::Inactive, QPalette::Highlight);
    view.setHideSelection(true);
    EXPECT_EQ(view.palette().color(QPalette::Inactive, QPalette::Highlight),
              view.palette().color(QPalette::Inactive, QPalette::Base));
    view.setHideSelection(false);
    EXPECT_EQ(view.palette().color(QPalette::Inactive, QPalette::Highlight), highlight);
}

// The model lists the folder by its filters (case aside) in the desktop's order, each row
// under its whole path; rows its caller gave stay until it lists the folder again.
TEST_F(FileListViewTest, TheModelListsTheMatchingFilesAndKeepsTheCallersRows) {
    // C64-style names of a format listed (pi.worldmap), not PC pictures of that prefix.
    for (const char* name : {"pic10.KOA", "pic2.koa", "notes.txt", "disk.d64", "game.P01",
                             "game.p0x", "PI.worldmap", "pi.png", "pi.worldmap.png", "koa.d64"})
        makeFile(name);
    QDir(dir.path()).mkdir("folder.koa");
    quendra::FileListModel model;
    model.setNameFilters({"*.koa", " *.d64", "*.p[0-9][0-9]", "*.pi"});
    model.setDirectory(dir.path());
    const QStringList listed = {"disk.d64",    "game.P01", "koa.d64",
                                "PI.worldmap", "pic2.koa", "pic10.KOA"};
    ASSERT_EQ(model.rowCount(), listed.size());
    for (int row = 0; row < model.rowCount(); ++row)
        EXPECT_EQ(model.text(row, FileListView::Caption), listed[row]);
    EXPECT_EQ(model.fileName(5), QDir(dir.path()).filePath("pic10.KOA"));

    model.clear();
    model.addRow("disk.d64/0", {"ENTRY", "17", "Koala"});
    makeFile("new.koa");
    QSignalSpy refreshed(&model, &quendra::FileListModel::refreshed);
    model.refresh();
    EXPECT_EQ(refreshed.count(), 1);
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.fileName(0), "disk.d64/0");
    model.listFolder();
    EXPECT_EQ(model.rowCount(), listed.size() + 1);
}

} // namespace

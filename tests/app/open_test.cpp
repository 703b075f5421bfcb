// Getting to one's files in a shown, active window: a folder or a disk image as the command
// line's argument, File ▸ "Open..." and "Open Folder..." through the dialog seam, the recent
// folders and the Go keys. Run on the offscreen platform with the rest, and under Xvfb
// (ctest test_app_real_window).
#include <QMenu>

#include "app/main_window.h"
#include "decode/open_picture.h"
#include "samples/c64_files.h"
#include "samples/disk_files.h"
#include "viewer_fixture.h"

namespace quendra::testing {
namespace {

using samples::makeKoala;
using samples::testPattern;

class Opening : public ViewerTest {
  protected:
    QString listed() const { return QDir(folderList()->directory()).canonicalPath(); }
    QString canonical(const QString& folder) const { return QDir(folder).canonicalPath(); }
    void key(Qt::Key k, Qt::KeyboardModifiers m = {}) { QTest::keyClick(fileList(), k, m); }
    // The recent folders' menu, place `n` (from 1) as kept in quendra.ini on closing.
    QString recentMenuPlace(int n) const {
        const QString text = menuAction(QStringLiteral("recent-%1").arg(n).toLatin1())->text();
        return text.mid(text.indexOf(u' ') + 1);
    }
    QString recentKept(int n) const {
        return IniFile(settings::filePath())
            .readString(QStringLiteral("Recent"), QStringLiteral("Folder%1").arg(n));
    }
    // A D64 of a note (no picture), then two Koala pictures.
    QString writeDisk(const QString& name) {
        return write(name, samples::makeD64({{"NOTES", {'H', 'I'}, 0x81},
                                             {"FERRARI", makeKoala(testPattern(3))},
                                             {"EYE", makeKoala(testPattern(5))}}));
    }
};

TEST_F(Opening, AFolderArgumentListsAndShowsItsFirstPictureAndTheGoKeysMove) {
    writeDisk(QStringLiteral("0.d64")); // listed first, but no picture of its own
    write(QStringLiteral("a.koa"), makeKoala(testPattern(1)));
    write(QStringLiteral("b.koa"), makeKoala(testPattern(2)));
    start({picsFolder()});
    bringUp();
    EXPECT_EQ(listed(), canonical(picsFolder()));
    EXPECT_EQ(selected(), QStringLiteral("a.koa"));
    EXPECT_EQ(caption(), QStringLiteral("Quendra: a.koa (Koala)"));
    EXPECT_EQ(shown(), expectedPicture(decodeKoala, makeKoala(testPattern(1))));
    EXPECT_EQ(recentMenuPlace(1), QDir::cleanPath(picsFolder()));
    // Backspace still steps in the list; Alt+Up goes to the parent, Alt+Left back.
    key(Qt::Key_Space);
    key(Qt::Key_Backspace);
    EXPECT_EQ(selected(), QStringLiteral("a.koa"));
    EXPECT_EQ(listed(), canonical(picsFolder()));
    key(Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(listed(), canonical(dir.path()));
    key(Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(listed(), canonical(picsFolder()));
    key(Qt::Key_Home, Qt::AltModifier);
    EXPECT_EQ(listed(), canonical(QDir::homePath()));
}

TEST_F(Opening, ADiskImageArgumentListsItsEntriesAndShowsTheFirstPicture) {
    const QString disk = writeDisk(QStringLiteral("pics.d64"));
    start({disk});
    bringUp();
    ASSERT_EQ(fileList()->rowCount(), 4);
    EXPECT_EQ(fileList()->text(0, FileListView::Caption), QStringLiteral(".."));
    EXPECT_EQ(fileList()->text(2, FileListView::Caption), QStringLiteral("FERRARI"));
    EXPECT_EQ(selected(), QStringLiteral("FERRARI"));
    EXPECT_EQ(caption(), QStringLiteral("Quendra: pics.d64 \u203A FERRARI (Koala)"));
    const auto ferrari = makeKoala(testPattern(3));
    EXPECT_EQ(shown(),
              toQImage(openPicture(ferrari, ferrari.size(), "FERRARI", {}).decoded.picture));
    EXPECT_EQ(recentMenuPlace(1), disk);
    // Alt+Up leads out, to the image's row.
    key(Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(selected(), QStringLiteral("pics.d64"));
    EXPECT_EQ(listed(), canonical(picsFolder()));
}

TEST_F(Opening, FileOpenAndOpenFolderGoThroughTheDialogSeamAndRecentFoldersReturn) {
    write(QStringLiteral("a.koa"), makeKoala(testPattern(1)));
    const QString disk = writeDisk(QStringLiteral("pics.d64"));
    QDir(dir.path()).mkpath(QStringLiteral("other"));
    const QString other = dir.filePath(QStringLiteral("other"));
    const QString picture = QDir(other).filePath(QStringLiteral("c.koa"));
    {
        QFile f(picture);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        const auto bytes = makeKoala(testPattern(4));
        f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
    }
    std::vector<dialogs::OpenRequest> requests;
    QString answerPath;
    dialogs::Handler handler = dialogs::setHandler({});
    handler.openFileName = [&](QWidget*, const dialogs::OpenRequest& request) {
        requests.push_back(request);
        return answerPath;
    };
    dialogs::setHandler(handler);
    start();
    openPictures();
    bringUp();

    // Ctrl+O: the dialog starts in the listed folder; the chosen file is shown in its list.
    answerPath = picture;
    key(Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(canonical(requests[0].directory), canonical(picsFolder()));
    EXPECT_FALSE(requests[0].folder);
    EXPECT_TRUE(requests[0].filter.contains(QStringLiteral("*.koa")));
    EXPECT_EQ(listed(), canonical(other));
    EXPECT_EQ(selected(), QStringLiteral("c.koa"));
    EXPECT_EQ(caption(), QStringLiteral("Quendra: c.koa (Koala)"));

    // A disk image chosen opens like a folder.
    answerPath = disk;
    menuAction("open")->trigger();
    EXPECT_EQ(fileList()->rowCount(), 4);
    EXPECT_EQ(caption(), QStringLiteral("Quendra: pics.d64 \u203A FERRARI (Koala)"));

    // Open Folder: out of the image, the folder's first picture shown.
    answerPath = other;
    menuAction("openFolder")->trigger();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_TRUE(requests[2].folder);
    EXPECT_EQ(listed(), canonical(other));
    EXPECT_EQ(caption(), QStringLiteral("Quendra: c.koa (Koala)"));
    EXPECT_EQ(fileList()->rowCount(), 1);

    // A folder without pictures says so; no other folder's picture stays.
    QDir(dir.path()).mkpath(QStringLiteral("empty"));
    answerPath = dir.filePath(QStringLiteral("empty"));
    menuAction("openFolder")->trigger();
    EXPECT_EQ(form->statusText(), QStringLiteral("empty holds no pictures."));
    EXPECT_EQ(shown(), blackTemplate());

    // The places opened or looked at, newest first; one chosen opens again.
    QMenu* recentMenu = form->findChild<QMenu*>(QStringLiteral("recentFolders"));
    ASSERT_NE(recentMenu, nullptr);
    ASSERT_EQ(recentMenu->actions().size(), 3);
    EXPECT_EQ(recentMenuPlace(1), QDir::cleanPath(answerPath));
    EXPECT_EQ(recentMenuPlace(2), QDir::cleanPath(other));
    EXPECT_EQ(recentMenuPlace(3), disk);
    menuAction("recent-3")->trigger();
    EXPECT_EQ(caption(), QStringLiteral("Quendra: pics.d64 \u203A FERRARI (Koala)"));
    form->close();
    EXPECT_EQ(recentKept(1), disk);
    EXPECT_EQ(recentKept(3), QDir::cleanPath(other));
    // The next start offers them again.
    program.reset();
    start();
    EXPECT_EQ(recentMenuPlace(3), QDir::cleanPath(other));
}

} // namespace
} // namespace quendra::testing

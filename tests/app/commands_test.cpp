// The view commands, the enlarged and reduced views, delete, drop and browsing.
#include <QCheckBox>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QUrl>

#include "app/secondary_windows.h"
#include "samples/c64_files.h"
#include "viewer_fixture.h"

namespace quendra::testing {
namespace {

using samples::makeKoala;
using samples::testPattern;

class Commands : public ViewerTest {
  protected:
    void SetUp() override {
        ViewerTest::SetUp();
        start();
        koala = makeKoala(testPattern());
        show(write(QStringLiteral("pic.koa"), koala));
        ASSERT_TRUE(form->document()->isShown());
    }
    std::vector<std::uint8_t> koala;
};

TEST_F(Commands, NineZoomInsThenZoomInIsDisabled) {
    for (int i = 1; i <= 9; ++i) {
        ASSERT_TRUE(pushButton("ZoomIn")->isEnabled()) << i;
        pushButton("ZoomIn")->click();
        EXPECT_EQ(form->viewState().zoomSteps(), i);
        EXPECT_TRUE(pushButton("ZoomOut")->isEnabled());
        EXPECT_TRUE(pushButton("OrigSize")->isEnabled());
        EXPECT_TRUE(form->pictureView()->stretchRatio());
    }
    EXPECT_FALSE(pushButton("ZoomIn")->isEnabled());
    EXPECT_EQ(form->pictureView()->zoomState().margin, 90);
    pushButton("ZoomIn")->click(); // disabled: nothing happens
    EXPECT_EQ(form->viewState().zoomSteps(), 9);

    pushButton("ZoomOut")->click();
    EXPECT_EQ(form->viewState().zoomSteps(), 8);
    EXPECT_TRUE(pushButton("ZoomIn")->isEnabled());
    EXPECT_EQ(form->pictureView()->zoomState().margin, 80);
}

TEST_F(Commands, ZoomingOutToZeroSwitchesTheScalingOff) {
    pushButton("ZoomIn")->click();
    pushButton("ZoomOut")->click();
    EXPECT_EQ(form->viewState().zoomSteps(), 0);
    EXPECT_FALSE(pushButton("ZoomOut")->isEnabled());
    EXPECT_FALSE(pushButton("OrigSize")->isEnabled());
    EXPECT_TRUE(pushButton("ZoomIn")->isEnabled());
    EXPECT_FALSE(form->pictureView()->stretchRatio());
    EXPECT_EQ(form->pictureView()->zoomState().margin, 0);
}

TEST_F(Commands, OrigSizeWithACountOfTwoZoomsOutThreeTimes) {
    pushButton("ZoomIn")->click();
    pushButton("ZoomIn")->click();
    ASSERT_EQ(form->pictureView()->zoomState().margin, 20);
    pushButton("OrigSize")->click();
    EXPECT_EQ(form->pictureView()->zoomState().margin, -10);
    EXPECT_EQ(form->viewState().zoomSteps(), 0);
    EXPECT_FALSE(form->pictureView()->stretchRatio());
    EXPECT_FALSE(pushButton("ZoomOut")->isEnabled());
    EXPECT_FALSE(pushButton("OrigSize")->isEnabled());
    EXPECT_TRUE(pushButton("ZoomIn")->isEnabled());
}

TEST_F(Commands, AnotherFileReturnsAZoomedViewToOneToOne) {
    for (int i = 0; i < 3; ++i)
        pushButton("ZoomIn")->click();
    show(write(QStringLiteral("two.koa"), makeKoala(testPattern(3))));
    EXPECT_EQ(form->viewState().zoomSteps(), 0);
    EXPECT_FALSE(form->pictureView()->stretchRatio());
    EXPECT_EQ(form->pictureView()->zoomState().margin, -10);
    EXPECT_FALSE(pushButton("ZoomOut")->isEnabled());

    // With no zoom the dispatch leaves the component's zoom alone.
    form->pictureView()->zoomIn();
    show(write(QStringLiteral("three.koa"), makeKoala(testPattern(4))));
    EXPECT_EQ(form->pictureView()->zoomState().margin, 0);
}

TEST_F(Commands, ReadersLeaveTheZoomButtonsAsTheyWere) {
    pushButton("ZoomIn")->click();
    // The view is unzoomed by the dispatch before the reader runs, so the states that
    // the reader leaves alone are those of OrigSize.
    show(write(QStringLiteral("again.koa"), koala));
    EXPECT_FALSE(pushButton("ZoomOut")->isEnabled());
    EXPECT_FALSE(pushButton("OrigSize")->isEnabled());
    EXPECT_TRUE(pushButton("ZoomIn")->isEnabled());
}

TEST_F(Commands, TheQuarterTurnTurnsClockwiseWithProgress) {
    const QImage before = shown();
    pushButton("ZoomIn")->click();
    pushButton("Turn")->click();
    EXPECT_EQ(form->viewState().zoomSteps(), 0); // unzoomed first
    const QImage once = shown();
    ASSERT_EQ(once.size(), QSize(200, 320));
    EXPECT_EQ(once.pixel(199, 0), before.pixel(0, 0));
    EXPECT_EQ(once.pixel(0, 319), before.pixel(319, 199));
    ProgressWindow* saving = program->progressWindow();
    EXPECT_EQ(saving->windowTitle(), QStringLiteral("Rotating..."));
    EXPECT_EQ(saving->bar()->maximum(), 320);
    EXPECT_EQ(saving->bar()->value(), 319);
    EXPECT_FALSE(saving->isVisible());
    EXPECT_EQ(saving->step(), 2);
    for (int i = 0; i < 3; ++i)
        pushButton("Turn")->click();
    EXPECT_EQ(shown(), before);
}

TEST_F(Commands, FlipAndRotateTurnTheDocument) {
    const QImage before = shown();
    pushButton("Flip")->click();
    EXPECT_TRUE(form->document()->flipped());
    EXPECT_NE(shown(), before);
    pushButton("Rotate")->click(); // captioned "Turn": a quarter anticlockwise
    EXPECT_EQ(form->document()->quarterTurns(), 3);
    EXPECT_EQ(shown().size(), QSize(200, 320));
    EXPECT_EQ(form->viewState().zoomSteps(), 0);
}

TEST_F(Commands, LeftClickOpensTheEnlargedView) {
    QTest::mouseClick(form->pictureView(), Qt::LeftButton, {}, QPoint(50, 50));
    EnlargedView* big = program->enlargedView();
    EXPECT_TRUE(big->isVisible());
    EXPECT_EQ(big->pictureView()->picture(), shown());
    EXPECT_TRUE(big->pictureView()->stretchRatio());
    EXPECT_EQ(big->pictureView()->geometry(), big->rect());
    // Black around the picture (above it on a screen wider than 8:5), as in the main window.
    const QImage seen = big->pictureView()->grab().toImage();
    ASSERT_GT(seen.height() * 8, seen.width() * 5 + 160);
    EXPECT_EQ(QColor(seen.pixel(seen.width() / 2, 10)), QColor(Qt::black));
    QTest::mouseClick(big->pictureView(), Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_FALSE(big->isVisible());
    EXPECT_TRUE(big->pictureView()->picture().isNull());
}

TEST_F(Commands, RightOrMiddleClickOpensTheReducedViewAtHalfTheSize) {
    ReducedView* small = program->reducedView();
    QTest::mouseClick(form->pictureView(), Qt::RightButton, {}, QPoint(50, 50));
    EXPECT_TRUE(small->isVisible());
    EXPECT_EQ(small->size(), QSize(160, 100));
    EXPECT_EQ(small->pictureLabel()->geometry(), QRect(0, 0, 160, 100));
    QTest::mouseClick(small->pictureLabel(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(small->isVisible());

    pushButton("Turn")->click();
    QTest::mouseClick(form->pictureView(), Qt::MiddleButton, {}, QPoint(50, 50));
    EXPECT_TRUE(small->isVisible());
    // The picture at half its size; the window at least as wide as its title needs.
    EXPECT_EQ(small->pictureLabel()->size(), QSize(100, 160));
    EXPECT_EQ(small->height(), 160);
    EXPECT_EQ(small->pictureLabel()->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
              shown().scaled(100, 160, Qt::IgnoreAspectRatio, Qt::FastTransformation));
    // Hidden, the views keep no copy of the picture.
    QTest::mouseClick(small, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(small->pictureLabel()->pixmap().isNull());
}

TEST_F(Commands, NoViewOpensBeforeAPictureWasShown) {
    program.reset();
    start();
    QTest::mouseClick(form->pictureView(), Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mouseClick(form->pictureView(), Qt::RightButton, {}, QPoint(50, 50));
    EXPECT_FALSE(program->enlargedView()->isVisible());
    EXPECT_FALSE(program->reducedView()->isVisible());
}

TEST_F(Commands, DeleteAsksAndOnOkResetsTheViewAndTheStates) {
    write(QStringLiteral("gone.koa"), makeKoala(testPattern(5)));
    openPictures();
    for (int i = 0; i < 2; ++i)
        pushButton("ZoomIn")->click();
    clickListItem(QStringLiteral("pic.koa"));
    // The file on screen goes, named in the question, whichever row was clicked before.
    show(QDir(picsFolder()).filePath(QStringLiteral("gone.koa")));
    EXPECT_EQ(fileList()->selectedCaption(), QStringLiteral("gone.koa"));

    answer = QMessageBox::Cancel;
    toolButton("SpeedButton1")->click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, QStringLiteral("Confirm"));
    EXPECT_EQ(boxes[0].text, QStringLiteral("Move gone.koa to the Trash?"));
    EXPECT_EQ(boxes[0].buttons, QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_TRUE(QFile::exists(QDir(picsFolder()).filePath(QStringLiteral("gone.koa"))));
    EXPECT_TRUE(form->document()->isShown());

    pushButton("ZoomIn")->click();
    answer = QMessageBox::Ok;
    // The view goes back to the start; with no file left in the folder, so it stays.
    QFile::remove(QDir(picsFolder()).filePath(QStringLiteral("pic.koa")));
    toolButton("SpeedButton1")->click();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_FALSE(QFile::exists(QDir(picsFolder()).filePath(QStringLiteral("gone.koa"))));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("data/Trash/files/gone.koa"))));
    EXPECT_EQ(listRow(QStringLiteral("gone.koa")), -1);
    EXPECT_EQ(shown(), blackTemplate());
    EXPECT_TRUE(form->document()->fileName().isEmpty());
    EXPECT_FALSE(form->document()->isShown());
    EXPECT_EQ(form->viewState().zoomSteps(), 0);
    EXPECT_FALSE(form->pictureView()->stretchRatio());
    for (QWidget* w : std::initializer_list<QWidget*>{
             pushButton("SaveAs"), pushButton("Flip"), pushButton("Rotate"), pushButton("Turn"),
             pushButton("ZoomIn"), pushButton("ZoomOut"), pushButton("OrigSize"), checkBox("grey"),
             radioButton("Godot")}) {
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    }
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra")); // the deleted file is not named
}

TEST_F(Commands, ARefusedDeleteShowsTheFileAgainAndSaysSo) {
    const QString path = write(QStringLiteral("kept.koa"), koala);
    openPictures();
    clickListItem(QStringLiteral("kept.koa"));
    const QFile::Permissions before = QFile::permissions(picsFolder());
    QFile::setPermissions(picsFolder(), QFile::ReadOwner | QFile::ExeOwner);
    toolButton("SpeedButton1")->click();
    QFile::setPermissions(picsFolder(), before);
    if (!QFile::exists(path))
        GTEST_SKIP() << "this user may delete files in a read-only folder";
    EXPECT_EQ(form->statusText(), QStringLiteral("kept.koa could not be deleted."));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra: kept.koa (Koala)"));
    EXPECT_EQ(shown(), expectedPicture(decodeKoala, koala));
    EXPECT_TRUE(pushButton("SaveAs")->isEnabled());
}

TEST_F(Commands, DeleteWithoutASelectionAsksNothing) {
    openPictures();
    fileList()->clearSelection();
    ASSERT_TRUE(fileList()->selectedCaption().isEmpty());
    toolButton("SpeedButton1")->click();
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(form->document()->isShown());
}

TEST_F(Commands, ADropOfThreeFilesShowsEntryZero) {
    QTemporaryDir other;
    QStringList paths;
    for (int i = 1; i <= 3; ++i) {
        const QString path = other.filePath(QStringLiteral("drop%1.koa").arg(i));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        const auto bytes = makeKoala(testPattern(static_cast<unsigned>(i)));
        f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
        paths << path;
    }
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& p : paths)
        urls << QUrl::fromLocalFile(p);
    data.setUrls(urls);
    const QPointF at(20, 20);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(form->pictureView(), &enter);
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(form->pictureView(), &drop);

    // The last of the system's list is entry 0 of the drop target's.
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra: drop3.koa (Koala)"));
    EXPECT_EQ(shown(), expectedPicture(decodeKoala, makeKoala(testPattern(3))));
    EXPECT_EQ(folderList()->directory(), QDir(other.path()).canonicalPath());
    EXPECT_EQ(fileList()->rowCount(), 3);
}

TEST_F(Commands, ADroppedFileNeedNotMatchTheMask) {
    QTemporaryDir other;
    const QString path = other.filePath(QStringLiteral("picture.txt"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("GOD0");
    f.close();
    form->showDropped({path});
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra: picture.txt (4Bit GoDot)"));
    EXPECT_EQ(fileList()->rowCount(), 0);
}

TEST_F(Commands, DetailAndListSwitchTheViewStyle) {
    toolButton("List")->click();
    EXPECT_EQ(fileList()->viewStyle(), FileListView::ViewStyle::List);
    toolButton("Detail")->click();
    EXPECT_EQ(fileList()->viewStyle(), FileListView::ViewStyle::Report);
}

TEST_F(Commands, ChangingTheFolderRefillsTheListsAndLeavesTheProcessFolder) {
    QDir(picsFolder()).mkpath(QStringLiteral("sub"));
    const QString processFolder = QDir::currentPath();
    openPictures();
    EXPECT_EQ(QDir::currentPath(), processFolder);
    EXPECT_EQ(fileList()->listModel()->directory(), QDir(picsFolder()).canonicalPath());
    EXPECT_EQ(fileList()->rowCount(), 1);
    // The folder list shows the path down to the folder and then its subfolders.
    const int rows = folderList()->count();
    ASSERT_GE(rows, 2);
    EXPECT_EQ(folderList()->item(rows - 1)->text().trimmed(), QStringLiteral("sub"));
    EXPECT_EQ(folderList()->item(rows - 2)->text().trimmed(), QStringLiteral("pics"));
    emit folderList()->itemActivated(folderList()->item(rows - 1));
    EXPECT_EQ(fileList()->listModel()->directory(),
              QDir(picsFolder() + QStringLiteral("/sub")).canonicalPath());
    EXPECT_EQ(QDir::currentPath(), processFolder);
    EXPECT_EQ(fileList()->rowCount(), 0);
}

TEST_F(Commands, ADriveThatIsNotReadyFallsBackToTheProgramsFolder) {
    openPictures();
    driveBox()->addItem(QStringLiteral("/no/such/volume"));
    driveBox()->setCurrentIndex(driveBox()->count() - 1);
    form->driveChanged();
    EXPECT_EQ(folderList()->directory(), QDir(BrowsingState::programFolder()).canonicalPath());
}

} // namespace
} // namespace quendra::testing

// The viewer as a person drives it, with real key, wheel and mouse events on the real
// widgets of a shown, active window: browsing by keys, delete, rejected files, fit to
// window, start-up and the layout. Run on the offscreen platform with the rest, and under
// Xvfb (ctest test_app_real_window).
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScreen>
#include <QToolButton>
#include <QTreeWidget>
#include <QWheelEvent>

#include "app/formats_window.h"
#include "app/main_window.h"
#include "decode/disk_image.h"
#include "decode/open_picture.h"
#include "samples/c64_files.h"
#include "samples/disk_files.h"
#include "samples/printfox_files.h"
#include "viewer_fixture.h"

namespace quendra::testing {
namespace {

using samples::makeKoala;
using samples::testPattern;

class Browsing : public ViewerTest {
  protected:
    QString path(const char* name) const {
        return QDir(picsFolder()).filePath(QString::fromLatin1(name));
    }
    void key(QWidget* target, Qt::Key k, Qt::KeyboardModifiers m = {}) {
        QTest::keyClick(target, k, m);
    }
    void ctrlWheel(int delta) {
        PictureView* view = form->pictureView();
        const QPointF at(view->width() / 2.0, view->height() / 2.0);
        QWheelEvent wheel(at, view->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &wheel);
    }
};

TEST_F(Browsing, KeysMoveThePictureWithTheRowAndDeleteNamesTheShownFile) {
    std::vector<std::vector<std::uint8_t>> pictures;
    for (int i = 0; i < 3; ++i) {
        pictures.push_back(makeKoala(testPattern(i + 1)));
        write(QStringLiteral("%1.koa").arg(QChar(u'a' + i)), pictures.back());
    }
    start();
    openPictures();
    bringUp();
    const auto expectShown = [&](int i, const char* how) {
        const QString name = QStringLiteral("%1.koa").arg(QChar(u'a' + i));
        EXPECT_EQ(caption(), QStringLiteral("Quendra: %1 (Koala)").arg(name)) << how;
        EXPECT_EQ(selected(), name) << how;
        EXPECT_EQ(shown(), expectedPicture(decodeKoala, pictures[i])) << how;
    };
    clickListItem(QStringLiteral("a.koa"));
    expectShown(0, "click");
    key(fileList(), Qt::Key_Down);
    expectShown(1, "Down");
    key(fileList(), Qt::Key_End);
    expectShown(2, "End");
    key(fileList(), Qt::Key_Home);
    expectShown(0, "Home");
    QTest::keyClicks(fileList(), QStringLiteral("c"));
    expectShown(2, "typing c");
    key(fileList(), Qt::Key_Backspace);
    expectShown(1, "Backspace in the list");
    key(fileList(), Qt::Key_Space);
    expectShown(2, "Space in the list");

    // From the picture area.
    form->pictureView()->setFocus();
    key(form->pictureView(), Qt::Key_PageUp);
    expectShown(1, "Page Up");
    key(form->pictureView(), Qt::Key_Backspace);
    expectShown(0, "Backspace");
    key(form->pictureView(), Qt::Key_Backspace);
    expectShown(0, "Backspace on the first row");
    key(form->pictureView(), Qt::Key_Space);
    expectShown(1, "Space");
    key(form->pictureView(), Qt::Key_PageDown);
    expectShown(2, "Page Down");

    // The Delete key, in the list or on the picture, moves the file on screen to the Trash
    // after the question, as the button does; the next one takes its place, the last row's
    // the row above. Shift+Delete deletes for good. An empty folder leaves the black
    // template and the bare title.
    const QString trash = dir.filePath(QStringLiteral("data/Trash/files/"));
    key(fileList(), Qt::Key_Up);
    key(fileList(), Qt::Key_Delete);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes.back().text, QStringLiteral("Move b.koa to the Trash?"));
    EXPECT_FALSE(QFile::exists(path("b.koa")));
    EXPECT_TRUE(QFile::exists(trash + QStringLiteral("b.koa")));
    EXPECT_TRUE(QFile::exists(path("a.koa")) && QFile::exists(path("c.koa")));
    expectShown(2, "after deleting b.koa");
    form->pictureView()->setFocus();
    key(form->pictureView(), Qt::Key_Delete);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_TRUE(QFile::exists(trash + QStringLiteral("c.koa")));
    expectShown(0, "after deleting the last row");
    key(form->pictureView(), Qt::Key_Delete, Qt::ShiftModifier);
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes.back().text, QStringLiteral("Delete a.koa for good?"));
    EXPECT_FALSE(QFile::exists(path("a.koa")));
    EXPECT_FALSE(QFile::exists(trash + QStringLiteral("a.koa")));
    EXPECT_EQ(fileList()->rowCount(), 0);
    EXPECT_EQ(shown(), blackTemplate());
    EXPECT_EQ(caption(), QStringLiteral("Quendra"));
    EXPECT_FALSE(pushButton("SaveAs")->isEnabled());
}

TEST_F(Browsing, ARejectedFileSaysWhyOnTheLineAndOffersNoPictureCommands) {
    const auto koala = makeKoala(testPattern(4));
    const std::vector<std::uint8_t> truncated(koala.begin(), koala.begin() + 5000);
    write(QStringLiteral("good.koa"), koala);
    write(QStringLiteral("trunc.koa"), truncated);
    write(QStringLiteral("empty.koa"), {});
    write(QStringLiteral("Mixed.Koa"), koala);
    write(QStringLiteral("ifli.fp2"), {0x00, 0x3F});
    start();
    openPictures();
    bringUp();
    EXPECT_GE(listRow(QStringLiteral("ifli.fp2")), 0) << "FunPainter 2 files are listed";

    clickListItem(QStringLiteral("good.koa"));
    EXPECT_TRUE(pushButton("SaveAs")->isEnabled());
    for (const char* name : {"trunc.koa", "empty.koa"}) {
        SCOPED_TRACE(name);
        clickListItem(QString::fromLatin1(name));
        std::vector<std::uint8_t> bytes =
            std::string_view(name) == "trunc.koa" ? truncated : std::vector<std::uint8_t>{};
        DecodeOptions options;
        options.fileSize = bytes.size();
        EXPECT_EQ(form->statusText(),
                  QStringLiteral("%1 is not a C64 picture (%2 bytes; no format takes this "
                                 "length or signature); as Koala Painter: %3")
                      .arg(QString::fromLatin1(name))
                      .arg(bytes.size())
                      .arg(QString::fromStdString(decodeKoala(bytes, options).reason)));
        EXPECT_TRUE(label("StatusLine")->isVisible());
        // The line shows as much as fits, cut with "…"; its tooltip holds the whole text.
        const QLabel* line = label("StatusLine");
        EXPECT_EQ(line->toolTip(), form->statusText());
        EXPECT_LE(line->fontMetrics().horizontalAdvance(line->text()), line->width());
        EXPECT_TRUE(line->text().endsWith(u'\u2026'));
        // The caption names a format only for a picture shown.
        EXPECT_EQ(caption(), QStringLiteral("Quendra: ") + QString::fromLatin1(name));
        EXPECT_EQ(shown(), blackTemplate());
        EXPECT_FALSE(form->document()->isShown());
        for (QWidget* w : std::initializer_list<QWidget*>{pushButton("SaveAs"), pushButton("Flip"),
                                                          pushButton("Rotate"), pushButton("Turn"),
                                                          pushButton("ZoomIn")})
            EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
        EXPECT_FALSE(menuAction("fit")->isEnabled());
        QTest::mouseClick(form->pictureView(), Qt::LeftButton, {}, QPoint(20, 20));
        EXPECT_FALSE(program->enlargedView()->isVisible());
    }

    // Mixed case is a Koala picture; a picture shown clears the line.
    clickListItem(QStringLiteral("Mixed.Koa"));
    EXPECT_EQ(caption(), QStringLiteral("Quendra: Mixed.Koa (Koala)"));
    EXPECT_EQ(shown(), expectedPicture(decodeKoala, koala));
    EXPECT_TRUE(form->statusText().isEmpty());
    EXPECT_TRUE(pushButton("SaveAs")->isEnabled());

    // A file gone since the list was made gets a line, never a box.
    QFile::remove(path("good.koa"));
    clickListItem(QStringLiteral("good.koa"));
    EXPECT_EQ(form->statusText(), QStringLiteral("The file good.koa does not exist."));
    EXPECT_EQ(shown(), blackTemplate());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(Browsing, FitToWindowScalesByWholePixelsUntilOneToOneOrAZoomStep) {
    const auto a = makeKoala(testPattern(6));
    write(QStringLiteral("a.koa"), a);
    write(QStringLiteral("b.koa"), makeKoala(testPattern(7)));
    start();
    openPictures();
    bringUp();
    // Maximised on a 1280 x 1024 screen (without a window manager: the screen's size).
    form->showMaximized();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
    if (form->size() != QSize(1280, 1024))
        form->resize(1280, 1024);
    clickListItem(QStringLiteral("a.koa"));
    form->pictureView()->setFocus();
    key(form->pictureView(), Qt::Key_F);
    ASSERT_TRUE(form->viewState().isFitToWindow());
    EXPECT_EQ(form->pictureView()->scale(), 3);

    // Every picture pixel a 3 x 3 square, the whole picture inside the area.
    const QImage screen =
        form->pictureView()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect client = form->pictureView()->contentsRect();
    const QRect at = form->pictureView()->destinationRect().translated(client.topLeft());
    ASSERT_EQ(at.size(), QSize(960, 600));
    ASSERT_TRUE(client.contains(at));
    const QImage expected = shown()
                                .convertToFormat(QImage::Format_RGB32)
                                .scaled(960, 600, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    EXPECT_TRUE(screen.copy(at) == expected) << "the grabbed pixels are not the picture x 3";

    // Kept on resize and for the next picture.
    form->showNormal();
    form->resize(1000, 800);
    EXPECT_EQ(form->pictureView()->scale(), 2);
    key(form->pictureView(), Qt::Key_Space);
    EXPECT_EQ(caption(), QStringLiteral("Quendra: b.koa (Koala)"));
    EXPECT_EQ(form->pictureView()->scale(), 2);
    // Key 1 ends it; so does a zoom step by Ctrl+wheel; + and - step.
    key(form->pictureView(), Qt::Key_1);
    EXPECT_EQ(form->pictureView()->scale(), 1);
    EXPECT_FALSE(form->viewState().isFitToWindow());
    key(form->pictureView(), Qt::Key_F);
    EXPECT_EQ(form->pictureView()->scale(), 2);
    // From a fit, zoom steps go by whole numbers, every one visible, and back again.
    ctrlWheel(120);
    EXPECT_FALSE(form->viewState().isFitToWindow());
    EXPECT_EQ(form->pictureView()->scale(), 3);
    EXPECT_EQ(form->viewState().zoomSteps(), 0);
    EXPECT_TRUE(pushButton("ZoomOut")->isEnabled() && pushButton("OrigSize")->isEnabled());
    key(form->pictureView(), Qt::Key_Minus);
    EXPECT_EQ(form->pictureView()->scale(), 2);
    ctrlWheel(-120);
    EXPECT_EQ(form->pictureView()->scale(), 1);
    // At 1:1 the component's zoom steps, as always.
    key(form->pictureView(), Qt::Key_Plus);
    EXPECT_EQ(form->viewState().zoomSteps(), 1);
    key(form->pictureView(), Qt::Key_Minus);
    EXPECT_EQ(form->viewState().zoomSteps(), 0);
    // In the file list, a letter types a name instead, unless it is a view key.
    fileList()->setFocus();
    key(fileList(), Qt::Key_A);
    EXPECT_EQ(caption(), QStringLiteral("Quendra: a.koa (Koala)"));
    EXPECT_FALSE(form->viewState().isFitToWindow());
    key(fileList(), Qt::Key_F);
    EXPECT_TRUE(form->viewState().isFitToWindow());
    key(fileList(), Qt::Key_1);
    EXPECT_FALSE(form->viewState().isFitToWindow());

    // Escape closes the enlarged view.
    QTest::mouseClick(form->pictureView(), Qt::LeftButton, {}, QPoint(30, 30));
    ASSERT_TRUE(program->enlargedView()->isVisible());
    key(program->enlargedView(), Qt::Key_Escape);
    EXPECT_FALSE(program->enlargedView()->isVisible());
}

TEST_F(Browsing, ALargePageFitsWholeAndTheListFollowsTheFolderWithRealNames) {
    write(QStringLiteral("NINJA3.koa"), makeKoala(testPattern(1)));
    write(QStringLiteral("page.bs"), samples::makePrintfoxLarge(samples::printfoxPage(80, 50, 2)));
    start();
    openPictures();
    bringUp();
    form->resize(686, 565);
    EXPECT_GE(listRow(QStringLiteral("NINJA3.koa")), 0);

    // After a click in the list, F shows the 640 x 400 page whole, scaled down.
    clickListItem(QStringLiteral("page.bs"));
    bringUp(); // back from the progress window
    key(fileList(), Qt::Key_F);
    ASSERT_TRUE(form->viewState().isFitToWindow());
    EXPECT_TRUE(form->pictureView()->shrunk());
    EXPECT_TRUE(pushButton("OrigSize")->isEnabled());

    // A file copied into the folder is listed without a click.
    QFile::copy(path("NINJA3.koa"), path("copy10.koa"));
    QTRY_VERIFY(listRow(QStringLiteral("copy10.koa")) >= 0); // the watcher's event
}

TEST_F(Browsing, ADiskImageOpensLikeAFolderAndShowsItsPictures) {
    const auto ferrari = makeKoala(testPattern(3));
    const auto eye = makeKoala(testPattern(5));
    write(QStringLiteral("a.koa"), makeKoala(testPattern(1)));
    write(QStringLiteral("pics.d64"),
          samples::makeD64({{"NOTES", {'H', 'I'}, 0x81}, {"FERRARI", ferrari}, {"EYE/FULL", eye}}));
    std::vector<dialogs::SaveRequest> requests;
    dialogs::Handler handler = dialogs::setHandler({});
    handler.saveFileName = [&](QWidget*, const dialogs::SaveRequest& request) {
        requests.push_back(request);
        return QString(); // cancelled
    };
    dialogs::setHandler(handler);
    start();
    openPictures();
    bringUp();
    const int image = listRow(QStringLiteral("pics.d64"));
    ASSERT_GE(image, 0);
    EXPECT_EQ(fileList()->text(image, FileListView::Type), QStringLiteral("D64 disk image"));

    // Enter opens it: "..", then the entries with their C64 names, sizes and formats.
    clickListItem(QStringLiteral("pics.d64"));
    key(fileList(), Qt::Key_Return);
    ASSERT_EQ(fileList()->rowCount(), 4);
    EXPECT_EQ(fileList()->text(0, FileListView::Caption), QStringLiteral(".."));
    EXPECT_EQ(fileList()->text(3, FileListView::Caption), QStringLiteral("EYE/FULL"));
    EXPECT_EQ(fileList()->text(3, FileListView::Size), QString::number(eye.size()));
    EXPECT_EQ(fileList()->text(3, FileListView::Type), QStringLiteral("Koala Painter (PRG)"));
    EXPECT_EQ(fileList()->text(1, FileListView::Type), QStringLiteral("SEQ"));

    // Its second picture, as the one road shows the entry's bytes.
    clickListItem(QStringLiteral("EYE/FULL"));
    EXPECT_EQ(caption(), QStringLiteral("Quendra: pics.d64 \u203A EYE/FULL (Koala)"));
    const OpenedPicture road = openPicture(eye, eye.size(), "EYE_FULL", {});
    ASSERT_TRUE(road.accepted());
    EXPECT_EQ(shown(), toQImage(road.decoded.picture));
    // "Show gray" draws the entry again in grey, under the same caption and notes.
    const QString notes = form->statusText();
    DecodeOptions inGrey;
    inGrey.grey = true;
    checkBox("grey")->setChecked(true);
    EXPECT_EQ(shown(), toQImage(openPicture(eye, eye.size(), "EYE_FULL", inGrey).decoded.picture));
    EXPECT_EQ(caption(), QStringLiteral("Quendra: pics.d64 \u203A EYE/FULL (Koala)"));
    EXPECT_EQ(form->statusText(), notes);
    checkBox("grey")->setChecked(false);
    EXPECT_EQ(shown(), toQImage(road.decoded.picture));
    EXPECT_TRUE(pushButton("SaveAs")->isEnabled());
    EXPECT_FALSE(toolButton("SpeedButton1")->isEnabled());
    // Nor do the keys delete an entry (no question asked).
    const std::size_t boxesBefore = boxes.size();
    key(fileList(), Qt::Key_Delete);
    key(fileList(), Qt::Key_Delete, Qt::ShiftModifier);
    EXPECT_EQ(boxes.size(), boxesBefore);
    EXPECT_TRUE(QFile::exists(path("pics.d64")));
    radioButton("PNG")->setChecked(true);
    pushButton("SaveAs")->click();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests.back().fileName, QStringLiteral("EYE_FULL.png"));

    // ".." stays first in every sort; it leads back out, to the image's row; so does the
    // folder list.
    fileList()->columnClick(FileListView::Size); // the largest first
    ASSERT_FALSE(fileList()->sortedAscending());
    EXPECT_EQ(fileList()->text(0, FileListView::Caption), QStringLiteral(".."));
    key(fileList(), Qt::Key_Home);
    key(fileList(), Qt::Key_Return);
    EXPECT_EQ(selected(), QStringLiteral("pics.d64"));
    EXPECT_GE(listRow(QStringLiteral("a.koa")), 0);
    EXPECT_TRUE(toolButton("SpeedButton1")->isEnabled());
    // A double-click opens it too (as the window system sends one: press, release, double
    // click, release).
    QWidget* rows = fileList()->viewport();
    const QPoint at = fileList()->visualRect(fileList()->currentIndex()).center();
    QTest::mouseClick(rows, Qt::LeftButton, {}, at);
    QMouseEvent twice(QEvent::MouseButtonDblClick, at, rows->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(rows, &twice);
    QTest::mouseRelease(rows, Qt::LeftButton, {}, at);
    ASSERT_EQ(fileList()->rowCount(), 4);
    QListWidgetItem* folderLine = folderList()->currentItem();
    ASSERT_TRUE(folderLine && folderLine->text().trimmed() == QStringLiteral("pics.d64"));
    const auto folderLines = folderList()->findItems(QStringLiteral("pics"), Qt::MatchEndsWith);
    ASSERT_FALSE(folderLines.isEmpty());
    emit folderList()->itemActivated(folderLines.first());
    EXPECT_EQ(selected(), QStringLiteral("pics.d64"));
    EXPECT_EQ(caption(), QStringLiteral("Quendra: pics.d64"));
}

TEST_F(Browsing, StartUpFolderFocusAndAGrowingLayout) {
    write(QStringLiteral("a.koa"), makeKoala(testPattern(1)));
    write(QStringLiteral("b.koa"), makeKoala(testPattern(2)));
    // With an argument: its folder, the file selected and shown, the list focused.
    start({path("b.koa")});
    EXPECT_EQ(QDir(folderList()->directory()).canonicalPath(), QDir(picsFolder()).canonicalPath());
    EXPECT_EQ(selected(), QStringLiteral("b.koa"));
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    EXPECT_EQ(caption(), QStringLiteral("Quendra: b.koa (Koala)"));
    EXPECT_EQ(QApplication::focusWidget(), fileList());
    key(fileList(), Qt::Key_Up);
    EXPECT_EQ(caption(), QStringLiteral("Quendra: a.koa (Koala)"));

    // The smallest window shows every control.
    form->resize(100, 100);
    EXPECT_EQ(form->size(), form->minimumSize());
    const QRect client = form->centralWidget()->rect();
    for (QWidget* w : form->centralWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        EXPECT_TRUE(client.contains(w->geometry())) << w->objectName().toStdString();
    }
    EXPECT_GE(fileList()->height(), 80);

    // Taller: the lists grow and the commands move down with the window's bottom.
    form->resize(900, 900);
    EXPECT_EQ(fileList()->height(), 161 + 335 - 335 / 3);
    EXPECT_EQ(pushButton("OrigSize")->geometry().bottom(), 488 + 24 + 335);
    // Every column inside the list, none behind a scroll bar.
    QHeaderView* header = fileList()->header();
    const int columns = fileList()->columnCountShown();
    EXPECT_LE(header->sectionPosition(columns - 1) + header->sectionSize(columns - 1),
              fileList()->viewport()->width());

    // The splitter widens the column; the width and the folder are kept in quendra.ini.
    QWidget* handle = widget("Splitter");
    QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(3, 50));
    QTest::mouseMove(handle, QPoint(103, 50));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(103, 50));
    EXPECT_EQ(fileList()->width(), 325);
    EXPECT_EQ(form->pictureView()->x(), 340);
    // Wide enough: the columns are as wide as their texts.
    const QFontMetrics metrics(fileList()->font());
    for (int column = 0; column < columns; ++column) {
        for (int row = 0; row < fileList()->rowCount(); ++row)
            EXPECT_GT(header->sectionSize(column),
                      metrics.horizontalAdvance(fileList()->text(row, column)))
                << column;
    }
    form->close();
    const IniFile ini(settings::filePath());
    EXPECT_EQ(ini.readInteger(QStringLiteral("Browse"), QStringLiteral("ColumnWidth"), 0), 325);
    EXPECT_EQ(ini.readString(QStringLiteral("Browse"), QStringLiteral("Folder")),
              folderList()->directory());
    EXPECT_EQ(ini.readInteger(QStringLiteral("Pos"), QStringLiteral("Width"), 0), 900);

    // Without an argument, the next start opens the folder browsed last, as wide.
    program.reset();
    QDir::setCurrent(previousFolder);
    start();
    EXPECT_EQ(QDir(folderList()->directory()).canonicalPath(), QDir(picsFolder()).canonicalPath());
    EXPECT_EQ(fileList()->width(), 325);
    // The size it was closed at (as far as the screen holds it).
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    EXPECT_EQ(form->size(), QSize(900, 900).boundedTo(screen));
    // A narrower window: the picture area gives way first, then the column; wide again,
    // the column is as wide as it was made.
    form->show();
    const auto resizeTo = [&](int width) {
        form->resize(width, 700);
        EXPECT_TRUE(QTest::qWaitFor([&] { return form->width() == width; }));
    };
    resizeTo(500);
    EXPECT_EQ(form->pictureView()->width(), 160);
    EXPECT_EQ(fileList()->width(), 306); // what the picture area at its least leaves
    resizeTo(760);
    EXPECT_EQ(fileList()->width(), 325);

    // The About box shows all its text at its designed size.
    menuAction("ber1")->trigger();
    AboutBox* about = program->aboutBox();
    for (int i = 0; i < 4; ++i) {
        const QLabel* line = about->line(i);
        EXPECT_LE(line->heightForWidth(line->width()), line->height())
            << line->text().toStdString();
    }

    // Help ▸ Formats lists every format with its extensions, and the disk images.
    menuAction("formats")->trigger();
    auto* formats = form->findChild<FormatsWindow*>(QStringLiteral("Formats"));
    ASSERT_NE(formats, nullptr);
    EXPECT_TRUE(formats->isVisible());
    QStringList listed;
    for (int row = 0; row < formats->list()->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = formats->list()->topLevelItem(row);
        listed << item->text(0) + QStringLiteral(" (") + item->text(1) + u')';
    }
    EXPECT_EQ(listed.size(), qsizetype(c64Formats().size() + diskContainers().size()));
    EXPECT_TRUE(listed.contains(QStringLiteral("FunPainter 2 (fp2)")));
    EXPECT_TRUE(listed.contains(QStringLiteral("D64 disk image (d64)")));
}

} // namespace
} // namespace quendra::testing

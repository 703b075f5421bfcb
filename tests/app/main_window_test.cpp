// The main window as it starts, its settings and its life cycle.
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTimer>
#include <QToolButton>
#include <climits>

#include "app/app_exception.h"
#include "components/pc_picture_file.h"
#include "samples/c64_files.h"
#include "viewer_fixture.h"

namespace quendra::testing {
namespace {

using samples::makeKoala;
using samples::testPattern;

TEST_F(ViewerTest, ControlsSitWhereTheyBelongWithTheirCaptionsAndHints) {
    start();
    struct Expected {
        QWidget* widget;
        QRect geometry;
        QString caption;
        QString hint;
    };
    const std::vector<Expected> table = {
        {pushButton("SaveAs"), {12, 312, 75, 25}, "Save as...", "Save file"},
        {toolButton("Detail"), {99, 312, 25, 25}, "", "Show details"},
        {toolButton("List"), {133, 312, 25, 25}, "", "Show list"},
        {toolButton("SpeedButton1"), {205, 312, 25, 25}, "", "Delete file"},
        {pushButton("Flip"), {38, 425, 75, 25}, "Flip", "Flip picture"},
        {pushButton("Rotate"), {126, 425, 75, 25}, "Turn", ""},
        {pushButton("ZoomIn"), {38, 456, 75, 25}, "Zoom In", ""},
        {pushButton("ZoomOut"), {126, 456, 75, 25}, "Zoom Out", ""},
        {pushButton("OrigSize"), {38, 488, 75, 25}, "OrigSize", ""},
        {pushButton("Turn"), {126, 488, 75, 25}, "Rotate", ""},
    };
    for (const Expected& e : table) {
        SCOPED_TRACE(e.widget->objectName().toStdString());
        EXPECT_EQ(e.widget->geometry(), e.geometry);
        EXPECT_EQ(e.widget->toolTip(), e.hint);
        if (auto* b = qobject_cast<QAbstractButton*>(e.widget); b && !e.caption.isEmpty()) {
            EXPECT_EQ(b->text(), e.caption);
        }
    }
    EXPECT_EQ(driveBox()->geometry(), QRect(10, 17, 223, 21));
    EXPECT_EQ(folderList()->geometry(), QRect(8, 48, 225, 89));
    EXPECT_EQ(fileList()->geometry(), QRect(8, 144, 225, 161));
    EXPECT_EQ(fileList()->toolTip(), QStringLiteral("Select file to be displayed"));
    EXPECT_EQ(saveFormatGroup()->geometry(), QRect(8, 344, 225, 73));
    EXPECT_EQ(saveFormatGroup()->title(), QStringLiteral("Save as:"));
    EXPECT_EQ(radioButton("Godot")->text(), QStringLiteral("4Bit GoDot"));
    EXPECT_EQ(radioButton("Godot")->pos(), QPoint(144, 360));
    EXPECT_EQ(checkBox("grey")->text(), QStringLiteral("Show gray"));
    EXPECT_EQ(checkBox("grey")->pos(), QPoint(144, 391));
    EXPECT_EQ(radioButton("TIF")->pos(), QPoint(87, 392));
    EXPECT_EQ(menuAction("Beenden")->text(), QStringLiteral("&Close (ALT+F4)"));
    EXPECT_EQ(menuAction("ber1")->text(), QStringLiteral("A&bout"));
    EXPECT_FALSE(toolButton("Detail")->icon().isNull());
    EXPECT_FALSE(toolButton("SpeedButton1")->icon().isNull());
}

TEST_F(ViewerTest, StartsWithTheBlackTemplateAndThePictureCommandsOff) {
    start();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra"));
    EXPECT_EQ(shown(), blackTemplate());
    EXPECT_EQ(form->templatePicture, blackTemplate());
    for (QWidget* w : std::initializer_list<QWidget*>{pushButton("SaveAs"), pushButton("Flip"),
                                                      pushButton("Rotate"), pushButton("Turn"),
                                                      pushButton("ZoomIn"), pushButton("ZoomOut"),
                                                      pushButton("OrigSize"), checkBox("grey")}) {
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    }
    EXPECT_TRUE(radioButton("Godot")->isEnabled());
    EXPECT_FALSE(radioButton("Godot")->isChecked());
    EXPECT_TRUE(radioButton("GIF")->isChecked());
    EXPECT_FALSE(checkBox("grey")->isChecked());
    EXPECT_EQ(form->viewState().zoomSteps(), 0);
    EXPECT_FALSE(form->document()->isShown());
    EXPECT_TRUE(form->firstPaintPending());
    EXPECT_EQ(fileList()->listModel()->nameFilters(),
              fileMask().split(u';') + pcPictureNameFilters());
    EXPECT_TRUE(fileList()->hasFocus() || QApplication::focusWidget() == nullptr ||
                form->focusWidget() == fileList());
}

TEST_F(ViewerTest, SecondaryWindowsAreCreatedHidden) {
    start();
    EXPECT_FALSE(program->enlargedView()->isVisible());
    EXPECT_FALSE(program->reducedView()->isVisible());
    EXPECT_FALSE(program->aboutBox()->isVisible());
    EXPECT_FALSE(program->progressWindow()->isVisible());
    EXPECT_EQ(program->enlargedView()->windowTitle(), QStringLiteral("Maximized (Click to close)"));
    EXPECT_EQ(program->reducedView()->windowTitle(), QStringLiteral("Half size"));
    EXPECT_EQ(program->aboutBox()->windowTitle(), QStringLiteral("About..."));
    EXPECT_EQ(program->progressWindow()->windowTitle(), QStringLiteral("Saving..."));
    EXPECT_EQ(program->progressWindow()->bar()->geometry(), QRect(16, 9, 265, 16));
    EXPECT_EQ(program->progressWindow()->bar()->maximum(), 39);
    EXPECT_EQ(program->progressWindow()->step(), 2);
    for (QWidget* w :
         std::initializer_list<QWidget*>{program->enlargedView(), program->reducedView(),
                                         program->aboutBox(), program->progressWindow()}) {
        EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_EQ(w->windowModality(), Qt::NonModal);
    }
}

TEST_F(ViewerTest, AboutBoxShowsItsFourLinesOnceAndOkHidesIt) {
    start();
    AboutBox* about = program->aboutBox();
    menuAction("ber1")->trigger();
    menuAction("ber1")->trigger();
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(about->line(0)->text(), QStringLiteral("Quendra"));
    EXPECT_EQ(about->line(0)->font().pixelSize(), 18);
    // Its designed size, however many formats there are: Help ▸ Formats lists them.
    EXPECT_EQ(about->size(), QSize(313, 214));
    EXPECT_LE(about->frameGeometry().height(), 400);
    EXPECT_TRUE(about->line(2)->text().contains(QStringLiteral("Formats")));
    EXPECT_EQ(about->line(3)->text(), QStringLiteral("Just double-click or drag'n drop pics"));
    int visibleAbouts = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (qobject_cast<AboutBox*>(w) && w->isVisible())
            ++visibleAbouts;
    }
    EXPECT_EQ(visibleAbouts, 1);
    auto* ok = about->findChild<QPushButton*>(QStringLiteral("OKBtn"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    ok->click();
    EXPECT_FALSE(about->isVisible());
}

TEST_F(ViewerTest, ResizingPlacesThePictureArea) {
    start();
    form->show();
    form->resize(800, 600);
    EXPECT_EQ(form->pictureView()->geometry(), QRect(240, 16, 541, 525));
    form->resize(686, 565);
    EXPECT_EQ(form->pictureView()->geometry(), QRect(240, 16, 427, 490));
    // The whole picture area lies inside the window.
    const QRect area(form->pictureView()->mapTo(form, QPoint(0, 0)), form->pictureView()->size());
    EXPECT_TRUE(form->rect().contains(area)) << area.right() << " " << area.bottom();
    EXPECT_EQ(pushButton("SaveAs")->geometry(), QRect(12, 312, 75, 25)); // the rest stays
}

TEST_F(ViewerTest, FirstStartWithoutSettingsUsesTheDefaults) {
    start();
    EXPECT_EQ(form->size(), QSize(686, 565));
    EXPECT_EQ(form->pos(), QPoint(0, 0));
    EXPECT_EQ(form->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized), 0);
}

TEST_F(ViewerTest, StoredPlacementAndStyleAreApplied) {
    ASSERT_TRUE(settings::writePlacement(settings::filePath(), {30, 40, 1, 700, 520}));
    start();
    EXPECT_EQ(form->pos(), QPoint(40, 30));
    EXPECT_TRUE(form->windowState() & Qt::WindowMaximized);
}

TEST_F(ViewerTest, AStyleOfSevenOpensNormal) {
    ASSERT_TRUE(settings::writePlacement(settings::filePath(), {0, 0, 7, 700, 520}));
    start();
    EXPECT_EQ(form->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized), 0);
    EXPECT_EQ(form->size(), QSize(700, 520));
}

TEST_F(ViewerTest, APlacementOnNoScreenOpensAtTheOriginWithItsSize) {
    ASSERT_TRUE(settings::writePlacement(settings::filePath(), {90000, 90000, 0, 720, 540}));
    start();
    EXPECT_EQ(form->pos(), QPoint(0, 0));
    EXPECT_EQ(form->size(), QSize(720, 540));
}

TEST_F(ViewerTest, AStoredSizeBeyondAllScreensIsCutToThem) {
    ASSERT_TRUE(settings::writePlacement(settings::filePath(),
                                         {INT_MAX - 5, INT_MAX - 5, 0, 2000000000, 2000000000}));
    start();
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    EXPECT_EQ(form->size(), screen);
    EXPECT_EQ(form->pos(), QPoint(0, 0));
    form->show(); // and it can be drawn
    EXPECT_TRUE(QTest::qWaitForWindowExposed(form));
}

TEST_F(ViewerTest, ClosingTheWindowWritesThePlacement) {
    start();
    QSignalSpy ends(form, &MainWindow::programEnds);
    form->show();
    form->move(50, 60);
    form->resize(750, 580);
    form->close();
    EXPECT_EQ(ends.count(), 1);
    const WindowPlacement p = settings::readPlacement(settings::filePath());
    EXPECT_EQ(p.width, 750);
    EXPECT_EQ(p.height, 580);
    EXPECT_EQ(p.style, 0);
    EXPECT_EQ(QPoint(p.left, p.top), form->pos());
}

TEST_F(ViewerTest, ClosingAMaximisedWindowWritesStyleOne) {
    start();
    form->showMaximized();
    form->close();
    EXPECT_EQ(settings::readPlacement(settings::filePath()).style, 1);
}

TEST_F(ViewerTest, TheCloseMenuItemEndsWithoutWritingTheSettings) {
    start();
    QSignalSpy ends(form, &MainWindow::programEnds);
    form->move(77, 88);
    menuAction("Beenden")->trigger();
    EXPECT_EQ(ends.count(), 1);
    EXPECT_FALSE(QFile::exists(settings::filePath()));
}

TEST_F(ViewerTest, InTheRunningProgramOnlyClosingTheWindowWritesTheSettings) {
    // As the program runs: the main window ends the event loop.
    // A loop that did not end in time ends with 1.
    const auto run = [] {
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
        guard.start(10000);
        return QCoreApplication::exec();
    };
    start();
    program->endEventLoopOnRequest();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
    QTimer::singleShot(0, menuAction("Beenden"), &QAction::trigger);
    EXPECT_EQ(run(), 0);
    EXPECT_FALSE(QFile::exists(settings::filePath())) << "the menu item wrote the settings";

    QTimer::singleShot(0, form, &QWidget::close);
    EXPECT_EQ(run(), 0);
    EXPECT_TRUE(QFile::exists(settings::filePath()));
}

TEST_F(ViewerTest, TheArgumentIsShownOnceAtTheFirstActivation) {
    const QString first = write(QStringLiteral("first.koa"), makeKoala(testPattern(1)));
    const QString other = write(QStringLiteral("other.koa"), makeKoala(testPattern(2)));
    start({first, QStringLiteral("ignored.koa")});
    EXPECT_EQ(shown(), blackTemplate()); // nothing before the window is activated
    form->show();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra: first.koa (Koala)"));
    EXPECT_EQ(shown(), expectedPicture(decodeKoala, makeKoala(testPattern(1))));
    QTRY_VERIFY(!form->firstPaintPending());

    // Another file, then the window is activated again: the argument stays away, and
    // "Show gray" re-shows the file chosen last.
    show(other);
    program->reducedView()->showPicture();
    EXPECT_TRUE(QTest::qWaitForWindowActive(program->reducedView()));
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra: other.koa (Koala)"));
    checkBox("grey")->setChecked(true);
    EXPECT_EQ(shown(), expectedPicture(decodeKoala, makeKoala(testPattern(2)), true));
}

TEST_F(ViewerTest, ARelativeArgumentMeansTheFolderTheProgramStartedIn) {
    write(QStringLiteral("rel.koa"), makeKoala(testPattern()));
    QDir::setCurrent(dir.path());
    start({QStringLiteral("pics/rel.koa")});
    // The list shows the argument's folder; the process keeps its own.
    EXPECT_EQ(QDir::currentPath(), dir.path());
    ASSERT_EQ(fileList()->listModel()->directory(), QDir(picsFolder()).canonicalPath());
    EXPECT_EQ(fileList()->selectedCaption(), QStringLiteral("rel.koa"));
    form->onActivated();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra: rel.koa (Koala)"));
}

TEST_F(ViewerTest, AnArgumentNamingNoFileLeavesTheTemplate) {
    start({dir.filePath(QStringLiteral("missing.koa"))});
    form->onActivated();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra: missing.koa"));
    EXPECT_EQ(form->statusText(), QStringLiteral("The file missing.koa does not exist."));
    EXPECT_EQ(shown(), blackTemplate());
}

TEST_F(ViewerTest, ExceptionsThatNoCodeHandlesAreSwallowed) {
    struct Thrower : QObject {
        bool event(QEvent*) override { throw std::runtime_error("boom"); }
    } thrower;
    const int before = Application::swallowed();
    QEvent e(QEvent::User);
    EXPECT_NO_THROW(QApplication::sendEvent(&thrower, &e));
    EXPECT_EQ(Application::swallowed(), before + 1);
}

} // namespace
} // namespace quendra::testing

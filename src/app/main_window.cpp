// MainWindow: start and end, placement and settings, the status line and the commands'
// states applied to the controls.
#include "app/main_window.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QToolButton>
#include <algorithm>

#include "app/browse_controls.h"
#include "app/disk_browser.h"
#include "app/formats_window.h"
#include "app/palette_menu.h"
#include "app/picture_document.h"
#include "app/secondary_windows.h"
#include "app/settings.h"
#include "components/drop_files.h"
#include "components/file_list_view.h"
#include "components/pmultiimage.h"

namespace quendra {

namespace {

QImage blackTemplate() {
    QImage image(320, 200, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

} // namespace

MainWindow::MainWindow(QStringList arguments, QWidget* parent)
    : QMainWindow(parent), templatePicture(blackTemplate()), arguments_(std::move(arguments)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kProgramName);
    document_ = new PictureDocument(this);
    // The folder list changes the current folder before the argument is shown; a relative
    // argument means the folder the program was started in.
    if (!arguments_.isEmpty() && !arguments_.first().isEmpty())
        arguments_.first() = QFileInfo(arguments_.first()).absoluteFilePath();
    createControls();
    createMenu();
    initialise();
}

MainWindow::~MainWindow() = default;

void MainWindow::setSecondaryWindows(EnlargedView* enlargedView, ReducedView* reducedView,
                                     AboutBox* about, ProgressWindow* saving) {
    enlargedView_ = enlargedView;
    reducedView_ = reducedView;
    aboutBox_ = about;
    progressWindow_ = saving;
}

namespace {
// quendra.ini's section of the browsing column: the folder and the lists' width.
const QString kBrowseSection = QStringLiteral("Browse");
const QString kFolderKey = QStringLiteral("Folder");
const QString kColumnWidthKey = QStringLiteral("ColumnWidth");
// The format "Save as..." writes, by its extension ("png"), kept from run to run.
const QString kSaveSection = QStringLiteral("Save");
const QString kFormatKey = QStringLiteral("Format");

} // namespace

void MainWindow::initialise() {
    firstPaintPending_ = true;
    applyPlacement(settings::readPlacement(settings::filePath()));
    // The exception handler is the application object itself (Application).
    showDocument();
    paletteMenu_->restore();
    const IniFile ini(settings::filePath());
    columnWidth_ = std::max(kDesignColumnWidth,
                            ini.readInteger(kBrowseSection, kColumnWidthKey, kDesignColumnWidth));
    const QByteArray savedFormat = ini.readString(kSaveSection, kFormatKey).toLatin1();
    if (const auto format = pictureFormatNamed(savedFormat.toStdString()))
        saveFormatButton(*format)->setChecked(true);
    // With an argument, its folder (main_window_open.cpp; shown at the first activation).
    openStartFolder(ini.readString(kBrowseSection, kFolderKey));
    layoutControls();
    states_ = CommandStates{};
    applyStates();
}

void MainWindow::applyPlacement(const WindowPlacement& p) {
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens << screen->geometry();
    const QPoint stored(p.left, p.top);
    const QSize size = sizeOnScreens(QSize(p.width, p.height), screens);
    move(screens.isEmpty() ? stored : placementOnScreens(stored, size, screens));
    resize(size);
    switch (p.style) {
    case 0:
        setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
        break;
    case 1:
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
        break;
    case 2:
        setWindowState((windowState() & ~Qt::WindowMaximized) | Qt::WindowMinimized);
        break;
    default: // any other value leaves the state as it is
        break;
    }
}

void MainWindow::saveState() {
    WindowPlacement p;
    p.top = pos().y();
    p.left = pos().x();
    p.style = isMinimized() ? 2 : isMaximized() ? 1 : 0;
    // A maximised window keeps the size it returns to.
    const QRect normal = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    p.width = normal.isValid() ? normal.width() : width();
    p.height = normal.isValid() ? normal.height() : height();
    settings::writePlacement(settings::filePath(), p); // a failure is not reported
    IniFile ini(settings::filePath());
    ini.writeString(kBrowseSection, kFolderKey, ui_.folderList->directory());
    ini.writeInteger(kBrowseSection, kColumnWidthKey, columnWidth_);
    recent_.write(ini); // File ▸ "Recent folders"
    // Only a choice other than the first run's GIF makes the section.
    if (const SaveFormatRow* row = checkedSaveFormat();
        row && (row->format != PictureFormat::GIF ||
                !ini.readString(kSaveSection, kFormatKey).isEmpty())) {
        ini.writeString(
            kSaveSection, kFormatKey,
            QString::fromLatin1(extensionOf(row->format).data(),
                                static_cast<qsizetype>(extensionOf(row->format).size())));
    }
    ini.save();
}

void MainWindow::onActivated() {
    if (firstPaintPending_)
        openArgument(); // a picture shown, a folder or an image opened, once
}

void MainWindow::picturePainted() {
    // The first paint after the window came up ends the start-up: the argument has been
    // shown (or there was none). A paint before the first activation does not count, so
    // the argument is shown whichever comes first on the window system.
    if (activatedOnce_)
        firstPaintPending_ = false;
}

bool MainWindow::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) {
        activatedOnce_ = true;
        onActivated();
    }
    return QMainWindow::event(e);
}

void MainWindow::closeEvent(QCloseEvent* e) {
    saveState();
    e->accept();
    emit programEnds();
}

void MainWindow::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    layoutControls();
}

void MainWindow::showStatus(const QString& text) {
    ui_.statusLine->setToolTip(text);
    fitStatusToWidth();
}

void MainWindow::fitStatusToWidth() {
    const QString whole = ui_.statusLine->toolTip();
    ui_.statusLine->setText(ui_.statusLine->fontMetrics().elidedText(
        whole, Qt::ElideRight, ui_.statusLine->contentsRect().width()));
}

void MainWindow::showWritten(const QString& verb, const QString& fileName) {
    const QFileInfo file(fileName);
    showStatus(QStringLiteral("%1 %2 in %3.")
                   .arg(verb, file.fileName(), QDir::toNativeSeparators(file.absolutePath())));
}

QString MainWindow::statusText() const {
    return ui_.statusLine->toolTip(); // the whole text, however much of it the line shows
}

void MainWindow::showAbout() {
    if (!aboutBox_)
        return;
    aboutBox_->show();
    aboutBox_->raise();
    aboutBox_->activateWindow();
}

void MainWindow::showFormats() {
    if (!formatsWindow_)
        formatsWindow_ = new FormatsWindow(this);
    formatsWindow_->show();
    formatsWindow_->raise();
    formatsWindow_->activateWindow();
}

void MainWindow::applyStates() {
    if (states_.selectGif) {
        ui_.gifButton->setChecked(true); // unticks "4Bit GoDot" with it
        states_.selectGif = false;
    }
    // The zoom commands as the picture area shows the picture (a whole-number scale).
    const CommandStates shown = view_.withPlacement(
        states_, document_->isShown(), ui_.pictureView->scale(), ui_.pictureView->shrunk());
    ui_.saveAsButton->setEnabled(shown.saveAs);
    ui_.flipButton->setEnabled(shown.flip);
    ui_.turnButton->setEnabled(shown.rotate);
    ui_.rotateButton->setEnabled(shown.turn);
    ui_.zoomInButton->setEnabled(shown.zoomIn);
    ui_.zoomOutButton->setEnabled(shown.zoomOut);
    ui_.originalSizeButton->setEnabled(shown.origSize);
    ui_.grey->setEnabled(shown.grey);
    ui_.godotButton->setEnabled(shown.godot);
    ui_.exportC64Action->setEnabled(shown.saveAs);
    // Entries of a disk image are not files of their own.
    ui_.deleteButton->setEnabled(!browsing_.insideImage());
    ui_.deleteAction->setEnabled(!browsing_.insideImage());
    ui_.deleteForGoodAction->setEnabled(!browsing_.insideImage());
    // Fit and 1:1 act on a shown picture, as Flip does.
    ui_.fitAction->setEnabled(shown.flip);
    ui_.actualSizeAction->setEnabled(shown.flip);
}

} // namespace quendra

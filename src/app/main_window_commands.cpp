// MainWindow: the commands on the shown picture, delete, drop and the picture-area clicks.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <algorithm>

#include "app/browse_controls.h"
#include "app/disk_browser.h"
#include "app/main_window.h"
#include "app/secondary_windows.h"
#include "components/dialogs.h"
#include "components/drop_files.h"
#include "components/file_list_view.h"
#include "components/pmultiimage.h"

namespace quendra {

// The decoded picture turns and flips with pictureView's, when pictureView's did.
void MainWindow::flip() {
    const bool before = ui_.pictureView->flipped();
    const bool viewWasIndices = viewShowsIndices();
    ui_.pictureView->flip();
    if (ui_.pictureView->flipped() != before && viewWasIndices)
        keepIndices(flippedTopToBottom(shownIndices_));
}

void MainWindow::turnAnticlockwise() {
    const bool before = ui_.pictureView->rotated();
    const bool viewWasIndices = viewShowsIndices();
    ui_.pictureView->rotate(); // a quarter turn anticlockwise
    if (ui_.pictureView->rotated() != before && viewWasIndices)
        keepIndices(turnedAnticlockwise(shownIndices_));
    applyFit();
}

void MainWindow::turnClockwise() {
    originalSize();
    const QImage source = ui_.pictureView->picture();
    const bool viewWasIndices = viewShowsIndices();
    const int w = source.width();
    if (progressWindow_) {
        progressWindow_->setWindowTitle(QStringLiteral("Rotating..."));
        progressWindow_->SaveProgress->setValue(0);
        progressWindow_->SaveProgress->setRange(0, w);
        progressWindow_->setStep(w / 10);
        progressWindow_->showNow();
    }
    const QImage turned = quarterTurn(source, [this](int column) {
        if (progressWindow_)
            progressWindow_->setPosition(column);
    });
    if (turned.size() == source.size().transposed() && viewWasIndices) {
        IndexedImage indices = turnedClockwise(shownIndices_);
        ui_.pictureView->setPicture(indices);
        keepIndices(std::move(indices));
    } else {
        ui_.pictureView->setPicture(turned);
    }
    applyFit();
    if (progressWindow_) {
        progressWindow_->hide();
        progressWindow_->setStep(2);
    }
}

void MainWindow::applyZoom(const ZoomAction& action) {
    if (action.stretchRatio)
        ui_.pictureView->setStretchRatio(true);
    for (int i = 0; i < action.zoomIns; ++i)
        ui_.pictureView->zoomIn();
    for (int i = 0; i < action.zoomOuts; ++i)
        ui_.pictureView->zoomOut();
    if (!action.stretchRatio)
        ui_.pictureView->setStretchRatio(false);
}

void MainWindow::zoomIn() {
    if (zoomWholeStep(1))
        return;
    leaveFit(); // a zoom step ends fit to window
    applyZoom(quendra::zoomIn(states_, ui_.zoomSteps));
    applyStates();
}

void MainWindow::zoomOut() {
    if (zoomWholeStep(-1))
        return;
    leaveFit(); // a zoom step ends fit to window
    applyZoom(quendra::zoomOut(states_, ui_.zoomSteps, ui_.pictureView->stretchRatio()));
    applyStates();
}

void MainWindow::originalSize() {
    if (ui_.zoomSteps == 0 && (wholeScale_ > 1 || ui_.fitToWindow)) {
        wholeScale_ = 1;
        leaveFit();
        applyStates();
        return;
    }
    applyZoom(origSize(states_, ui_.zoomSteps));
    applyStates();
}

void MainWindow::applyGrey() {
    states_.grey = false;
    applyStates();
    showCurrentFile(this);
    states_.grey = true;
    applyStates();
}

void MainWindow::pictureMouseDown(Qt::MouseButton button) {
    if (!ui_.pictureShown)
        return;
    if (button == Qt::LeftButton) {
        if (enlargedView_)
            enlargedView_->showPicture(ui_.pictureView->picture());
    } else if (button == Qt::RightButton || button == Qt::MiddleButton) {
        if (reducedView_)
            reducedView_->showPicture(ui_.pictureView->picture());
    }
}

void MainWindow::deleteCurrentFile() {
    // The selected row's file, which is the one on screen: the picture follows the row.
    const QString name = selectedListFile();
    const QFileInfo file(name);
    if (insideImage() || name.isEmpty() || !file.exists() || file.isDir())
        return; // an entry of a disk image is no file to delete
    if (dialogs::message(this, QMessageBox::Question, QStringLiteral("Confirm"),
                         QStringLiteral("Move %1 to the Trash?").arg(namePart(name)),
                         QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok) {
        return;
    }
    const int row = ui_.FileList->currentIndex().row();
    // The desktop's Trash (freedesktop.org); where the file's file system has none, the
    // user decides whether the file goes for good.
    // Qt makes the home Trash only inside an existing data folder (without one it would
    // put the file into a "files" folder under the current one).
    QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    bool removed = QFile::moveToTrash(name);
    if (!removed && QFileInfo::exists(name)) {
        if (dialogs::message(this, QMessageBox::Warning, QStringLiteral("Confirm"),
                             QStringLiteral("%1 cannot be moved to the Trash. Delete it for good?")
                                 .arg(namePart(name)),
                             QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok) {
            return;
        }
        removed = QFile::remove(name);
    }
    ui_.currentFileName.clear();
    ui_.FileList->listModel()->refresh();
    // Back to the unzoomed view first, so that the next picture does not open zoomed
    // while the zoom commands say it is not.
    if (ui_.zoomSteps != 0)
        originalSize();
    ui_.pictureView->setPicture(templatePicture);
    keepIndices(IndexedImage());
    ui_.pictureShown = false;
    afterDelete(states_);
    ui_.zoomSteps = 0;
    applyStates();
    applyFit();
    if (!removed) {
        // The file is still there: show it again, and say why it stayed.
        ui_.currentFileName = name;
        showCurrentFile(this);
        showStatus(QStringLiteral("%1 could not be deleted.").arg(namePart(name)));
        return;
    }
    showStatus({});
    // The next file takes the deleted one's place (the last when it was the last).
    const int rows = ui_.FileList->rowCount();
    if (rows == 0) {
        setWindowTitle(kProgramName);
        return;
    }
    ui_.FileList->setCurrentIndex(ui_.FileList->model()->index(std::clamp(row, 0, rows - 1), 0));
    if (selectedListFile() != ui_.currentFileName) // not yet shown by the row's move
        showCurrentFile(ui_.FileList);
}

void MainWindow::onFilesDropped(DropTarget* sender) {
    showDropped(sender->files());
}

void MainWindow::showDropped(const QStringList& files) {
    if (files.isEmpty())
        return;
    const QFileInfo entry(files.first());
    const QString folder = entry.absolutePath();
    openFolder(folder);
    ui_.folderList->refresh();
    ui_.FileList->setFocus();
    ui_.FileList->listModel()->setDirectory(ui_.folderList->directory());
    ui_.currentFileName = entry.absoluteFilePath();
    selectListFile(ui_.currentFileName);
    // A dropped disk or tape image opens like a folder.
    if (DiskBrowser::isImageFile(ui_.currentFileName))
        openImage(ui_.currentFileName);
    else
        showCurrentFile(this);
}

} // namespace quendra

// MainWindow: the commands on the shown picture, delete, drop and the picture-area clicks.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "app/browse_controls.h"
#include "app/main_window.h"
#include "app/secondary_windows.h"
#include "components/dialogs.h"
#include "components/drop_files.h"
#include "components/file_list_view.h"
#include "components/pmultiimage.h"

namespace quendra {

// The decoded picture turns and flips with pictureView's, when pictureView's did.
void MainWindow::FlipClick() {
    const bool before = ui_.pictureView->flipped();
    const bool viewWasIndices = viewShowsIndices();
    ui_.pictureView->ImageFlip();
    if (ui_.pictureView->flipped() != before && viewWasIndices)
        keepIndices(flippedTopToBottom(shownIndices_));
}

void MainWindow::turnClick() {
    const bool before = ui_.pictureView->rotated();
    const bool viewWasIndices = viewShowsIndices();
    ui_.pictureView->ImageRotate(); // a quarter turn anticlockwise
    if (ui_.pictureView->rotated() != before && viewWasIndices)
        keepIndices(turnedAnticlockwise(shownIndices_));
    applyFit();
}

void MainWindow::rotateClick() {
    OrigSizeClick();
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
    ui_.pictureView->setPicture(turned);
    if (turned.size() == source.size().transposed() && viewWasIndices)
        keepIndices(turnedClockwise(shownIndices_));
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
        ui_.pictureView->ImageZoomIn();
    for (int i = 0; i < action.zoomOuts; ++i)
        ui_.pictureView->ImageZoomOut();
    if (!action.stretchRatio)
        ui_.pictureView->setStretchRatio(false);
}

void MainWindow::ZoomInClick() {
    leaveFit(); // a zoom step ends fit to window
    applyZoom(zoomIn(states_, ui_.zoomSteps));
    applyStates();
}

void MainWindow::ZoomOutClick() {
    leaveFit(); // a zoom step ends fit to window
    applyZoom(zoomOut(states_, ui_.zoomSteps, ui_.pictureView->stretchRatio()));
    applyStates();
}

void MainWindow::OrigSizeClick() {
    applyZoom(origSize(states_, ui_.zoomSteps));
    applyStates();
}

void MainWindow::greyClick() {
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

void MainWindow::deleteClick() {
    // The selected row's file, which is the one on screen: the picture follows the row.
    const QString name = selectedListFile();
    const QFileInfo file(name);
    if (name.isEmpty() || !file.exists() || file.isDir())
        return;
    if (dialogs::message(this, QMessageBox::Question, QStringLiteral("Confirm"),
                         QStringLiteral("Erase file %1?").arg(namePart(name)),
                         QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok) {
        return;
    }
    const int row = ui_.FileList->currentIndex().row();
    const bool removed = QFile::remove(name);
    ui_.currentFileName.clear();
    ui_.fileListBox->refresh();
    // Back to the unzoomed view first, so that the next picture does not open zoomed
    // while the zoom commands say it is not.
    if (ui_.zoomSteps != 0)
        OrigSizeClick();
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

void MainWindow::filesDropped(DropTarget* sender) {
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
    ui_.fileListBox->setDirectory(ui_.folderList->directory());
    ui_.currentFileName = entry.absoluteFilePath();
    selectListFile(ui_.currentFileName);
    showCurrentFile(this);
}

} // namespace quendra

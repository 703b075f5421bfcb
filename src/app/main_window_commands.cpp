// MainWindow: the commands on the shown picture, drop and the picture-area clicks.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <functional>
#include <new>

#include "app/browse_controls.h"
#include "app/disk_browser.h"
#include "app/main_window.h"
#include "app/picture_document.h"
#include "app/secondary_windows.h"
#include "components/dialogs.h"
#include "components/drop_files.h"
#include "components/file_list_view.h"
#include "components/pmultiimage.h"

namespace quendra {

namespace {

// Runs a flip or turn of the document; a picture with no memory left for its turned copy
// stays as it was, and `failure` (when given) tells the user so.
void transformOrSay(QWidget* parent, const std::function<void()>& transform,
                    const QString& failure) {
    try {
        transform();
    } catch (const std::bad_alloc&) {
        if (!failure.isEmpty())
            dialogs::message(parent, QMessageBox::Information, QStringLiteral("Information"),
                             failure, QMessageBox::Ok);
    }
}

} // namespace

// Flips and turns are the document's: pictureView shows the result.
void MainWindow::flip() {
    transformOrSay(this, [this] { document_->flip(); }, QStringLiteral("Error flipping image"));
}

void MainWindow::turnAnticlockwise() {
    transformOrSay(this, [this] { document_->turnAnticlockwise(); },
                   QStringLiteral("Error rotating image"));
    applyFit();
}

void MainWindow::turnClockwise() {
    originalSize();
    if (!document_->isShown())
        return;
    const int w = document_->size().width(); // a PC picture's too
    if (progressWindow_) {
        progressWindow_->setWindowTitle(QStringLiteral("Rotating..."));
        progressWindow_->bar()->setValue(0);
        progressWindow_->bar()->setRange(0, w);
        progressWindow_->setStep(w / 10);
        progressWindow_->showNow();
    }
    transformOrSay(this, [this] { document_->turnClockwise(); }, {}); // kept as it was
    if (progressWindow_)
        progressWindow_->setPosition(std::max(0, w - 1)); // every column turned
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
    applyZoom(view_.zoomIn(states_));
    applyStates();
}

void MainWindow::zoomOut() {
    if (zoomWholeStep(-1))
        return;
    leaveFit(); // a zoom step ends fit to window
    applyZoom(view_.zoomOut(states_, ui_.pictureView->stretchRatio()));
    applyStates();
}

void MainWindow::originalSize() {
    if (view_.leaveWholeScale()) {
        applyFit();
        return;
    }
    applyZoom(view_.originalSize(states_));
    applyStates();
}

void MainWindow::applyGrey() {
    states_.grey = false;
    applyStates();
    document_->setGrey(ui_.grey->isChecked());
    // The same indices in the other table; the file is read again only when its picture
    // is not the one shown (a file that was refused, or none chosen).
    if (!showAgainWithoutReading())
        showCurrentFile(this);
    states_.grey = true;
    applyStates();
}

void MainWindow::pictureMouseDown(Qt::MouseButton button) {
    if (!document_->isShown())
        return;
    if (button == Qt::LeftButton) {
        if (enlargedView_)
            enlargedView_->showPicture();
    } else if (button == Qt::RightButton || button == Qt::MiddleButton) {
        if (reducedView_)
            reducedView_->showPicture();
    }
}

void MainWindow::showDropped(const QStringList& files) {
    if (files.isEmpty())
        return;
    const QFileInfo entry(files.first());
    const QString folder = entry.absolutePath();
    openFolder(folder);
    ui_.folderList->refresh();
    ui_.fileList->setFocus();
    ui_.fileList->listModel()->setDirectory(ui_.folderList->directory());
    document_->setFileName(entry.absoluteFilePath());
    selectListFile(document_->fileName());
    // A dropped disk or tape image opens like a folder.
    if (DiskBrowser::isImageFile(document_->fileName()))
        openImage(document_->fileName());
    else
        showCurrentFile(this);
}

} // namespace quendra

// TForm1: the commands on the shown picture, delete, drop and the picture-area clicks.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QRadioButton>

#include "app/browse_controls.h"
#include "app/main_window.h"
#include "app/secondary_windows.h"
#include "components/dialogs.h"
#include "components/drop_files.h"
#include "components/file_list_view.h"
#include "components/pmultiimage.h"

namespace quendra {

void TForm1::FlipClick() {
    PImg->ImageFlip();
}

void TForm1::RotateClick() {
    PImg->ImageRotate();
}

void TForm1::TurnClick() {
    OrigSizeClick();
    const QImage source = PImg->picture();
    const int w = source.width();
    if (Saving) {
        Saving->setWindowTitle(QStringLiteral("Rotating..."));
        Saving->SaveProgress->setValue(0);
        Saving->SaveProgress->setRange(0, w);
        Saving->setStep(w / 10);
        Saving->showNow();
    }
    const QImage turned = quarterTurn(source, [this](int column) {
        if (Saving)
            Saving->setPosition(column);
    });
    PImg->setPicture(turned);
    if (Saving) {
        Saving->hide();
        Saving->setStep(2);
    }
}

void TForm1::applyZoom(const ZoomAction& action) {
    if (action.stretchRatio)
        PImg->setStretchRatio(true);
    for (int i = 0; i < action.zoomIns; ++i)
        PImg->ImageZoomIn();
    for (int i = 0; i < action.zoomOuts; ++i)
        PImg->ImageZoomOut();
    if (!action.stretchRatio)
        PImg->setStretchRatio(false);
}

void TForm1::ZoomInClick() {
    applyZoom(zoomIn(states_, zoomSteps));
    applyStates();
}

void TForm1::ZoomOutClick() {
    applyZoom(zoomOut(states_, zoomSteps, PImg->stretchRatio()));
    applyStates();
}

void TForm1::OrigSizeClick() {
    applyZoom(origSize(states_, zoomSteps));
    applyStates();
}

void TForm1::greyClick() {
    states_.grey = false;
    applyStates();
    FileListBox1DblClick(this);
    states_.grey = true;
    applyStates();
}

void TForm1::PImgMouseDown(Qt::MouseButton button) {
    if (!pictureShown)
        return;
    if (button == Qt::LeftButton) {
        if (Form2)
            Form2->showPicture(PImg->picture());
    } else if (button == Qt::RightButton || button == Qt::MiddleButton) {
        if (Form3)
            Form3->showPicture(PImg->picture());
    }
}

void TForm1::SpeedButton1Click() {
    const QString name = selectedListFile();
    const QFileInfo file(name);
    if (name.isEmpty() || !file.exists() || file.isDir())
        return;
    if (dialogs::message(this, QMessageBox::Question, QStringLiteral("Confirm"),
                         QStringLiteral("Erase file?"),
                         QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok) {
        return;
    }
    QFile::remove(name); // a refusal is not reported; the view is reset all the same
    currentFileName.clear();
    FileListBox1->refresh();
    // Back to the unzoomed view first, so that the next picture does not open zoomed
    // while the zoom commands say it is not.
    if (zoomSteps != 0)
        OrigSizeClick();
    PImg->setPicture(TestBMP);
    pictureShown = false;
    afterDelete(states_);
    zoomSteps = 0;
    applyStates();
}

void TForm1::kxDropFilesDroped(TkxDropFiles* sender) {
    showDropped(sender->files());
}

void TForm1::showDropped(const QStringList& files) {
    if (files.isEmpty())
        return;
    const QFileInfo entry(files.first());
    const QString folder = entry.absolutePath();
    openFolder(folder);
    DirectoryListBox1->refresh();
    FileListBox1->setFocus();
    FileListBox1->setDirectory(DirectoryListBox1->directory());
    currentFileName = entry.absoluteFilePath();
    FileListBox1DblClick(this);
}

} // namespace quendra

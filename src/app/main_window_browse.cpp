// MainWindow: the browsing chain. The drive and the folder list choose the folder the file
// list's model lists (a disk image's entries instead while one is open, main_window_disk.cpp);
// the list's current row and the shown file are always the same.
#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>

#include "app/browse_controls.h"
#include "app/disk_browser.h"
#include "app/main_window.h"
#include "app/picture_document.h"
#include "components/file_list_view.h"

namespace quendra {

void MainWindow::openFolder(const QString& folder) {
    if (!ui_.folderList->setDirectory(folder)) {
        ui_.folderList->setDirectory(BrowsingState::programFolder());
    }
}

void MainWindow::driveChanged() {
    const QString root = ui_.driveBox->drive();
    // The folder list keeps its folder while the selector names the drive it is on.
    if (root.isEmpty() || QStorageInfo(ui_.folderList->directory()).rootPath() == root)
        return;
    if (!DriveBox::isReady(root) || !ui_.folderList->setDirectory(root)) {
        ui_.folderList->setDirectory(BrowsingState::programFolder());
        ui_.driveBox->setDriveOf(BrowsingState::programFolder());
    }
}

void MainWindow::folderChanged() {
    const QString folder = ui_.folderList->directory();
    ui_.driveBox->setDriveOf(folder);
    FileListModel* files = ui_.fileList->listModel();
    if (browsing_.insideImage()) {
        // Out of the image: into its folder with its row selected, or another folder.
        if (QFileInfo(browsing_.image().imagePath()).absolutePath() == folder &&
            files->directory() == folder) {
            leaveImage();
            return;
        }
        browsing_.closeImage();
    }
    files->setDirectory(folder);
}

void MainWindow::fileListChanged() {
    if (browsing_.insideImage()) {
        // The folder changed around the open image: its entries stay listed while it is
        // there.
        if (QFileInfo(browsing_.image().imagePath()).isFile())
            return;
        browsing_.closeImage();
        ui_.folderList->setOpenImage({});
        ui_.fileList->listModel()->listFolder(); // the folder's files again, then here
        return;
    }
    // The columns as wide as their texts where they fit; the shown file's row selected.
    ui_.fileList->fitColumns();
    selectListFile(document_->fileName());
}

void MainWindow::stepFile(int delta) {
    const QModelIndex current = ui_.fileList->currentIndex();
    const int next = BrowsingState::steppedRow(
        ui_.fileList->rowCount(), current.isValid() ? current.row() : -1,
        current.isValid() && ui_.fileList->selectionModel()->isSelected(current), delta);
    if (next < 0)
        return;
    ui_.fileList->setCurrentIndex(ui_.fileList->model()->index(next, 0));
    if (ui_.fileList->selectedFileName() != document_->fileName())
        showCurrentFile(ui_.fileList);
}

void MainWindow::selectListFile(const QString& path) {
    const QString wanted = QFileInfo(path).absoluteFilePath();
    const QString folder = ui_.fileList->listModel()->directory();
    browsing_.setSelectingByProgram(true);
    ui_.fileList->selectionModel()->clearSelection();
    for (int row = 0; row < ui_.fileList->rowCount(); ++row) {
        if (QDir(folder).absoluteFilePath(ui_.fileList->fileName(row)) == wanted) {
            ui_.fileList->setCurrentIndex(ui_.fileList->model()->index(row, 0));
            ui_.fileList->scrollTo(ui_.fileList->currentIndex());
            break;
        }
    }
    browsing_.setSelectingByProgram(false);
}

void MainWindow::listSelectionMoved() {
    if (!browsing_.followsListMoves())
        return;
    const QString file = ui_.fileList->selectedFileName();
    if (!file.isEmpty() && file != document_->fileName())
        showCurrentFile(ui_.fileList);
}

} // namespace quendra

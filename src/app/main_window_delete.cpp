// MainWindow: deleting the selected file. The Delete button and the Delete key move it to
// the desktop's Trash after a question; Shift+Delete asks to delete it for good. The keys
// act with the focus in the file list or on the picture. Entries of an open disk image are
// no files of their own: nothing is deleted there.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QToolButton>
#include <algorithm>

#include "app/main_window.h"
#include "app/picture_document.h"
#include "components/dialogs.h"
#include "components/file_list_view.h"
#include "components/pmultiimage.h"

namespace quendra {

void MainWindow::createDeleteActions() {
    ui_.deleteAction = new QAction(QStringLiteral("Move to Trash"), this);
    ui_.deleteAction->setObjectName(QStringLiteral("deleteFile"));
    ui_.deleteAction->setShortcut(QKeySequence::Delete);
    connect(ui_.deleteAction, &QAction::triggered, this, &MainWindow::deleteCurrentFile);
    ui_.deleteForGoodAction = new QAction(QStringLiteral("Delete for good"), this);
    ui_.deleteForGoodAction->setObjectName(QStringLiteral("deleteFileForGood"));
    ui_.deleteForGoodAction->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_Delete));
    connect(ui_.deleteForGoodAction, &QAction::triggered, this,
            &MainWindow::deleteCurrentFileForGood);
    // Only where the focus is on the list or the picture: the keys keep their own meaning
    // in the drive box and the folder list.
    for (QAction* action : {ui_.deleteAction, ui_.deleteForGoodAction}) {
        action->setShortcutContext(Qt::WidgetShortcut);
        ui_.fileList->addAction(action);
        ui_.pictureView->addAction(action);
    }
}

void MainWindow::deleteCurrentFile() {
    deleteFile(false);
}

void MainWindow::deleteCurrentFileForGood() {
    deleteFile(true);
}

void MainWindow::deleteFile(bool forGood) {
    // The selected row's file, which is the one on screen: the picture follows the row.
    const QString name = ui_.fileList->selectedFileName();
    const QFileInfo file(name);
    if (browsing_.insideImage() || name.isEmpty() || !file.exists() || file.isDir())
        return; // an entry of a disk image is no file to delete
    const QString question =
        forGood ? QStringLiteral("Delete %1 for good?") : QStringLiteral("Move %1 to the Trash?");
    if (dialogs::message(this, QMessageBox::Question, QStringLiteral("Confirm"),
                         question.arg(namePart(name)),
                         QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok) {
        return;
    }
    const int row = ui_.fileList->currentIndex().row();
    bool removed = false;
    if (forGood) {
        removed = QFile::remove(name);
    } else {
        // The desktop's Trash (freedesktop.org); where the file's file system has none, the
        // user decides whether the file goes for good.
        // Qt makes the home Trash only inside an existing data folder (without one it would
        // put the file into a "files" folder under the current one).
        QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
        removed = QFile::moveToTrash(name);
        if (!removed && QFileInfo::exists(name)) {
            if (dialogs::message(
                    this, QMessageBox::Warning, QStringLiteral("Confirm"),
                    QStringLiteral("%1 cannot be moved to the Trash. Delete it for good?")
                        .arg(namePart(name)),
                    QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok) {
                return;
            }
            removed = QFile::remove(name);
        }
    }
    document_->setFileName({});
    ui_.fileList->listModel()->refresh();
    // Back to the unzoomed view first, so that the next picture does not open zoomed
    // while the zoom commands say it is not.
    if (view_.zoomSteps() != 0)
        originalSize();
    document_->clear();
    afterDelete(states_);
    applyFit();
    if (!removed) {
        // The file is still there: show it again, and say why it stayed.
        document_->setFileName(name);
        showCurrentFile(this);
        showStatus(QStringLiteral("%1 could not be deleted.").arg(namePart(name)));
        return;
    }
    showStatus({});
    // The next file takes the deleted one's place (the last when it was the last).
    const int rows = ui_.fileList->rowCount();
    if (rows == 0) {
        setWindowTitle(kProgramName);
        return;
    }
    ui_.fileList->setCurrentIndex(ui_.fileList->model()->index(std::clamp(row, 0, rows - 1), 0));
    // Not yet shown by the row's move.
    if (ui_.fileList->selectedFileName() != document_->fileName())
        showCurrentFile(ui_.fileList);
}

} // namespace quendra

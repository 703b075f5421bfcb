// MainWindow: getting to one's files. File ▸ "Open..." and "Open Folder..." (the desktop's
// dialogs through the one dialog seam, starting in the listed folder), the recent folders
// (recent_folders.h), the Go moves (Back, Up, Home) and the command line's argument: a
// picture is shown in its folder's list; a folder is listed, a disk or tape image opened
// like one, and its first picture shown.
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>

#include "app/browse_controls.h"
#include "app/disk_browser.h"
#include "app/main_window.h"
#include "app/picture_document.h"
#include "components/dialogs.h"
#include "components/file_list_view.h"

namespace quendra {

void MainWindow::createOpenMenu(QMenu* file) {
    QAction* open = file->addAction(QStringLiteral("&Open..."), this, &MainWindow::openByDialog);
    open->setObjectName(QStringLiteral("open"));
    open->setShortcut(QKeySequence::Open);
    QAction* openFolder =
        file->addAction(QStringLiteral("Open &Folder..."), this, &MainWindow::openFolderByDialog);
    openFolder->setObjectName(QStringLiteral("openFolder"));
    openFolder->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    recentMenu_ = file->addMenu(QStringLiteral("&Recent folders"));
    recentMenu_->setObjectName(QStringLiteral("recentFolders"));
    file->addSeparator();
    recent_.load();
    fillRecentMenu();
    // Where a picture is shown is a place looked at: its folder, or the open image.
    connect(document_, &PictureDocument::pictureChanged, this, [this] {
        rememberPlace(browsing_.insideImage() ? browsing_.image().imagePath()
                                              : QFileInfo(document_->fileName()).absolutePath());
    });
    // Every folder listed is a step Back can return to.
    connect(ui_.folderList, &FolderList::directoryChanged, this,
            [this](const QString& folder) { browsing_.enterFolder(folder); });
}

void MainWindow::createGoMenu() {
    QMenu* go = menuBar()->addMenu(QStringLiteral("&Go"));
    QAction* back = go->addAction(QStringLiteral("&Back"), this, &MainWindow::goBack);
    back->setObjectName(QStringLiteral("goBack"));
    back->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Left));
    QAction* up = go->addAction(QStringLiteral("&Up"), this, &MainWindow::goUp);
    up->setObjectName(QStringLiteral("goUp"));
    up->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Up));
    QAction* home = go->addAction(QStringLiteral("&Home folder"), this, &MainWindow::goHome);
    home->setObjectName(QStringLiteral("goHome"));
    home->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
}

void MainWindow::openByDialog() {
    dialogs::OpenRequest request;
    request.title = QStringLiteral("Open");
    request.directory = ui_.folderList->directory();
    request.filter = QStringLiteral("C64 pictures and disk images (") +
                     fileMask().replace(u';', u' ') + QStringLiteral(");;All files (*)");
    const QString chosen = dialogs::openFileName(this, request);
    if (!chosen.isEmpty())
        openPlace(chosen);
}

void MainWindow::openFolderByDialog() {
    dialogs::OpenRequest request;
    request.title = QStringLiteral("Open Folder");
    request.directory = ui_.folderList->directory();
    request.folder = true;
    const QString chosen = dialogs::openFileName(this, request);
    if (!chosen.isEmpty())
        openPlace(chosen);
}

void MainWindow::openPlace(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) {
        if (recent_.remove(path))
            fillRecentMenu();
        showStatus(
            QStringLiteral("%1 is not there any more.").arg(dialogs::printableFileName(path)));
        return;
    }
    closeImageQuietly();
    if (info.isDir()) {
        if (!ui_.folderList->setDirectory(path)) {
            showStatus(QStringLiteral("The folder %1 cannot be listed.")
                           .arg(dialogs::printableFileName(path)));
            return;
        }
        rememberPlace(ui_.folderList->directory());
        showFirstPicture();
        return;
    }
    openFolder(info.absolutePath());
    if (DiskBrowser::isImageFile(info.absoluteFilePath())) {
        openImage(info.absoluteFilePath());
        if (browsing_.insideImage()) {
            rememberPlace(browsing_.image().imagePath());
            showFirstPicture();
        }
        return;
    }
    document_->setFileName(info.absoluteFilePath());
    showCurrentFile(this);
}

void MainWindow::openStartFolder(const QString& lastFolder) {
    const QString argument = arguments_.value(0);
    const QFileInfo info(argument);
    if (!argument.isEmpty() && info.isDir() && ui_.folderList->setDirectory(argument))
        return; // its first picture is shown at the first activation
    // A picture or an image: its folder, its row selected.
    const bool withFile = !argument.isEmpty() && info.isFile();
    openFolder(withFile ? info.absolutePath() : BrowsingState::startFolder(lastFolder));
    if (withFile)
        selectListFile(argument);
}

void MainWindow::openArgument() {
    if (arguments_.isEmpty() || argumentOpened_)
        return;
    argumentOpened_ = true;
    const QString argument = arguments_.first();
    const QFileInfo info(argument);
    if (info.isDir()) {
        if (QDir(ui_.folderList->directory()) == QDir(argument))
            showFirstPicture();
        else
            showNothing(argument, QStringLiteral("The folder %1 cannot be listed.")
                                      .arg(dialogs::printableFileName(argument)));
        return;
    }
    document_->setFileName(argument);
    // A disk or tape image opens like a folder.
    if (!DiskBrowser::isImageFile(argument)) {
        showCurrentFile(this);
        return;
    }
    openImage(argument);
    if (browsing_.insideImage())
        showFirstPicture();
}

void MainWindow::showFirstPicture() {
    if (browsing_.insideImage()) {
        const QList<DiskBrowser::Row>& rows = browsing_.image().rows();
        for (int entry = 0; entry < rows.size(); ++entry) {
            if (!rows[entry].format.isEmpty()) {
                document_->setFileName(browsing_.entryKey(entry));
                showCurrentFile(this);
                return;
            }
        }
        return; // the image's summary stays on the line
    }
    // The first row that is no disk or tape image (those open on Enter).
    const QString folder = ui_.fileList->listModel()->directory();
    for (int row = 0; row < ui_.fileList->rowCount(); ++row) {
        const QString path = QDir(folder).absoluteFilePath(ui_.fileList->fileName(row));
        if (!DiskBrowser::isImageFile(path)) {
            document_->setFileName(path);
            showCurrentFile(this);
            return;
        }
    }
    // No picture of the folder's to show: none of another folder's stays.
    document_->setFileName({});
    showNothing(folder, ui_.fileList->rowCount() == 0
                            ? QStringLiteral("%1 holds no pictures.").arg(namePart(folder))
                            : QStringLiteral("%1 holds no pictures; Enter or a double-click "
                                             "opens a disk or tape image.")
                                  .arg(namePart(folder)));
}

void MainWindow::closeImageQuietly() {
    if (!browsing_.insideImage())
        return;
    browsing_.closeImage();
    ui_.folderList->setOpenImage({});
    ui_.fileList->listModel()->listFolder();
}

void MainWindow::goBack() {
    if (browsing_.insideImage()) {
        leaveImage();
        return;
    }
    for (QString folder = browsing_.takeBackFolder(); !folder.isEmpty();
         folder = browsing_.takeBackFolder()) {
        if (ui_.folderList->setDirectory(folder))
            return;
    }
}

void MainWindow::goUp() {
    if (browsing_.insideImage()) {
        leaveImage(); // to its folder, its row selected
        return;
    }
    QDir parent(ui_.folderList->directory());
    if (parent.cdUp())
        ui_.folderList->setDirectory(parent.absolutePath());
}

void MainWindow::goHome() {
    ui_.folderList->setDirectory(QDir::homePath());
}

void MainWindow::rememberPlace(const QString& place) {
    if (!place.isEmpty() && recent_.add(place))
        fillRecentMenu();
}

void MainWindow::fillRecentMenu() {
    recentMenu_->clear();
    int n = 0;
    for (const QString& place : recent_.places()) {
        ++n;
        QString text = QDir::toNativeSeparators(place);
        text.replace(u'&', QStringLiteral("&&"));
        if (n < 10)
            text = QStringLiteral("&%1 ").arg(n) + text;
        QAction* action = recentMenu_->addAction(text, this, [this, place] { openPlace(place); });
        action->setObjectName(QStringLiteral("recent-%1").arg(n));
    }
    recentMenu_->setEnabled(n > 0);
}

} // namespace quendra

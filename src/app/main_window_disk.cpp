// MainWindow: a disk or tape image opened like a folder (the browsing state, browsing_state.h,
// holds it). The file list shows its entries (a ".." row first, which leads back out) with
// the C64 name, size and the picture format found. Selecting an entry shows its picture
// through the one road, as a file is shown.
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QToolButton>

#include "app/browse_controls.h"
#include "app/disk_browser.h"
#include "app/main_window.h"
#include "app/picture_document.h"
#include "app/secondary_windows.h"
#include "components/file_list_view.h"
#include "components/pmultiimage.h"

namespace quendra {

namespace {
constexpr int kUpRow = BrowsingState::kUpRow;
} // namespace

void MainWindow::openImage(const QString& path) {
    QString error;
    if (!browsing_.openImage(path, &error)) {
        document_->setFileName(path);
        selectListFile(path);
        showNothing(path, QStringLiteral("%1 cannot be opened: %2.").arg(namePart(path), error));
        return;
    }
    const QString image = browsing_.image().imagePath();
    ui_.folderList->setOpenImage(image);
    listImage();
    // Nothing chosen yet: the image's name, and what it holds, on the line.
    document_->setFileName({});
    showNothing(image, browsing_.imageSummary());
    // The ".." row current, not shown: the next key down shows the first entry.
    browsing_.setSelectingByProgram(true);
    ui_.fileList->setCurrentIndex(ui_.fileList->model()->index(0, 0));
    browsing_.setSelectingByProgram(false);
    ui_.fileList->setFocus();
}

void MainWindow::leaveImage() {
    if (!browsing_.insideImage())
        return;
    const QString image = browsing_.image().imagePath();
    browsing_.closeImage();
    ui_.folderList->setOpenImage({});
    ui_.fileList->listModel()->listFolder(); // the folder's files again
    // The image's own row is where the user came from.
    document_->setFileName(image);
    showCurrentFile(this);
}

void MainWindow::listImage() {
    ui_.fileList->clear();
    for (const BrowsingState::Row& row : browsing_.imageRows())
        ui_.fileList->addRow(row.key, row.texts, row.isFolder);
    ui_.fileList->fitColumns();
}

void MainWindow::activateListRow(bool showAgain) {
    const QString key = ui_.fileList->selectedFileName();
    if (browsing_.entryOf(key) == kUpRow)
        leaveImage();
    else if (!browsing_.insideImage() && DiskBrowser::isImageFile(key))
        openImage(key);
    else if (showAgain || key != document_->fileName())
        showCurrentFile(ui_.fileList);
}

void MainWindow::showEntry(const QString& key) {
    const int entry = browsing_.entryOf(key);
    if (entry == kUpRow) {
        showNothing(browsing_.image().imagePath(),
                    QStringLiteral("Enter or a double-click leads back to the folder."));
        return;
    }
    DecodeOptions options;
    options.grey = document_->grey();
    const OpenedPicture opened = browsing_.image().picture(entry, options);
    const Decoded& decoded = opened.decoded;
    const QString note = browsing_.image().rows()[entry].note;
    const QString why = browsing_.shownName(key) + QStringLiteral(" is ") +
                        QString::fromStdString(decoded.reason) +
                        (note.isEmpty() ? QString() : QStringLiteral(" (") + note + u')');
    if (!opened.format) { // no picture at all (a program, a DEL entry)
        dispatchBegins(states_);
        showNothing(key, why);
        return;
    }
    beginReading(key, *opened.format);
    if (!endReading(key, *opened.format, decoded)) {
        showStatus(why);
        return;
    }
    // How it was drawn, what the road noticed, what is odd about the entry on the disk.
    QStringList notes;
    for (const QString& line :
         {QString::fromUtf8(decoded.note.data(), qsizetype(decoded.note.size())),
          QString::fromStdString(opened.note), note}) {
        if (!line.isEmpty())
            notes << line;
    }
    showStatus(notes.join(QStringLiteral("; ")));
}

} // namespace quendra

// MainWindow: a disk or tape image opened like a folder. The file list shows its entries
// (a ".." row first, which leads back out) with the C64 name, size and the picture format
// found; a row stands for its entry under a key made of the image's path and the entry's
// number ("…/pics.d64/3"), which no file of the folder can have, since the image is a file.
// Selecting an entry shows its picture through the one road, as a file is shown.
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
constexpr int kUpRow = -1;   // the ".." row
constexpr int kNoEntry = -2; // a file of the folder
} // namespace

bool MainWindow::insideImage() const {
    return disk_->isOpen();
}

QString MainWindow::entryKey(int entry) const {
    return disk_->imagePath() + u'/' + QString::number(entry);
}

int MainWindow::entryOf(const QString& key) const {
    if (!disk_->isOpen())
        return kNoEntry;
    const QString prefix = disk_->imagePath() + u'/';
    if (!key.startsWith(prefix))
        return kNoEntry;
    bool ok = false;
    const int entry = key.mid(prefix.size()).toInt(&ok);
    return ok && entry >= kUpRow && entry < disk_->rows().size() ? entry : kNoEntry;
}

QString MainWindow::frameCaption(const QString& fileName, QStringView suffix) const {
    const int entry = entryOf(fileName);
    if (entry >= 0) {
        const QByteArray text = suffix.toUtf8();
        return disk_->caption(entry, std::string_view(text.constData(), text.size()));
    }
    return captionFor(fileName, suffix);
}

QString MainWindow::shownName(const QString& fileName) const {
    const int entry = entryOf(fileName);
    return entry >= 0 ? disk_->rows()[entry].name : namePart(fileName);
}

void MainWindow::openImage(const QString& path) {
    QString error;
    if (!disk_->open(QFileInfo(path).absoluteFilePath(), &error)) {
        document_->setFileName(path);
        selectListFile(path);
        showNothing(path, QStringLiteral("%1 cannot be opened: %2.").arg(namePart(path), error));
        return;
    }
    ui_.folderList->setOpenImage(disk_->imagePath());
    listImage();
    // Nothing chosen yet: the image's name, and what it holds, on the line.
    document_->setFileName({});
    showNothing(disk_->imagePath(), {});
    qsizetype pictures = 0;
    for (const DiskBrowser::Row& row : disk_->rows())
        pictures += row.format.isEmpty() ? 0 : 1;
    QString status = QStringLiteral("%1: %2 entries, %3 of them pictures")
                         .arg(namePart(disk_->imagePath()))
                         .arg(disk_->rows().size())
                         .arg(pictures);
    if (const QString notes = disk_->imageNotes(); !notes.isEmpty())
        status += QStringLiteral("; ") + notes;
    showStatus(status + u'.');
    // The ".." row current, not shown: the next key down shows the first entry.
    selectingByProgram_ = true;
    ui_.fileList->setCurrentIndex(ui_.fileList->model()->index(0, 0));
    selectingByProgram_ = false;
    ui_.fileList->setFocus();
}

void MainWindow::leaveImage() {
    if (!disk_->isOpen())
        return;
    const QString image = disk_->imagePath();
    disk_->close();
    ui_.folderList->setOpenImage({});
    ui_.fileList->listModel()->listFolder(); // the folder's files again
    // The image's own row is where the user came from.
    document_->setFileName(image);
    showCurrentFile(this);
}

void MainWindow::listImage() {
    ui_.fileList->clear();
    ui_.fileList->addRow(entryKey(kUpRow), {QStringLiteral(".."), {}, QStringLiteral("Folder")},
                         true);
    const QList<DiskBrowser::Row>& rows = disk_->rows();
    for (int i = 0; i < rows.size(); ++i) {
        const DiskBrowser::Row& row = rows[i];
        // The picture's format with the C64 file type; the C64 type alone for no picture.
        const QString type =
            row.format.isEmpty() ? row.type : row.format + QStringLiteral(" (") + row.type + u')';
        ui_.fileList->addRow(entryKey(i), {row.name, QString::number(row.size), type});
    }
    ui_.fileList->fitColumns();
}

void MainWindow::activateListRow(bool showAgain) {
    const QString key = selectedListFile();
    if (entryOf(key) == kUpRow)
        leaveImage();
    else if (!insideImage() && DiskBrowser::isImageFile(key))
        openImage(key);
    else if (showAgain || key != document_->fileName())
        showCurrentFile(ui_.fileList);
}

void MainWindow::showEntry(const QString& key) {
    const int entry = entryOf(key);
    if (entry == kUpRow) {
        showNothing(disk_->imagePath(),
                    QStringLiteral("Enter or a double-click leads back to the folder."));
        return;
    }
    DecodeOptions options;
    options.grey = document_->grey();
    const OpenedPicture opened = disk_->picture(entry, options);
    const Decoded& decoded = opened.decoded;
    const QString note = disk_->rows()[entry].note;
    const QString why = shownName(key) + QStringLiteral(" is ") +
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

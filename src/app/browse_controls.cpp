#include "app/browse_controls.h"

#include <QDir>
#include <QFileInfo>
#include <QMouseEvent>
#include <QStorageInfo>
#include <QStyle>
#include <algorithm>

#include "app/disk_browser.h"

namespace quendra {

// ---- DriveBox ----

DriveBox::DriveBox(QWidget* parent) : QComboBox(parent) {
    refreshVolumes();
    connect(this, &QComboBox::activated, this, &DriveBox::driveChosen);
}

void DriveBox::refreshVolumes() {
    const QString selected = drive();
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.rootPath().isEmpty())
            roots << volume.rootPath();
    }
    roots.removeDuplicates();
    std::sort(roots.begin(), roots.end());
    const QSignalBlocker block(this);
    clear();
    addItems(roots);
    const int i = findText(selected);
    if (i >= 0)
        setCurrentIndex(i);
}

QString DriveBox::drive() const {
    return currentText();
}

void DriveBox::setDriveOf(const QString& path) {
    const QString root = QStorageInfo(path).rootPath();
    int i = findText(root);
    if (i < 0 && !root.isEmpty()) {
        refreshVolumes();
        i = findText(root);
    }
    const QSignalBlocker block(this);
    if (i >= 0)
        setCurrentIndex(i);
}

bool DriveBox::isReady(const QString& root) {
    if (root.isEmpty())
        return false;
    const QStorageInfo volume(root);
    if (!volume.isValid() || !volume.isReady())
        return false;
    const QFileInfo info(root);
    return info.isDir() && info.isReadable() && info.isExecutable();
}

void DriveBox::focusInEvent(QFocusEvent* e) {
    QComboBox::focusInEvent(e);
    emit driveChosen();
}

void DriveBox::focusOutEvent(QFocusEvent* e) {
    QComboBox::focusOutEvent(e);
    emit driveChosen();
}

void DriveBox::mousePressEvent(QMouseEvent* e) {
    refreshVolumes();
    QComboBox::mousePressEvent(e);
    emit driveChosen();
}

// ---- FolderList ----

FolderList::FolderList(QWidget* parent) : QListWidget(parent) {
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        const int row = this->row(item);
        if (row < 0 || row >= paths_.size())
            return;
        if (row >= firstImage_) {
            emit imageActivated(paths_[row]);
        } else if (!openImage_.isEmpty() && paths_[row] == directory_) {
            // Out of the open image, back to its folder.
            openImage_.clear();
            fill();
            emit directoryChanged(directory_);
        } else {
            setDirectory(paths_[row]);
        }
    });
}

bool FolderList::setDirectory(const QString& folder) {
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.isDir() || !info.isExecutable())
        return false;
    const QString clean = QDir::cleanPath(info.absoluteFilePath());
    const bool imageWasOpen = !openImage_.isEmpty();
    openImage_.clear();
    if (clean == directory_ && !imageWasOpen) {
        refresh();
        return true;
    }
    directory_ = clean;
    fill();
    emit directoryChanged(directory_);
    return true;
}

void FolderList::setOpenImage(const QString& path) {
    openImage_ = path.isEmpty() ? QString() : QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    fill();
}

void FolderList::refresh() {
    fill();
}

void FolderList::fill() {
    clear();
    paths_.clear();
    // The path from the root down to the current folder ...
    QStringList chain;
    for (QDir d(directory_);;) {
        chain.prepend(d.absolutePath());
        if (d.isRoot() || !d.cdUp())
            break;
    }
    int depth = 0;
    for (const QString& path : chain) {
        const QString name = QDir(path).isRoot() ? path : QFileInfo(path).fileName();
        addItem(QString(depth * 2, u' ') + name);
        paths_ << path;
        ++depth;
    }
    setCurrentRow(static_cast<int>(paths_.size()) - 1);
    // ... then its subfolders.
    const QDir current(directory_);
    const QStringList subfolders =
        current.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : subfolders) {
        addItem(QString(depth * 2, u' ') + name);
        paths_ << current.absoluteFilePath(name);
    }
    // ... and its disk and tape images, opened like folders.
    firstImage_ = static_cast<int>(paths_.size());
    const QIcon disk = style()->standardIcon(QStyle::SP_DriveFDIcon);
    const QStringList files = current.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : files) {
        const QString path = current.absoluteFilePath(name);
        if (!DiskBrowser::isImageFile(path))
            continue;
        addItem(new QListWidgetItem(disk, QString(depth * 2, u' ') + name));
        paths_ << path;
        if (path == openImage_)
            setCurrentRow(static_cast<int>(paths_.size()) - 1);
    }
}

} // namespace quendra

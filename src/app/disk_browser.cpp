#include "app/disk_browser.h"

#include <QFileInfo>
#include <QStringList>

#include "app/view_logic.h"
#include "components/bridge.h"
#include "components/dialogs.h"
#include "decode/disk_pictures.h"

namespace quendra {

bool DiskBrowser::isImageName(const QString& fileName) {
    return diskContainerForName(fileName.toStdString()) != nullptr;
}

QString DiskBrowser::typeText(const QString& fileName) {
    const DiskContainer* container = diskContainerForName(fileName.toStdString());
    return container ? QString::fromUtf8(container->name.data(),
                                         static_cast<qsizetype>(container->name.size()))
                     : QString();
}

bool DiskBrowser::isImageFile(const QString& path) {
    // The name first: a folder of many files costs no look-up for the others.
    return isImageName(path) && QFileInfo(path).isFile() && diskContainerForFile(toPath(path));
}

bool DiskBrowser::open(const QString& path, QString* error) {
    OpenedDisk opened = readDiskImage(toPath(path));
    if (!opened.image) {
        if (error)
            *error = QString::fromStdString(opened.error);
        return false;
    }
    path_ = path;
    image_ = std::move(opened.image);
    rows_.clear();
    for (const DiskEntry& entry : image_->entries()) {
        Row row;
        row.name = QString::fromStdString(entry.name);
        row.type = QString::fromUtf8(fileTypeName(entry.type).data());
        row.size = entry.length;
        row.note = QString::fromStdString(entry.note);
        if (const EntryPicture found = decodeEntry(*image_, entry, {}); found.format)
            row.format = QString::fromUtf8(found.format->name.data(),
                                           static_cast<qsizetype>(found.format->name.size()));
        rows_.push_back(row);
    }
    return true;
}

void DiskBrowser::close() {
    path_.clear();
    image_.reset();
    rows_.clear();
}

OpenedPicture DiskBrowser::picture(int row, const DecodeOptions& options) const {
    OpenedPicture none;
    if (!image_ || row < 0 || row >= rows_.size()) {
        none.decoded.reason = "no such entry";
        return none;
    }
    const DiskEntry& entry = image_->entries()[static_cast<std::size_t>(row)];
    EntryPicture found = decodeEntry(*image_, entry, options);
    OpenedPicture result;
    result.format = found.format;
    result.decoded = std::move(found.decoded);
    result.note = std::move(found.note);
    return result;
}

QString DiskBrowser::safeName(int row) const {
    if (!image_ || row < 0 || row >= rows_.size())
        return {};
    return QString::fromStdString(
        safeFileName(image_->entries()[static_cast<std::size_t>(row)].name));
}

QString DiskBrowser::imageNotes() const {
    QStringList notes;
    if (image_) {
        for (const std::string& note : image_->notes())
            notes << QString::fromStdString(note);
    }
    return notes.join(QStringLiteral("; "));
}

QString DiskBrowser::caption(int row, std::string_view suffix) const {
    // The entry's name may hold a "/" (C/COVERFOX): only the image's path loses its folder.
    const QString entry = row >= 0 && row < rows_.size() ? rows_[row].name : QString();
    return captionFor(path_, {}) + QStringLiteral(" \u203A ") +
           dialogs::printableFileName(entry) +
           QString::fromUtf8(suffix.data(), static_cast<qsizetype>(suffix.size()));
}

} // namespace quendra

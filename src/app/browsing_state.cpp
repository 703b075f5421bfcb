#include "app/browsing_state.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>

#include "app/view_logic.h"

namespace quendra {

QString BrowsingState::programFolder() {
    return QCoreApplication::applicationDirPath();
}

QString BrowsingState::startFolder(const QString& lastFolder) {
    if (!lastFolder.isEmpty() && QFileInfo(lastFolder).isDir())
        return lastFolder;
    const QString samples = programFolder() + QStringLiteral("/samples");
    if (QFileInfo(samples).isDir())
        return samples;
    // Whether the file list would list anything there (the same name filters).
    if (!QDir(programFolder()).entryList(fileMask().split(u';'), QDir::Files).isEmpty())
        return programFolder();
    // An installed program's folder (/usr/bin) is no place to browse.
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!pictures.isEmpty() && QFileInfo(pictures).isDir())
        return pictures;
    return QDir::homePath();
}

int BrowsingState::steppedRow(int rows, int current, bool currentSelected, int delta) {
    if (rows == 0)
        return -1;
    const int row = current >= 0 ? current : (delta > 0 ? -1 : rows);
    const int next = std::clamp(row + delta, 0, rows - 1);
    return current >= 0 && next == row && currentSelected ? -1 : next;
}

void BrowsingState::enterFolder(const QString& folder) {
    if (folder == listedFolder_)
        return;
    if (!listedFolder_.isEmpty()) {
        history_.append(listedFolder_);
        if (history_.size() > kLongestHistory)
            history_.removeFirst();
    }
    listedFolder_ = folder;
}

QString BrowsingState::takeBackFolder() {
    if (history_.isEmpty())
        return {};
    listedFolder_ = history_.takeLast();
    return listedFolder_;
}

bool BrowsingState::openImage(const QString& path, QString* error) {
    return disk_.open(QFileInfo(path).absoluteFilePath(), error);
}

bool BrowsingState::readImageAgain() {
    return disk_.open(disk_.imagePath());
}

QString BrowsingState::entryKey(int entry) const {
    return disk_.imagePath() + u'/' + QString::number(entry);
}

int BrowsingState::entryOf(const QString& key) const {
    if (!disk_.isOpen())
        return kNoEntry;
    const QString prefix = disk_.imagePath() + u'/';
    if (!key.startsWith(prefix))
        return kNoEntry;
    bool ok = false;
    const int entry = key.mid(prefix.size()).toInt(&ok);
    return ok && entry >= kUpRow && entry < disk_.rows().size() ? entry : kNoEntry;
}

QList<BrowsingState::Row> BrowsingState::imageRows() const {
    QList<Row> out{{entryKey(kUpRow), {QStringLiteral(".."), {}, QStringLiteral("Folder")}, true}};
    const QList<DiskBrowser::Row>& rows = disk_.rows();
    for (int i = 0; i < rows.size(); ++i) {
        const DiskBrowser::Row& row = rows[i];
        // The picture's format with the C64 file type; the C64 type alone for no picture.
        const QString type =
            row.format.isEmpty() ? row.type : row.format + QStringLiteral(" (") + row.type + u')';
        out.append({entryKey(i), {row.name, QString::number(row.size), type}, false});
    }
    return out;
}

QString BrowsingState::imageSummary() const {
    qsizetype pictures = 0;
    for (const DiskBrowser::Row& row : disk_.rows())
        pictures += row.format.isEmpty() ? 0 : 1;
    const qsizetype entries = disk_.rows().size();
    QString status = namePart(disk_.imagePath()) + QStringLiteral(": ");
    if (entries == 1)
        status += pictures == 1 ? QStringLiteral("1 entry, a picture")
                                : QStringLiteral("1 entry, not a picture");
    else
        status +=
            QStringLiteral("%1 entries, %2 of them %3")
                .arg(entries)
                .arg(pictures)
                .arg(pictures == 1 ? QStringLiteral("a picture") : QStringLiteral("pictures"));
    if (const QString notes = disk_.imageNotes(); !notes.isEmpty())
        status += QStringLiteral("; ") + notes;
    return status + u'.';
}

QString BrowsingState::caption(const QString& fileName, QStringView suffix) const {
    const int entry = entryOf(fileName);
    if (entry >= 0) {
        const QByteArray text = suffix.toUtf8();
        return disk_.caption(entry, std::string_view(text.constData(), text.size()));
    }
    return captionFor(fileName, suffix);
}

QString BrowsingState::shownName(const QString& fileName) const {
    const int entry = entryOf(fileName);
    return entry >= 0 ? disk_.rows()[entry].name : namePart(fileName);
}

QString BrowsingState::entryFileName(const QString& key) const {
    const int entry = entryOf(key);
    return entry >= 0 ? disk_.safeName(entry) : QString();
}

} // namespace quendra

#include "components/file_list_model.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <numeric>

#include "components/file_list_view.h"
#include "decode/c64_names.h"
#include "export/pc_image_reader.h"

namespace quendra {

namespace {

// Orders `order` (row indices) by `compare`, keeping the order of rows that compare equal.
// A descending sort negates the comparison.
template <typename Compare>
void stableOrder(std::vector<int>& order, bool ascending, Compare compare) {
    if (ascending) {
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return compare(a, b) < 0; });
    } else {
        std::stable_sort(order.begin(), order.end(),
                         [&](int a, int b) { return compare(a, b) > 0; });
    }
}

// A text read back as a number or a time; unreadable texts come before all readable ones.
template <typename T> struct Key {
    bool ok = false;
    T value{};
};

template <typename T, typename Diff>
long long compareKeys(const Key<T>& a, const Key<T>& b, Diff diff) {
    if (!a.ok || !b.ok)
        return static_cast<long long>(a.ok) - static_cast<long long>(b.ok);
    return diff(a.value, b.value);
}

long long compareSizes(qint64 a, qint64 b) {
    return a < b ? -1 : (a > b ? 1 : 0);
}

Key<qint64> readSize(const QString& text) {
    Key<qint64> key;
    key.value = text.toLongLong(&key.ok);
    return key;
}

Key<double> readTime(const QString& text) {
    Key<double> key;
    key.ok = filelist::readModified(text, key.value);
    return key;
}

} // namespace

FileListModel::FileListModel(QObject* parent)
    : QAbstractTableModel(parent), dateSeparator_(filelist::localeDateSeparator()) {
    // Files added, removed or renamed in the folder are listed without a click; a burst of
    // changes (a copy of many files) lists once.
    changed_.setSingleShot(true);
    changed_.setInterval(100);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, &changed_,
            qOverload<>(&QTimer::start));
    connect(&changed_, &QTimer::timeout, this, &FileListModel::refresh);
}

// ---- The folder ----

void FileListModel::setDirectory(const QString& folder) {
    if (!watcher_.directories().isEmpty())
        watcher_.removePaths(watcher_.directories());
    directory_ = folder;
    if (!folder.isEmpty())
        watcher_.addPath(folder);
    listFolder();
}

void FileListModel::setNameFilters(const QStringList& filters) {
    nameFilters_.clear();
    prefixFilters_.clear();
    for (const QString& filter : filters) {
        const QString pattern = filter.trimmed();
        if (pattern.isEmpty())
            continue;
        nameFilters_ << pattern;
        // "*.pi" of a C64 format lists its C64-style names too: "pi.*" (pi.worldmap).
        if (pattern.startsWith(QStringLiteral("*.")) &&
            namesListedFormat(pattern.mid(1).toStdString()))
            prefixFilters_ << pattern.mid(2) + QStringLiteral(".*");
    }
    refresh();
}

void FileListModel::listFolder() {
    listsFolder_ = true;
    refresh();
}

void FileListModel::refresh() {
    if (listsFolder_) {
        std::vector<Row> listed;
        if (!directory_.isEmpty()) {
            QDir dir(directory_);
            dir.setNameFilters(nameFilters_); // without regard to case
            constexpr QDir::Filters kFiles = QDir::Files | QDir::Hidden | QDir::System;
            QStringList names = dir.entryList(kFiles, QDir::Unsorted);
            if (!prefixFilters_.isEmpty()) {
                // Of the names the prefixes match, the C64-style ones: not pi.png, nor the
                // pi.worldmap.png a converter made beside pi.worldmap.
                dir.setNameFilters(prefixFilters_);
                for (const QString& name : dir.entryList(kFiles, QDir::Unsorted)) {
                    const QByteArray utf8 = name.toUtf8();
                    const std::string_view view(utf8.constData(), std::size_t(utf8.size()));
                    if (isC64StyleName(view) && !isPcPictureName(view))
                        names << name;
                }
            }
            std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
                return filelist::compareNames(a, b) < 0;
            });
            listed.reserve(static_cast<std::size_t>(names.size()));
            for (const QString& name : names) {
                Row row;
                if (fileRow(dir.filePath(name), row)) // gone since the listing: no row
                    listed.push_back(std::move(row));
            }
        }
        beginResetModel();
        rows_ = std::move(listed);
        endResetModel();
    }
    emit refreshed();
}

// ---- Rows the caller gives ----

bool FileListModel::fileRow(const QString& fileName, Row& row) const {
    const QFileInfo info(fileName); // one lookup; the answers below come from it
    if (fileName.isEmpty() || !info.exists())
        return false;
    row.texts[FileListView::Caption] = info.fileName(); // the real name, case and all
    row.texts[FileListView::Size] = QString::number(info.size());
    row.texts[FileListView::Type] = filelist::typeDescription(info, info.fileName());
    row.texts[FileListView::Modified] = filelist::modifiedText(info.lastModified(), dateSeparator_);
    row.texts[FileListView::Attributes] = filelist::attributeLetters(info);
    row.fileName = fileName;
    return true;
}

void FileListModel::holdCallersRows() {
    listsFolder_ = false;
}

bool FileListModel::addFile(const QString& fileName, qint64& size) {
    Row row;
    if (!fileRow(fileName, row))
        return false;
    size = row.texts[FileListView::Size].toLongLong();
    holdCallersRows();
    append(std::move(row));
    return true;
}

void FileListModel::addRow(const QString& fileName, const QStringList& texts, bool first) {
    Row row;
    row.first = first;
    for (int field = 0; field < kFieldCount && field < texts.size(); ++field)
        row.texts[field] = texts[field];
    row.fileName = fileName;
    holdCallersRows();
    append(std::move(row));
}

void FileListModel::append(Row&& row) {
    const int at = rowCount();
    beginInsertRows({}, at, at);
    rows_.push_back(std::move(row));
    endInsertRows();
}

void FileListModel::clear() {
    holdCallersRows();
    beginResetModel();
    rows_.clear();
    endResetModel();
}

void FileListModel::setColumns(QList<FileListColumn> columns) {
    beginResetModel();
    columns_ = std::move(columns);
    endResetModel();
}

// ---- The model's interface ----

int FileListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int FileListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : std::max<int>(kFieldCount, int(columns_.size()));
}

QVariant FileListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const int column = index.column();
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        if (column < kFieldCount)
            return rows_[index.row()].texts[column];
    } else if (role == Qt::ToolTipRole && column < kFieldCount) {
        // The whole text where a narrow column cuts it.
        return rows_[index.row()].texts[column];
    } else if (role == Qt::TextAlignmentRole && column < columns_.size()) {
        return QVariant::fromValue(columns_[column].alignment | Qt::AlignVCenter);
    }
    return {};
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columns_.size())
        return {};
    if (role == Qt::DisplayRole)
        return columns_[section].caption;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(columns_[section].alignment | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags FileListModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (editable_ && index.column() == FileListView::Caption)
        f |= Qt::ItemIsEditable;
    return f;
}

bool FileListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!editable_ || role != Qt::EditRole || !index.isValid() ||
        index.column() != FileListView::Caption)
        return false;
    rows_[index.row()].texts[FileListView::Caption] = value.toString();
    emit dataChanged(index, index);
    return true;
}

// ---- Sorting ----

long long FileListModel::compare(int a, int b, int column) const {
    switch (column) {
    case FileListView::Size:
        return compareKeys(readSize(text(a, column)), readSize(text(b, column)), compareSizes);
    case FileListView::Modified:
        return compareKeys(readTime(text(a, column)), readTime(text(b, column)),
                           filelist::compareDays);
    default:
        if (column < 0 || column >= kFieldCount)
            return 0;
        return column == FileListView::Caption
                   ? filelist::compareNames(text(a, column), text(b, column))
                   : filelist::compareText(text(a, column), text(b, column));
    }
}

void FileListModel::sortRows(int column, bool ascending) {
    const int n = rowCount();
    std::vector<int> order(static_cast<std::size_t>(n));
    std::iota(order.begin(), order.end(), 0);
    // Read the texts back once per row, then compare the keys.
    if (column == FileListView::Size || column == FileListView::Modified) {
        const bool bySize = column == FileListView::Size;
        std::vector<Key<qint64>> sizes;
        std::vector<Key<double>> times;
        if (bySize) {
            sizes.reserve(order.size());
            for (const Row& r : rows_)
                sizes.push_back(readSize(r.texts[column]));
        } else {
            times.reserve(order.size());
            for (const Row& r : rows_)
                times.push_back(readTime(r.texts[column]));
        }
        stableOrder(order, ascending, [&](int a, int b) {
            return bySize ? compareKeys(sizes[a], sizes[b], compareSizes)
                          : compareKeys(times[a], times[b], filelist::compareDays);
        });
    } else if (column >= 0 && column < kFieldCount) {
        stableOrder(order, ascending, [&](int a, int b) { return compare(a, b, column); });
    }
    std::stable_partition(order.begin(), order.end(), [&](int r) { return rows_[r].first; });

    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<Row> sorted;
    sorted.reserve(rows_.size());
    std::vector<int> newPosition(order.size());
    for (int i = 0; i < n; ++i) {
        sorted.push_back(std::move(rows_[order[i]]));
        newPosition[order[i]] = i;
    }
    rows_ = std::move(sorted);
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& index : from)
        to.append(index.row() < n ? this->index(newPosition[index.row()], index.column())
                                  : QModelIndex());
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

} // namespace quendra

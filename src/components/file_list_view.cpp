#include "components/file_list_view.h"

#include <QAbstractTableModel>
#include <QDateTime>
#include <QFileInfo>
#include <QHeaderView>
#include <QMouseEvent>
#include <algorithm>
#include <array>
#include <numeric>
#include <vector>

namespace quendra {

namespace {

struct FileRow {
    std::array<QString, FileListView::FieldCount> texts;
    QString fileName; // as given, before lower-casing
    bool first = false; // stays first whatever the sort (the ".." row)
};

struct Column {
    QString caption;
    int width = 50;
    Qt::Alignment alignment = Qt::AlignLeft;
};

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

// The rows and columns behind the view.
class FileListModel : public QAbstractTableModel {
  public:
    using QAbstractTableModel::QAbstractTableModel;

    std::vector<FileRow> rows;
    QList<Column> columns;
    bool editable = false;

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : std::max<int>(FileListView::FieldCount, int(columns.size()));
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= rowCount())
            return {};
        const int column = index.column();
        if (role == Qt::DisplayRole || role == Qt::EditRole) {
            if (column < FileListView::FieldCount)
                return rows[index.row()].texts[column];
        } else if (role == Qt::ToolTipRole && column < FileListView::FieldCount) {
            // The whole text where a narrow column cuts it.
            return rows[index.row()].texts[column];
        } else if (role == Qt::TextAlignmentRole && column < columns.size()) {
            return QVariant::fromValue(columns[column].alignment | Qt::AlignVCenter);
        }
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || section < 0 || section >= columns.size())
            return {};
        if (role == Qt::DisplayRole)
            return columns[section].caption;
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(columns[section].alignment | Qt::AlignVCenter);
        return {};
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
        if (editable && index.column() == FileListView::Caption)
            f |= Qt::ItemIsEditable;
        return f;
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        if (!editable || role != Qt::EditRole || !index.isValid() ||
            index.column() != FileListView::Caption)
            return false;
        rows[index.row()].texts[FileListView::Caption] = value.toString();
        emit dataChanged(index, index);
        return true;
    }

    void append(FileRow&& row) {
        const int at = rowCount();
        beginInsertRows({}, at, at);
        rows.push_back(std::move(row));
        endInsertRows();
    }

    void clearRows() {
        beginResetModel();
        rows.clear();
        endResetModel();
    }

    void setColumns(QList<Column> newColumns) {
        beginResetModel();
        columns = std::move(newColumns);
        endResetModel();
    }

    const QString& text(int row, int field) const { return rows[row].texts[field]; }

    long long compare(int a, int b, int column) const {
        switch (column) {
        case FileListView::Size:
            return compareKeys(readSize(text(a, column)), readSize(text(b, column)), compareSizes);
        case FileListView::Modified:
            return compareKeys(readTime(text(a, column)), readTime(text(b, column)),
                               filelist::compareDays);
        default:
            if (column < 0 || column >= FileListView::FieldCount)
                return 0;
            return column == FileListView::Caption
                       ? filelist::compareNames(text(a, column), text(b, column))
                       : filelist::compareText(text(a, column), text(b, column));
        }
    }

    // Sorts once; selection and current row follow their rows.
    void sortRows(int column, bool ascending) {
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
                for (const FileRow& r : rows)
                    sizes.push_back(readSize(r.texts[column]));
            } else {
                times.reserve(order.size());
                for (const FileRow& r : rows)
                    times.push_back(readTime(r.texts[column]));
            }
            stableOrder(order, ascending, [&](int a, int b) {
                return bySize ? compareKeys(sizes[a], sizes[b], compareSizes)
                              : compareKeys(times[a], times[b], filelist::compareDays);
            });
        } else if (column >= 0 && column < FileListView::FieldCount) {
            stableOrder(order, ascending, [&](int a, int b) { return compare(a, b, column); });
        }
        std::stable_partition(order.begin(), order.end(), [&](int r) { return rows[r].first; });

        emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
        std::vector<FileRow> sorted;
        sorted.reserve(rows.size());
        std::vector<int> newPosition(order.size());
        for (int i = 0; i < n; ++i) {
            sorted.push_back(std::move(rows[order[i]]));
            newPosition[order[i]] = i;
        }
        rows = std::move(sorted);
        const QModelIndexList from = persistentIndexList();
        QModelIndexList to;
        to.reserve(from.size());
        for (const QModelIndex& index : from)
            to.append(index.row() < n ? this->index(newPosition[index.row()], index.column())
                                      : QModelIndex());
        changePersistentIndexList(from, to);
        emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    }
};

FileListView::FileListView(QWidget* parent)
    : QTreeView(parent), model_(new FileListModel(this)),
      dateSeparator_(filelist::localeDateSeparator()) {
    setModel(model_);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSortingEnabled(false); // sorting is done here, on a header click
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(false);
    header()->setStretchLastSection(false);
    connect(header(), &QHeaderView::sectionClicked, this, &FileListView::columnClick);
    connect(header(), &QHeaderView::sectionResized, this, [this] {
        if (!fitting_)
            userSized_ = true;
    });

    // The default columns.
    model_->setColumns({{"Name", 240, Qt::AlignLeft},
                         {"Size", 70, Qt::AlignRight},
                         {"Type", 70, Qt::AlignLeft},
                         {"Modified", 110, Qt::AlignLeft},
                         {"Attributes", 50, Qt::AlignRight}});
    definedColumns_ = FieldCount;
    applyColumns();
    setReadOnly(true);
    setMultiSelect(true);
}

FileListView::~FileListView() = default;

bool FileListView::addFile(const QString& fileName, qint64& size) {
    QFileInfo info(fileName); // one lookup; the answers below come from it
    if (fileName.isEmpty() || !info.exists())
        return false;
    FileRow row;
    row.texts[Caption] = info.fileName(); // the real name, case and all
    row.texts[Size] = QString::number(info.size());
    row.texts[Type] = filelist::typeDescription(info, info.fileName());
    row.texts[Modified] = filelist::modifiedText(info.lastModified(), dateSeparator_);
    row.texts[Attributes] = filelist::attributeLetters(info);
    row.fileName = fileName;
    size = info.size();
    model_->append(std::move(row));
    wanted_.clear(); // the columns' text widths are measured again
    return true;
}

void FileListView::addRow(const QString& fileName, const QStringList& texts, bool first) {
    FileRow row;
    row.first = first;
    for (int field = 0; field < FieldCount && field < texts.size(); ++field)
        row.texts[field] = texts[field];
    row.fileName = fileName;
    model_->append(std::move(row));
    wanted_.clear(); // the columns' text widths are measured again
}

void FileListView::clear() {
    model_->clearRows();
    wanted_.clear();
    userSized_ = false;
}

void FileListView::fitColumns() {
    if (viewStyle_ != ViewStyle::Report || userSized_)
        return;
    const int shown = std::min<int>(definedColumns_, FieldCount);
    // The texts' widths, measured once per filling (not at every step of a resize).
    if (wanted_.size() != static_cast<std::size_t>(shown)) {
        wanted_.assign(static_cast<std::size_t>(shown), 0);
        for (int i = 0; i < shown; ++i) {
            if (!isColumnHidden(i))
                wanted_[i] = std::max(sizeHintForColumn(i), header()->sectionSizeHint(i));
        }
    }
    const std::vector<int>& wanted = wanted_;
    int total = 0;
    for (const int w : wanted)
        total += w;
    std::vector<int> widths = wanted;
    const int room = viewport()->width();
    const bool shares = shown > Type && total > room;
    if (shares) {
        // Name and Type give way; the short columns stay whole.
        constexpr int kNarrowest = 30;
        const int fixed = total - wanted[Caption] - wanted[Type];
        const int rest = std::max(2 * kNarrowest, room - fixed);
        // The name first, up to three fifths; the type the rest.
        widths[Caption] = std::max(kNarrowest, std::min(wanted[Caption], rest * 3 / 5));
        widths[Type] = std::max(kNarrowest, rest - widths[Caption]);
        widths[Caption] = std::max(kNarrowest, rest - widths[Type]);
    }
    fitting_ = true;
    for (int i = 0; i < shown; ++i) {
        if (!isColumnHidden(i))
            header()->resizeSection(i, widths[i]);
    }
    fitting_ = false;
}

bool FileListView::viewportEvent(QEvent* event) {
    const bool handled = QTreeView::viewportEvent(event);
    // The list widened, or a scroll bar came or went.
    if (event->type() == QEvent::Resize)
        fitColumns();
    return handled;
}

int FileListView::rowCount() const {
    return model_->rowCount();
}

QString FileListView::text(int row, int field) const {
    if (row < 0 || row >= rowCount() || field < 0 || field >= FieldCount)
        return {};
    return model_->text(row, field);
}

QString FileListView::fileName(int row) const {
    if (row < 0 || row >= rowCount())
        return {};
    return model_->rows[static_cast<std::size_t>(row)].fileName;
}

namespace {
int firstSelectedRow(const QItemSelectionModel* selection) {
    int first = -1;
    if (!selection)
        return first;
    for (const QItemSelectionRange& range : selection->selection()) {
        if (range.isValid() && (first < 0 || range.top() < first))
            first = range.top();
    }
    return first;
}
} // namespace

QString FileListView::selectedCaption() const {
    return text(firstSelectedRow(selectionModel()), Caption);
}

QString FileListView::selectedFileName() const {
    return fileName(firstSelectedRow(selectionModel()));
}

void FileListView::setColumns(const QList<std::pair<QString, int>>& nameAndWidth) {
    QList<Column> columns;
    for (const auto& [name, width] : nameAndWidth)
        columns.append({name, width, Qt::AlignLeft});
    model_->setColumns(std::move(columns));
    wanted_.clear();
    definedColumns_ = static_cast<int>(nameAndWidth.size());
    applyColumns();
}

void FileListView::applyColumns() {
    const bool list = viewStyle_ == ViewStyle::List;
    fitting_ = true; // the program sizes the columns, not the user
    for (int i = 0; i < model_->columnCount(); ++i) {
        setColumnHidden(i, i >= definedColumns_ || (list && i > 0));
        if (i < model_->columns.size() && !(list && i == 0)) {
            header()->setSectionResizeMode(i, QHeaderView::Interactive);
            header()->resizeSection(i, model_->columns[i].width);
        }
    }
    // The plain list shows the names only, across the whole width.
    if (list)
        header()->setSectionResizeMode(0, QHeaderView::Stretch);
    fitting_ = false;
    applyHeaderVisibility();
}

void FileListView::applyHeaderVisibility() {
    setHeaderHidden(viewStyle_ == ViewStyle::List || !showColumnHeaders_);
}

void FileListView::setViewStyle(ViewStyle style) {
    if (style == viewStyle_)
        return;
    viewStyle_ = style;
    applyColumns();
}

void FileListView::setReadOnly(bool on) {
    readOnly_ = on;
    model_->editable = !on;
    setEditTriggers(on ? QAbstractItemView::NoEditTriggers
                       : QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
}

void FileListView::setMultiSelect(bool on) {
    multiSelect_ = on;
    setSelectionMode(on ? QAbstractItemView::ExtendedSelection
                        : QAbstractItemView::SingleSelection);
}

void FileListView::setHideSelection(bool on) {
    if (on == hideSelection_)
        return;
    hideSelection_ = on;
    if (on) {
        // Without the focus the selection is painted like the background.
        paletteBeforeHide_ = palette();
        QPalette p = palette();
        p.setColor(QPalette::Inactive, QPalette::Highlight,
                   p.color(QPalette::Inactive, QPalette::Base));
        p.setColor(QPalette::Inactive, QPalette::HighlightedText,
                   p.color(QPalette::Inactive, QPalette::Text));
        setPalette(p);
    } else {
        setPalette(paletteBeforeHide_);
    }
}

void FileListView::setShowColumnHeaders(bool on) {
    showColumnHeaders_ = on;
    applyHeaderVisibility();
}

void FileListView::columnClick(int column) {
    if (column < 0)
        return;
    if (column == sortColumn_) {
        sortAscending_ = !sortAscending_;
    } else {
        sortColumn_ = column;
        sortAscending_ = true;
    }
    model_->sortRows(sortColumn_, sortAscending_);
}

int FileListView::compareRows(int a, int b, int column) const {
    if (a < 0 || b < 0 || a >= rowCount() || b >= rowCount())
        return 0;
    const long long c = model_->compare(a, b, column);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

void FileListView::mousePressEvent(QMouseEvent* event) {
    const bool onRow = indexAt(event->position().toPoint()).isValid();
    QTreeView::mousePressEvent(event);
    if (!onRow)
        selectionModel()->clearSelection();
    leftPressed_ = event->button() == Qt::LeftButton;
}

void FileListView::mouseReleaseEvent(QMouseEvent* event) {
    QTreeView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && leftPressed_) {
        leftPressed_ = false;
        emit fileClicked();
    }
}

} // namespace quendra

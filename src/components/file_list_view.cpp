#include "components/file_list_view.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <algorithm>
#include <vector>

#include "components/file_list_model.h"

namespace quendra {

FileListView::FileListView(QWidget* parent)
    : QTreeView(parent), model_(new FileListModel(this)) {
    static_assert(FieldCount == FileListModel::kFieldCount);
    setModel(model_);
    // New rows: the columns' text widths are measured again; a new filling is fitted
    // again, whatever the user dragged before.
    connect(model_, &QAbstractItemModel::rowsInserted, this, [this] { wanted_.clear(); });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        wanted_.clear();
        userSized_ = false;
    });
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
    return model_->addFile(fileName, size);
}

void FileListView::addRow(const QString& fileName, const QStringList& texts, bool first) {
    model_->addRow(fileName, texts, first);
}

void FileListView::clear() {
    model_->clear();
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
    return model_->fileName(row);
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
    QList<FileListColumn> columns;
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
        if (i < model_->columns().size() && !(list && i == 0)) {
            header()->setSectionResizeMode(i, QHeaderView::Interactive);
            header()->resizeSection(i, model_->columns()[i].width);
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
    model_->setEditable(!on);
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

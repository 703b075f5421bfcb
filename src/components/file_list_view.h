// FileListView: a list of files, one row each, with the size, type, modification time and
// attribute letters of the file, sorted by a clicked column header.
//
// The rows are its FileListModel's (listModel()): a folder's matching files, or rows its
// caller gives. A row holds a caption (the file's real name) and four sub-items: Size,
// Type, Modified and Attributes. Columns only decide what is shown; a row always holds
// all five texts, and the comparisons used for sorting work on those texts.
#pragma once

#include <QList>
#include <QPalette>
#include <QString>
#include <QTreeView>
#include <utility>
#include <vector>

#include "components/file_list_model.h"

class QDateTime;
class QFileInfo;

namespace quendra {

class FileListView : public QTreeView {
    Q_OBJECT
  public:
    enum class ViewStyle { Report, List };

    // Positions of the texts of a row (the model's columns).
    enum Field { Caption = 0, Size = 1, Type = 2, Modified = 3, Attributes = 4, FieldCount = 5 };

    explicit FileListView(QWidget* parent = nullptr);
    ~FileListView() override;

    // The rows: the folder the list shows, its name filters, its listing again.
    FileListModel* listModel() const { return model_; }

    // Appends a row for the file and gives its length (the model's addFile). False, with
    // nothing appended, when the file cannot be examined.
    bool addFile(const QString& fileName, qint64& size);

    // Appends a row that is no file of the folder (an entry of a disk image): its texts in
    // field order, and `fileName` as what fileName() and selectedFileName() give for it. A
    // `first` row stays first whatever the sort (the ".." row).
    void addRow(const QString& fileName, const QStringList& texts, bool first = false);

    // Removes all rows (the model then holds the rows its caller gives, until it lists
    // its folder again).
    void clear();

    int rowCount() const;
    // Text of a row: field 0 is the caption, 1 to 4 the sub-items. Empty when out of range.
    QString text(int row, int field) const;
    // The name the row stands for: as given to addFile or addRow, or the folder's file's
    // whole path.
    QString fileName(int row) const;

    // Caption of the selected row (the first one in row order when several are selected);
    // empty when none is selected.
    QString selectedCaption() const;
    // The name as given to addFile of that same row; empty when none is selected.
    QString selectedFileName() const;

    // Replaces the columns: caption and width in pixels, all left-aligned. Fields without
    // a column are kept in the rows but not shown.
    void setColumns(const QList<std::pair<QString, int>>& nameAndWidth);
    int columnCountShown() const { return definedColumns_; }

    // Fits the shown columns into the list's width: each as wide as its texts where all
    // fit; else Size and Modified keep their widths and Name and Type share the rest (the
    // name up to three fifths), their texts cut with "…" (whole in the tooltip). Runs again on
    // every resize until the user drags a column's edge (until the rows are cleared).
    void fitColumns();

    ViewStyle viewStyle() const { return viewStyle_; }
    void setViewStyle(ViewStyle style);

    bool readOnly() const { return readOnly_; }
    void setReadOnly(bool on);
    bool multiSelect() const { return multiSelect_; }
    void setMultiSelect(bool on);
    bool hideSelection() const { return hideSelection_; }
    void setHideSelection(bool on);
    bool showColumnHeaders() const { return showColumnHeaders_; }
    void setShowColumnHeaders(bool on);
    // Growth step for the row storage. Kept as a setting; Qt's containers size themselves.
    int allocBy() const { return allocBy_; }
    void setAllocBy(int rows) { allocBy_ = rows; }

    // The sort state: the column last sorted by and its direction.
    int sortedColumn() const { return sortColumn_; }
    bool sortedAscending() const { return sortAscending_; }

    // What a click on a column header does: the same column reverses the direction,
    // another column becomes the sort column, ascending. Then the rows are sorted once.
    void columnClick(int column);

    // The comparison used for sorting, for row `a` against row `b` by `column`:
    // negative when `a` comes first in ascending order.
    int compareRows(int a, int b, int column) const;

  signals:
    // A left click on a row or on an empty part of the list (which clears the selection).
    void fileClicked();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;

  private:
    void applyColumns();
    void applyHeaderVisibility();

    FileListModel* model_;
    ViewStyle viewStyle_ = ViewStyle::Report;
    bool readOnly_ = true;
    bool multiSelect_ = true;
    bool hideSelection_ = false;
    bool showColumnHeaders_ = true;
    int allocBy_ = 32;
    int definedColumns_ = 0;
    int sortColumn_ = Size;
    bool sortAscending_ = true;
    bool leftPressed_ = false;
    bool fitting_ = false;    // fitColumns is sizing the columns
    bool userSized_ = false;  // the user dragged a column's edge
    std::vector<int> wanted_; // the shown columns' text widths; empty: to be measured
    QPalette paletteBeforeHide_;
};

// The helpers behind the rows' texts and the comparisons, usable on their own.
namespace filelist {

// "R" read-only, "H" hidden, "S" not a regular file; Linux has no archive flag.
QString attributeLetters(const QFileInfo& info);
// The type description: the disk or tape image's kind ("D64 disk image"), the C64 format's
// name, else the MIME type's comment.
QString typeDescription(const QFileInfo& info, const QString& fileName);
// yyyy<sep>MM<sep>dd hh:mm, or only the date at exactly 00:00:00.
QString modifiedText(const QDateTime& time, QChar dateSeparator);
// The date separator of the default locale's short date format; "/" when it has none.
QChar localeDateSeparator();

// Captions compared code by code with a-z taken as A-Z.
int compareText(const QString& a, const QString& b);
// File names as the desktop orders them: as compareText, but runs of digits by their value
// (pic2 before pic10); names equal that way by their real characters (A.koa before a.koa).
int compareNames(const QString& a, const QString& b);
// A Modified text read back as days since 30 Dec 1899 with the time as the fraction;
// false when the text is no date.
bool readModified(const QString& text, double& days);
// (a - b) * 100000 rounded to the nearest integer, ties to even.
long long compareDays(double a, double b);

} // namespace filelist

} // namespace quendra

// FileListModel: the rows of the file list, one model for the view (FileListView). It lists
// a folder's files that match its name filters, in the desktop's name order, and lists them
// again when the folder changes on disk; or it holds rows its caller gives (a disk image's
// entries). Each row keeps five texts (Name, Size, Type, Modified, Attributes) and the
// name its caller knows the file by (for a folder's file, its whole path).
#pragma once

#include <QAbstractTableModel>
#include <QFileSystemWatcher>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <array>
#include <vector>

namespace quendra {

// A column of the list: its caption, its width in pixels and how its texts align.
struct FileListColumn {
    QString caption;
    int width = 50;
    Qt::Alignment alignment = Qt::AlignLeft;
};

class FileListModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    static constexpr int kFieldCount = 5; // the texts of a row

    explicit FileListModel(QObject* parent = nullptr);

    // The folder listed: its files that match the name filters (all files without
    // filters), without regard to case, in the desktop's name order (filelist::compareNames).
    QString directory() const { return directory_; }
    // Watches `folder` and lists it.
    void setDirectory(const QString& folder);
    // Wildcard patterns ("*.koa", "*.p[0-9][0-9]"); lists the folder again when it shows it.
    // A pattern "*.pi" of a C64 format also lists the C64-style names of that prefix
    // (pi.worldmap, decode/c64_names.h), but not PC pictures (pi.png).
    QStringList nameFilters() const { return nameFilters_; }
    void setNameFilters(const QStringList& filters);
    // Lists the folder, in place of rows the caller gave.
    void listFolder();
    // Lists the folder again when the rows are the folder's; rows the caller gave stay.
    // Runs by itself shortly after the folder changed on disk (a burst of changes lists
    // once).
    void refresh();
    // Whether the rows are the folder's files (not rows the caller gave).
    bool listsFolder() const { return listsFolder_; }

    // Rows the caller gives (the folder's listing gives way to them until listFolder):
    // a file, which fails (nothing appended) when it cannot be examined, and gives the
    // file's length; or a row that is no file, its texts in field order; a `first` row
    // stays first whatever the sort (the ".." row).
    bool addFile(const QString& fileName, qint64& size);
    void addRow(const QString& fileName, const QStringList& texts, bool first = false);
    void clear();

    const QString& text(int row, int field) const { return rows_[row].texts[field]; }
    const QString& fileName(int row) const { return rows_[row].fileName; }

    const QList<FileListColumn>& columns() const { return columns_; }
    void setColumns(QList<FileListColumn> columns);
    // Whether the Name texts can be edited in the view.
    void setEditable(bool on) { editable_ = on; }

    // Row `a` against row `b` by `column`: negative when `a` comes first in ascending order.
    long long compare(int a, int b, int column) const;
    // Sorts once (rows added later go to the end); selection and current row follow.
    void sortRows(int column, bool ascending);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  signals:
    // After setDirectory, setNameFilters, listFolder or refresh, also when the rows the
    // caller gave stayed (the caller may then check what they stand for).
    void refreshed();

  private:
    struct Row {
        std::array<QString, kFieldCount> texts;
        QString fileName;   // as given, or the folder's file's whole path
        bool first = false; // stays first whatever the sort
    };
    // The row of a file; false when it cannot be examined.
    bool fileRow(const QString& fileName, Row& row) const;
    void append(Row&& row);
    void holdCallersRows();

    std::vector<Row> rows_;
    QList<FileListColumn> columns_;
    bool editable_ = false;
    QChar dateSeparator_;
    QString directory_;
    QStringList nameFilters_;
    QStringList prefixFilters_; // "pi.*" for "*.pi"
    bool listsFolder_ = false;
    QFileSystemWatcher watcher_;
    QTimer changed_;
};

} // namespace quendra

// Help ▸ "Formats": a scrolling list of the formats the viewer reads, each with its
// extensions, made from the registry (and the disk and tape images opened like folders).
#pragma once

#include <QDialog>

class QTreeWidget;

namespace quendra {

class FormatsWindow : public QDialog {
    Q_OBJECT
  public:
    explicit FormatsWindow(QWidget* parent = nullptr);
    // The list: column 0 the format, column 1 its extensions.
    QTreeWidget* list() const { return list_; }

  private:
    QTreeWidget* list_ = nullptr;
};

} // namespace quendra

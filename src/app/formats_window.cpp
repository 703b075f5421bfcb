#include "app/formats_window.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/view_logic.h"

namespace quendra {

FormatsWindow::FormatsWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Formats"));
    setWindowTitle(QStringLiteral("Formats"));
    setModal(false);
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("FormatList"));
    list_->setColumnCount(2);
    list_->setHeaderLabels({QStringLiteral("Format"), QStringLiteral("Extensions")});
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::NoSelection);
    for (const FormatListing& row : formatListing())
        list_->addTopLevelItem(new QTreeWidgetItem({row.name, row.extensions}));
    list_->resizeColumnToContents(0);
    list_->header()->setStretchLastSection(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QWidget::hide);
    auto* box = new QVBoxLayout(this);
    box->addWidget(list_);
    box->addWidget(buttons);
    resize(460, 480);
}

} // namespace quendra

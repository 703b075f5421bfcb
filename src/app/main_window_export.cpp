// MainWindow: File ▸ "Export as C64 picture…" opens the export window (export_window.h) on
// the shown picture, proposing the shown file's name in the save folder; what it writes is
// listed when it lands in the shown folder.
#include "app/browse_controls.h"
#include "app/export_window.h"
#include "app/main_window.h"
#include "app/picture_document.h"
#include "components/file_list_view.h"

namespace quendra {

void MainWindow::exportC64() {
    if (!document_->isShown())
        return;
    const QString startFolder =
        QString::fromStdString(saveFolder_.start(ui_.folderList->directory().toStdString()));
    // The shown file's name without its extension; an entry of a disk image by its C64 name.
    QString base = namePart(document_->fileName());
    if (const QString entry = browsing_.entryFileName(document_->fileName()); !entry.isEmpty())
        base = entry;
    else if (const qsizetype dot = base.lastIndexOf(u'.'); dot > 0)
        base.truncate(dot);
    const QString saved = ExportWindow::exportShown(this, *document_, startFolder + u'/' + base);
    if (saved.isEmpty())
        return; // cancelled, or nothing written
    saveFolder_.confirmed(saved.toStdString());
    showWritten(QStringLiteral("Exported"), saved);
    if (!browsing_.insideImage())
        ui_.fileList->listModel()->refresh(); // a file written into the shown folder is listed
}

} // namespace quendra

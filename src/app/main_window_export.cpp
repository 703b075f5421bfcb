// MainWindow: File ▸ "Export as C64 picture…". The shown picture goes to one of the C64
// formats the program writes (export/c64_writers.h), chosen by the name's extension in a
// save dialog that lists them: exactly when the picture keeps the format's rules, else,
// after a question, with its colours reduced (export/colour_reduction.h). The exporter
// reads the file back before it is written; the one atomic write puts it in place, so a
// failed export leaves the file that was there as it was.
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include "app/browse_controls.h"
#include "app/disk_browser.h"
#include "app/main_window.h"
#include "app/picture_document.h"
#include "components/bridge.h"
#include "components/dialogs.h"
#include "components/file_list_view.h"
#include "components/pmultiimage.h"
#include "export/atomic_write.h"
#include "export/c64_export.h"

namespace quendra {

namespace {

const QString kExportTitle = QStringLiteral("Export as C64 Picture");

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// "Koala Painter (*.koa)", the dialog's line for a writer.
QString filterOf(const C64Writer& writer) {
    return fromUtf8(writer.row().name) + QStringLiteral(" (*.") + fromUtf8(writer.key) + u')';
}

} // namespace

void MainWindow::exportC64() {
    if (!document_->isShown())
        return;
    const C64Writer* proposed = findC64Writer(exportKey_.toStdString());
    if (!proposed)
        proposed = &c64Writers().front();
    const QString startFolder =
        QString::fromStdString(saveFolder_.start(ui_.folderList->directory().toStdString()));

    dialogs::SaveRequest request;
    request.title = kExportTitle;
    request.directory = startFolder;
    QStringList filters;
    for (const C64Writer& writer : c64Writers())
        filters << filterOf(writer);
    request.filter = filters.join(QStringLiteral(";;"));
    request.selectedFilter = filterOf(*proposed);
    request.defaultSuffix = fromUtf8(proposed->key);
    // The shown file's name without its extension; an entry of a disk image by its C64 name.
    QString base = namePart(document_->fileName());
    if (const QString entry = browsing_.entryFileName(document_->fileName()); !entry.isEmpty())
        base = entry;
    else if (const qsizetype dot = base.lastIndexOf(u'.'); dot > 0)
        base.truncate(dot);
    request.fileName = base + u'.' + request.defaultSuffix;

    QString chosen = dialogs::saveFileName(this, request);
    if (chosen.isEmpty())
        return; // cancelled
    chosen = QDir::cleanPath(QDir(startFolder).absoluteFilePath(chosen));
    const QString key = QFileInfo(chosen).suffix().toLower();
    const C64Writer* writer = findC64Writer(key.toStdString());
    if (!writer) {
        dialogs::message(this, QMessageBox::Warning, kExportTitle,
                         QStringLiteral("%1: the extension names no C64 format the program "
                                        "writes (%2).")
                             .arg(dialogs::printableFileName(namePart(chosen)),
                                  fromUtf8(c64WriterKeys())));
        return;
    }
    exportKey_ = key;
    saveFolder_.confirmed(chosen.toStdString());

    // The document's picture: its colour numbers as decoded, flipped and turned.
    C64Exporter exporter;
    C64ExportOptions options;
    options.palette = document_->paletteColours();
    std::vector<std::uint8_t> bytes;
    const auto write = [&] {
        return exporter.write(document_->indices(), *writer, options, bytes);
    };
    std::string why = write();
    if (!why.empty()) {
        const QString format = fromUtf8(writer->row().name);
        if (dialogs::message(this, QMessageBox::Question, kExportTitle,
                             QStringLiteral("The picture does not fit %1 exactly (%2). Reduce "
                                            "its colours?")
                                 .arg(format, QString::fromStdString(why)),
                             QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
            return;
        options.reduce = true;
        why = write();
        if (!why.empty()) {
            dialogs::message(this, QMessageBox::Warning, kExportTitle,
                             QStringLiteral("The picture cannot be written as %1: %2.")
                                 .arg(format, QString::fromStdString(why)));
            return;
        }
    }
    const WriteResult written = writeFileAtomically(toPath(chosen), bytes, Flush::WhenReplacing);
    if (!written.written) {
        // The file that was there, if any, is as it was.
        dialogs::message(this, QMessageBox::Warning, kExportTitle,
                         QStringLiteral("%1 cannot be written: %2.")
                             .arg(dialogs::printableFileName(namePart(chosen)),
                                  QString::fromStdString(written.error)));
        return;
    }
    if (!browsing_.insideImage())
        ui_.fileList->listModel()->refresh(); // a file written into the shown folder is listed
}

} // namespace quendra

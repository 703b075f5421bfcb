// MainWindow: the dispatch and the reader frame around the decoders.
//
// Every file goes the same way: the registry row chosen by the file's name, the caption
// naming the file and its format before the file is read, the picture commands (and the
// file list) disabled, the one road of every program (openPictureFile: the name's format,
// else the format the evidence names), the picture handed to pictureView, which keeps its
// own copy; then the commands come back. The format the road chose shows the picture in a
// frame of its own, whose caption names it (a GoDot clip, FLI Graph under .fli). A file no
// format takes leaves the black template on screen, the picture commands off and the
// road's reason on the line under the picture.
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>

#include "app/disk_browser.h"
#include "app/main_window.h"
#include "app/picture_document.h"
#include "app/secondary_windows.h"
#include "components/bridge.h"
#include "components/file_list_view.h"
#include "components/pmultiimage.h"
#include "decode/open_picture.h"
#include "decode/readers.h"

namespace quendra {

namespace {

constexpr QStringView kLoading = u"Loading...";

QString suffixOf(std::string_view suffix) {
    return QString::fromUtf8(suffix.data(), static_cast<qsizetype>(suffix.size()));
}

// How the frame treats the controls around a format's reading.
ReaderFamily familyOf(const C64Format& format) {
    if (format.decode == decodeGodot)
        return ReaderFamily::GodotPath;
    if (!format.fitsGodot)
        return ReaderFamily::FunPainter;
    if (!format.showsInGrey)
        return ReaderFamily::Printfox;
    return ReaderFamily::C64;
}

} // namespace

void MainWindow::showCurrentFile(QObject* sender) {
    if (sender == ui_.fileList)
        document_->setFileName(selectedListFile());
    if (document_->fileName().isEmpty())
        return;
    if (sender != ui_.fileList)
        selectListFile(document_->fileName()); // the row and the picture never disagree
    if (entryOf(document_->fileName()) != -2) {
        showEntry(document_->fileName()); // an entry of the open disk image
        return;
    }
    // Only a plain file is a picture: a folder is none, and reading a named pipe or a
    // terminal would wait for data that may never come.
    const QString name = document_->fileName(); // a reader may not change it, but be sure
    const QFileInfo info(name);
    if (!info.exists()) {
        showNothing(name, QStringLiteral("The file %1 does not exist.").arg(namePart(name)));
        return;
    }
    if (info.isDir()) {
        showNothing(name, QStringLiteral("%1 is a folder, not a picture.").arg(namePart(name)));
        return;
    }
    if (!info.isFile()) {
        showNothing(name, QStringLiteral("%1 is not a plain file.").arg(namePart(name)));
        return;
    }
    if (QFile file(name); !file.open(QIODevice::ReadOnly)) {
        showNothing(
            name, QStringLiteral("%1 cannot be read: %2.").arg(namePart(name), file.errorString()));
        return;
    }
    if (DiskBrowser::isImageFile(name)) {
        showNothing(name, QStringLiteral("%1 is a %2: Enter or a double-click opens it.")
                              .arg(namePart(name), DiskBrowser::typeText(name)));
        return;
    }
    clearForReading();
    showFile(name, formatForFile(toPath(name).string()));
}

void MainWindow::clearForReading() {
    dispatchBegins(states_);
    applyStates();
    if (zoomSteps_ != 0)
        originalSize();
    document_->clear();
}

void MainWindow::showNothing(const QString& fileName, const QString& reason) {
    if (zoomSteps_ != 0)
        originalSize();
    document_->clear();
    readerRejected(states_);
    applyStates();
    applyFit();
    setWindowTitle(captionFor(fileName, {}));
    showStatus(reason);
}

void MainWindow::openFrame(const QString& fileName, QStringView suffix, ReaderFamily family) {
    readerStarts(states_, family);
    applyStates();
    setWindowTitle(frameCaption(fileName, suffix));
}

void MainWindow::closeFrame(ReaderFamily family) {
    readerEnds(states_, family);
    applyStates();
}

void MainWindow::showFile(const QString& fileName, const C64Format& named) {
    // The caption names the file and its name's format before the read; the one road
    // (openPictureFile) then chooses the format, and the frame of the format chosen shows
    // the picture, so the caption names what the converter and the thumbnailer name.
    openFrame(fileName, suffixOf(named.captionSuffix), familyOf(named));
    SavingProgress progress(progressWindow_, kLoading.toString(), !firstPaintPending_);
    DecodeOptions options;
    options.grey = document_->grey();
    options.progress = named.reportsProgress && progressWindow_ ? &progress : nullptr;
    const OpenedPicture opened = openPictureFile(toPath(fileName), options);
    std::string reason;
    if (showInFrame(fileName, opened.format ? *opened.format : named, &opened.decoded, reason)) {
        if (!opened.note.empty())
            showStatus(QString::fromStdString(opened.note));
        return;
    }
    // Nothing takes the file: the black template is no picture of it.
    readerRejected(states_);
    applyStates();
    showStatus(namePart(fileName) + QStringLiteral(" is ") + QString::fromStdString(reason));
    applyFit();
}

bool MainWindow::showAgainWithoutReading() {
    if (!document_->holdsCurrentFile())
        return false;
    // What a new reading would show, frame and all, but from the kept indices; the line
    // under the picture keeps what the reading said.
    const QString fileName = document_->fileName();
    const C64Format& format = *document_->format();
    const Decoded again = document_->decodedAgain();
    const QString status = ui_.statusLine->text();
    clearForReading();
    std::string reason;
    showInFrame(fileName, format, &again, reason);
    showStatus(status);
    return true;
}

bool MainWindow::showInFrame(const QString& fileName, const C64Format& format,
                             const Decoded* decodedAlready, std::string& reason) {
    const ReaderFamily family = familyOf(format);
    openFrame(fileName, suffixOf(format.captionSuffix), family);
    // The progress window stays hidden while the start-up picture is on its way.
    SavingProgress progress(progressWindow_, kLoading.toString(), !firstPaintPending_);
    DecodeOptions options;
    options.grey = document_->grey();
    options.progress = format.reportsProgress && progressWindow_ ? &progress : nullptr;
    const Decoded decoded =
        decodedAlready ? *decodedAlready : readPicture(toPath(fileName), format, options);
    const bool otherKind = decoded.format && shownCaption(*decoded.format) != format.captionSuffix;
    if (otherKind)
        setWindowTitle(frameCaption(fileName, suffixOf(shownCaption(*decoded.format))));
    if (decoded.accepted)
        document_->show(fileName, &format, decoded);
    switch (family) {
    case ReaderFamily::GodotPath:
        if (progressWindow_)
            progressWindow_->hide();
        break;
    case ReaderFamily::Printfox:
    case ReaderFamily::FunPainter:
        // Printfox ends its progress only for a page it decoded; FunPainter 2 always does.
        if (decoded.decodingBegan || family == ReaderFamily::FunPainter) {
            if (firstPaintPending_)
                firstPaintPending_ = false;
            else if (progressWindow_)
                progressWindow_->hide();
        }
        break;
    case ReaderFamily::C64:
        break;
    }
    closeFrame(family);
    if (!decoded.accepted) {
        reason = decoded.reason;
        return false;
    }
    // A remark on how the picture was drawn (a PETSCII screen in the stand-in font).
    showStatus(QString::fromUtf8(decoded.note.data(), static_cast<qsizetype>(decoded.note.size())));
    applyFit();
    return true;
}

} // namespace quendra

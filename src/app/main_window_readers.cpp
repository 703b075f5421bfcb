// MainWindow: the dispatch and the reader frame around the decoders.
//
// Every file goes the same way, in one pass: the one road of every program
// (openPictureFile: the name's format, else the format the evidence names) reads it, the
// document takes the picture (pictureView and the views follow it), and the commands, the
// caption naming the file and the format that read it, and the line under the picture are
// set once from the result. A row that reports progress shows the progress window while it
// reads, with the commands off and the caption naming the name's format meanwhile. A file
// no format takes leaves the black template on screen, the picture commands off and the
// road's reason on the line under the picture.
#include <QFile>
#include <QFileInfo>
#include <QLabel>

#include "app/disk_browser.h"
#include "app/main_window.h"
#include "app/picture_document.h"
#include "app/secondary_windows.h"
#include "components/bridge.h"
#include "components/file_list_view.h"
#include "components/pc_picture_file.h"
#include "components/pmultiimage.h"
#include "decode/open_picture.h"

namespace quendra {

namespace {

QString suffixOf(std::string_view suffix) {
    return QString::fromUtf8(suffix.data(), static_cast<qsizetype>(suffix.size()));
}

// The caption's suffix of a picture `format` read: the kind the reader found where it has a
// row of its own (a GoDot clip, FLI Graph under .fli).
QString shownSuffix(const C64Format& format, const Decoded& decoded) {
    return suffixOf(decoded.format ? shownCaption(*decoded.format) : format.captionSuffix);
}

} // namespace

void MainWindow::showCurrentFile(QObject* sender) {
    if (sender == ui_.fileList)
        document_->setFileName(ui_.fileList->selectedFileName());
    if (document_->fileName().isEmpty())
        return;
    if (sender != ui_.fileList)
        selectListFile(document_->fileName()); // the row and the picture never disagree
    if (browsing_.entryOf(document_->fileName()) != BrowsingState::kNoEntry) {
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
    if (pcPictureKindOfName(name) != PcPictureKind::none) {
        showPcPicture(name);
        return;
    }
    showFile(name);
}

void MainWindow::showNothing(const QString& fileName, const QString& reason) {
    if (view_.zoomSteps() != 0)
        originalSize();
    document_->clear();
    readerRejected(states_);
    applyFit();
    setWindowTitle(browsing_.caption(fileName, {}));
    showStatus(reason);
}

void MainWindow::beginReading(const QString& fileName, const C64Format& format) {
    dispatchBegins(states_);
    if (view_.zoomSteps() != 0)
        originalSize(); // the next picture opens unzoomed
    if (!format.reportsProgress)
        return; // nothing else runs while it is read
    // The progress window shows: the commands off and the caption naming the file meanwhile.
    readingStarts(states_, format);
    applyStates();
    setWindowTitle(browsing_.caption(fileName, suffixOf(format.captionSuffix)));
}

bool MainWindow::endReading(const QString& fileName, const C64Format& format,
                            const Decoded& decoded) {
    if (decoded.accepted)
        document_->show(fileName, &format, decoded);
    else
        document_->clear(); // the black template is no picture of it
    if (format.reportsProgress) {
        // The start-up picture's reading showed no progress window: it ends the start-up.
        if (firstPaintPending_ && readingEndsStartUp(format, decoded.decodingBegan))
            firstPaintPending_ = false;
        else if (progressWindow_)
            progressWindow_->hide();
    }
    readingEnds(states_, format);
    if (!decoded.accepted)
        readerRejected(states_);
    // The caption names a format only for a picture shown: a refused file is no picture
    // of the format that refused it.
    setWindowTitle(
        browsing_.caption(fileName, decoded.accepted ? shownSuffix(format, decoded) : QString()));
    applyFit();
    return decoded.accepted;
}

void MainWindow::showFile(const QString& fileName) {
    const C64Format& named = formatForFile(toPath(fileName).string());
    beginReading(fileName, named);
    // The progress window stays hidden while the start-up picture is on its way.
    SavingProgress progress(progressWindow_, QStringLiteral("Loading..."), !firstPaintPending_);
    DecodeOptions options;
    options.grey = document_->grey();
    options.progress = named.reportsProgress && progressWindow_ ? &progress : nullptr;
    const OpenedPicture opened = openPictureFile(toPath(fileName), options);
    const Decoded& decoded = opened.decoded;
    if (!endReading(fileName, opened.format ? *opened.format : named, decoded)) {
        showStatus(namePart(fileName) + QStringLiteral(" is ") +
                   QString::fromStdString(decoded.reason));
        return;
    }
    // What the road noticed, else how the picture was drawn (a PETSCII screen in the
    // stand-in font).
    showStatus(suffixOf(opened.note.empty() ? decoded.note : std::string_view(opened.note)));
}

bool MainWindow::showAgainWithoutReading() {
    if (!document_->holdsCurrentFile())
        return false;
    // What a new reading would show, but from the kept indices; the line under the picture
    // keeps what the reading said.
    const C64Format& format = *document_->format();
    const Decoded again = document_->decodedAgain();
    const QString fileName = document_->fileName();
    beginReading(fileName, format);
    endReading(fileName, format, again);
    return true;
}

} // namespace quendra

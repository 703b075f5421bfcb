// MainWindow: the dispatch and the reader frame around the decoders.
//
// Every file goes the same way: the registry row chosen by the file's name, the caption
// naming the file and its format before the file is read, the picture commands (and the
// list box) disabled, one bounded read and the row's decoder (readPicture), the picture
// handed to pictureView, which keeps its own copy; then the commands come back. A reader that
// tells kinds apart (Art Studio hires, a GoDot clip) names the kind in the caption after
// the read. A rejected file leaves the black template on screen, silently.
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>

#include "app/main_window.h"
#include "app/secondary_windows.h"
#include "components/bridge.h"
#include "components/file_list_view.h"
#include "components/pmultiimage.h"
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
    if (sender == ui_.FileList)
        ui_.currentFileName = selectedListFile();
    // Only a plain file is a picture: a folder is none, and reading a named pipe or a
    // terminal would wait for data that may never come.
    if (ui_.currentFileName.isEmpty() || !QFileInfo(ui_.currentFileName).isFile())
        return;
    dispatchBegins(states_);
    applyStates();
    if (ui_.zoomSteps != 0)
        OrigSizeClick();
    ui_.pictureView->setPicture(templatePicture);
    keepIndices(IndexedImage());
    const QString name = ui_.currentFileName; // a reader may not change it, but be sure
    showFile(name, formatForFile(toPath(name).string()));
}

void MainWindow::openFrame(const QString& fileName, QStringView suffix, ReaderFamily family) {
    readerStarts(states_, family);
    applyStates();
    setWindowTitle(captionFor(fileName, suffix));
    if (family != ReaderFamily::GodotPath)
        ui_.pictureShown = false;
}

void MainWindow::closeFrame(ReaderFamily family) {
    readerEnds(states_, family);
    applyStates();
    if (family != ReaderFamily::GodotPath)
        ui_.pictureShown = true;
}

void MainWindow::showFile(const QString& fileName, const C64Format& format) {
    const ReaderFamily family = familyOf(format);
    openFrame(fileName, suffixOf(format.captionSuffix), family);
    // The progress window stays hidden while the start-up picture is on its way.
    SavingProgress progress(progressWindow_, kLoading.toString(), !ui_.firstPaintPending);
    DecodeOptions options;
    options.grey = ui_.grey->isChecked();
    options.progress = format.reportsProgress && progressWindow_ ? &progress : nullptr;
    const Decoded decoded = readPicture(toPath(fileName), format, options);
    const bool otherKind =
        !decoded.captionSuffix.empty() && decoded.captionSuffix != format.captionSuffix;
    if (otherKind)
        setWindowTitle(captionFor(fileName, suffixOf(decoded.captionSuffix)));
    if (decoded.accepted)
        showIndices(decoded.picture);
    switch (family) {
    case ReaderFamily::GodotPath:
        // A file with GoDot's magic counts as shown; anything else leaves the flag alone.
        if (decoded.accepted || otherKind)
            ui_.pictureShown = true;
        if (progressWindow_)
            progressWindow_->hide();
        break;
    case ReaderFamily::Printfox:
    case ReaderFamily::FunPainter:
        // Printfox ends its progress only for a page it decoded; FunPainter 2 always does.
        if (decoded.decodingBegan || family == ReaderFamily::FunPainter) {
            if (ui_.firstPaintPending)
                ui_.firstPaintPending = false;
            else if (progressWindow_)
                progressWindow_->hide();
        }
        break;
    case ReaderFamily::C64:
        break;
    }
    closeFrame(family);
}

} // namespace quendra

// MainWindow: "Save as...". The dialog proposes the shown file's name with the extension of the
// checked format and starts in the save folder; the six common formats are written by pictureView,
// GoDot 4Bit by the program's own writer with the progress window.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>
#include <optional>

#include "app/browse_controls.h"
#include "app/disk_browser.h"
#include "app/main_window.h"
#include "app/picture_document.h"
#include "app/secondary_windows.h"
#include "components/bridge.h"
#include "components/dialogs.h"
#include "components/file_list_view.h"
#include "components/pmultiimage.h"
#include "export/godot_writer.h"

namespace quendra {

namespace {

const QString kSaveTitle = QStringLiteral("Save File As...");

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

QRadioButton* MainWindow::saveFormatButton(PictureFormat format) const {
    switch (format) {
    case PictureFormat::TIFF:
        return ui_.tifButton;
    case PictureFormat::GIF:
        return ui_.gifButton;
    case PictureFormat::BMP:
        return ui_.bmpButton;
    case PictureFormat::PCX:
        return ui_.pcxButton;
    case PictureFormat::PNG:
        return ui_.pngButton;
    case PictureFormat::JPEG:
        return ui_.jpgButton;
    case PictureFormat::Godot4Bit:
        return ui_.godotButton;
    }
    return nullptr;
}

const SaveFormatRow* MainWindow::checkedSaveFormat() const {
    for (const SaveFormatRow& row : saveFormatRows()) {
        const QRadioButton* button = saveFormatButton(row.format);
        if (button && button->isChecked())
            return &row;
    }
    return nullptr;
}

void MainWindow::saveAs() {
    const QString startFolder =
        QString::fromStdString(saveFolder_.start(ui_.folderList->directory().toStdString()));
    const SaveFormatRow* row = checkedSaveFormat();

    dialogs::SaveRequest request;
    request.title = kSaveTitle;
    request.directory = startFolder;
    request.fileName = namePart(document_->fileName());
    if (row) {
        request.fileName =
            fromUtf8(proposedFileName(document_->fileName().toStdString(), row->format));
        // An entry of a disk image: its C64 name made a file name.
        if (const QString entry = browsing_.entryFileName(document_->fileName()); !entry.isEmpty())
            request.fileName = entry + u'.' + fromUtf8(row->extension);
        request.filter = fromUtf8(filterDescription(*row));
        request.defaultSuffix = fromUtf8(row->extension);
    }
    QString chosen = dialogs::saveFileName(this, request);
    if (chosen.isEmpty())
        return; // cancelled: nothing changes
    // A bare name means the folder the dialog showed.
    chosen = QDir::cleanPath(QDir(startFolder).absoluteFilePath(chosen));

    ui_.pictureView->setDefSaveFilename(chosen);
    saveFolder_.confirmed(chosen.toStdString());
    if (!row)
        return;
    bool written = false;
    switch (row->format) {
    case PictureFormat::TIFF:
        written = ui_.pictureView->saveAsTiff(chosen);
        break;
    case PictureFormat::GIF:
        written = ui_.pictureView->saveAsGif(chosen);
        break;
    case PictureFormat::BMP:
        written = ui_.pictureView->saveAsBmp(chosen);
        break;
    case PictureFormat::PCX:
        written = ui_.pictureView->saveAsPcx(chosen);
        break;
    case PictureFormat::PNG:
        written = ui_.pictureView->saveAsPng(chosen);
        break;
    case PictureFormat::JPEG:
        written = ui_.pictureView->saveAsJpeg(chosen);
        break;
    case PictureFormat::Godot4Bit:
        saveGodot(chosen); // says itself what it wrote
        break;
    }
    if (written)
        showWritten(QStringLiteral("Saved"), chosen);
}

void MainWindow::saveGodot(const QString& fileName) {
    // The table follows "Show gray" as it is now: a grey picture is matched against grey.
    const bool greyTable = document_->grey();
    const CommandStates before = states_;
    saveStarts(states_);
    applyStates();

    // The window shows once the picture is known to fit: bar 0 to the last cell row.
    SavingProgress progress(progressWindow_, QStringLiteral("Saving..."), true);
    WriteResult result;
    try {
        // The decoded picture in the program's own colours: the file does not depend on
        // the palette shown. (A black and white page, or the template, is matched as the
        // view shows it.)
        const IndexedImage& shown = document_->indices();
        const std::optional<Image> picture =
            document_->isShown() && shown.meaning() != IndexMeaning::fixed
                ? std::optional<Image>(inOwnColours(shown))
                : toRgbImage(ui_.pictureView->picture());
        result = picture ? writeGodotFile(toPath(fileName), *picture, greyTable, &progress)
                         : WriteResult{false, "no memory for a copy of the picture"};
    } catch (const std::exception& e) {
        result = {false, e.what()};
    }

    if (progressWindow_)
        progressWindow_->hide();
    // The commands come back as they were: a save changes nothing they depend on.
    states_ = before;
    applyStates();
    ui_.fileList->listModel()->refresh(); // a file written into the shown folder is listed
    if (result.written)
        showWritten(QStringLiteral("Saved"), fileName);
    if (!result.written) {
        // The file that was there, if any, is untouched (the write is atomic).
        dialogs::message(this, QMessageBox::Information, QStringLiteral("Information"),
                         QStringLiteral("Writing 4bt file failed"), QMessageBox::Ok);
    }
}

} // namespace quendra

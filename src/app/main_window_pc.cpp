// MainWindow: a PC picture (PNG, GIF, BMP, JPEG, TIFF, PCX) shown in true colour, read by
// components/pc_picture_file.h (the converter's reader where it reads the kind). The
// caption names its kind ("Quendra: shot.png (PNG picture)"); a file that is none, or a
// picture over the converter's bound of pixels, leaves the black template and the reason on
// the line under the picture. Palettes and "Show gray" do not apply to it; flips, turns,
// Save as and Export as C64 picture do.
#include "app/main_window.h"
#include "app/picture_document.h"
#include "components/pc_picture_file.h"

namespace quendra {

void MainWindow::showPcPicture(const QString& fileName) {
    dispatchBegins(states_);
    if (view_.zoomSteps() != 0)
        originalSize(); // the next picture opens unzoomed
    const PcPicture read = readPcPictureFile(fileName);
    if (read.picture.isNull()) {
        showNothing(fileName,
                    QStringLiteral("%1 cannot be shown: %2.").arg(namePart(fileName), read.reason));
        return;
    }
    const QString kind = pcPictureTypeText(read.kind);
    document_->showTrueColour(fileName, read.picture, kind);
    trueColourShown(states_);
    setWindowTitle(browsing_.caption(fileName, QStringLiteral(" (%1)").arg(kind)));
    applyFit();
    showStatus({});
}

} // namespace quendra

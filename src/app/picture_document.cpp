#include "app/picture_document.h"

#include "components/bridge.h"
#include "decode/palette.h"

namespace quendra {

PictureDocument::PictureDocument(QObject* parent)
    : QObject(parent), decoded_(Decoded::reject({})), indices_(0, 0) {
    decoded_.picture = IndexedImage(0, 0);
}

QImage PictureDocument::picture() const {
    return shown_ ? toQImage(indices_) : QImage();
}

bool PictureDocument::holdsCurrentFile() const {
    return shown_ && format_ && !fileName_.isEmpty() && fileName_ == pictureFile_;
}

Decoded PictureDocument::decodedAgain() const {
    Decoded again = decoded_;
    // The readers draw the same indices either way: grey is only the table they stand for,
    // for the pictures of C64 colour numbers and GoDot indices (the others have no grey).
    const IndexMeaning meaning = again.picture.meaning();
    if (meaning == IndexMeaning::c64Numbers || meaning == IndexMeaning::godotIndices) {
        again.picture.setMeaning(meaning, grey_);
        applyPalette(again.picture, kC64Palette); // the readers' own tables
    }
    return again;
}

void PictureDocument::show(const QString& fileName, const C64Format* format,
                           const Decoded& decoded) {
    fileName_ = fileName;
    pictureFile_ = fileName;
    format_ = format;
    decoded_ = decoded;
    indices_ = decoded.picture;
    applyPalette(indices_, paletteColours_);
    flipped_ = false;
    quarterTurns_ = 0;
    shown_ = true;
    emit pictureChanged();
}

void PictureDocument::clear() {
    const bool wasShown = shown_;
    shown_ = false;
    format_ = nullptr;
    pictureFile_.clear();
    decoded_.picture = IndexedImage(0, 0);
    indices_ = IndexedImage(0, 0);
    flipped_ = false;
    quarterTurns_ = 0;
    if (wasShown)
        emit cleared();
}

void PictureDocument::setPalette(const PaletteChoice& choice, const C64Colours& colours) {
    paletteChoice_ = choice;
    paletteColours_ = colours;
    // Black and white pages keep their own colours.
    if (!shown_ || indices_.meaning() == IndexMeaning::fixed)
        return;
    applyPalette(indices_, paletteColours_);
    emit pictureChanged();
    emit coloursChanged();
}

void PictureDocument::transform(IndexedImage (*how)(const IndexedImage&)) {
    indices_ = how(indices_);
    emit pictureChanged();
}

void PictureDocument::flip() {
    if (!shown_)
        return;
    flipped_ = !flipped_;
    transform(flippedTopToBottom);
}

void PictureDocument::turnClockwise() {
    if (!shown_)
        return;
    quarterTurns_ = (quarterTurns_ + 1) % 4;
    transform(turnedClockwise);
}

void PictureDocument::turnAnticlockwise() {
    if (!shown_)
        return;
    quarterTurns_ = (quarterTurns_ + 3) % 4;
    transform(turnedAnticlockwise);
}

} // namespace quendra

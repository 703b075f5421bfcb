#include "app/picture_document.h"

#include "components/bridge.h"
#include "decode/palette.h"

namespace quendra {

PictureDocument::PictureDocument(QObject* parent)
    : QObject(parent), decoded_{.accepted = false,
                                .reason = {},
                                .picture = IndexedImage(0, 0),
                                .format = nullptr,
                                .decodingBegan = false,
                                .note = {}},
      indices_(0, 0) {}

QSize PictureDocument::size() const {
    if (!shown_)
        return {0, 0};
    return isTrueColour() ? rendered_.size() : QSize(indices_.width(), indices_.height());
}

QImage PictureDocument::picture() const {
    if (!shown_)
        return {};
    // Drawn once for both views, and only when one asks.
    if (rendered_.isNull())
        rendered_ = toQImage(indices_);
    return rendered_;
}

void PictureDocument::shareDrawing(const QImage& drawing) {
    if (shown_ && trueColourKind_.isEmpty() && drawing.width() == indices_.width() &&
        drawing.height() == indices_.height())
        rendered_ = drawing;
}

bool PictureDocument::holdsCurrentFile() const {
    return shown_ && format_ && !fileName_.isEmpty() && fileName_ == pictureFile_;
}

Decoded PictureDocument::decodedAgain() const {
    // The shown picture is the read one flipped (when flipped_), then turned clockwise
    // quarterTurns_ times: undone in the opposite order.
    Decoded again = decoded_;
    again.picture = indices_;
    if (quarterTurns_ == 3) {
        again.picture = turnedClockwise(again.picture); // one turn instead of three
    } else {
        for (int i = 0; i < quarterTurns_; ++i)
            again.picture = turnedAnticlockwise(again.picture);
    }
    if (flipped_)
        again.picture = flippedTopToBottom(again.picture);
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
    // The picture is kept once, as shown; the rest of the reader's result beside it.
    decoded_ = Decoded{.accepted = decoded.accepted,
                       .reason = decoded.reason,
                       .picture = IndexedImage(0, 0),
                       .format = decoded.format,
                       .decodingBegan = decoded.decodingBegan,
                       .note = decoded.note};
    indices_ = decoded.picture;
    rendered_ = QImage();
    trueColourKind_.clear();
    applyPalette(indices_, paletteColours_);
    flipped_ = false;
    quarterTurns_ = 0;
    shown_ = true;
    emit pictureChanged();
}

void PictureDocument::showTrueColour(const QString& fileName, const QImage& picture,
                                     const QString& kind) {
    fileName_ = fileName;
    pictureFile_ = fileName;
    format_ = nullptr;
    indices_ = IndexedImage(0, 0);
    indices_.setMeaning(IndexMeaning::fixed, false); // no palette stands for it
    rendered_ = picture;
    trueColourKind_ = kind;
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
    indices_ = IndexedImage(0, 0);
    rendered_ = QImage();
    trueColourKind_.clear();
    flipped_ = false;
    quarterTurns_ = 0;
    if (wasShown)
        emit cleared();
}

void PictureDocument::setPalette(const PaletteChoice& choice, const C64Colours& colours) {
    paletteChoice_ = choice;
    paletteColours_ = colours;
    // Black and white pages and PC pictures keep their own colours.
    if (!shown_ || indices_.meaning() == IndexMeaning::fixed)
        return;
    applyPalette(indices_, paletteColours_);
    rendered_ = QImage();
    emit pictureChanged();
    emit coloursChanged();
}

template <typename Picture> Picture PictureDocument::turned(const Picture& picture, Turn turn) {
    switch (turn) {
    case Turn::flip:
        return flippedTopToBottom(picture);
    case Turn::clockwise:
        return turnedClockwise(picture);
    case Turn::anticlockwise:
        break;
    }
    return turnedAnticlockwise(picture);
}

void PictureDocument::transform(Turn turn, bool flipped, int quarterTurns) {
    if (!shown_)
        return;
    if (!trueColourKind_.isEmpty()) {
        // A PC picture turns as a QImage, the same ways (components/bridge.h).
        if (QImage changed = turned(rendered_, turn); !changed.isNull())
            rendered_ = changed;
    } else {
        indices_ = turned(indices_, turn); // a picture without memory for its turn stays
        rendered_ = QImage();
    }
    flipped_ = flipped;
    quarterTurns_ = quarterTurns;
    emit pictureChanged();
}

void PictureDocument::flip() {
    // A flip after k turns is the same as k turns the other way after a flip.
    transform(Turn::flip, !flipped_, (4 - quarterTurns_) % 4);
}

void PictureDocument::turnClockwise() {
    transform(Turn::clockwise, flipped_, (quarterTurns_ + 1) % 4);
}

void PictureDocument::turnAnticlockwise() {
    transform(Turn::anticlockwise, flipped_, (quarterTurns_ + 3) % 4);
}

} // namespace quendra

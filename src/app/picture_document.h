// PictureDocument: the picture the viewer shows and everything that decides how it looks:
// the current file, the format row that read it, the decoded picture, the palette, "Show
// gray" and the flips and turns. The main window's picture area and the enlarged and
// reduced views draw it and follow its signals; the window changes it only through the
// functions below. A palette, grey or a flip redraws from the kept indices: no file is
// read again.
#pragma once

#include <QImage>
#include <QObject>
#include <QString>

#include "app/settings.h"
#include "decode/decoded.h"
#include "decode/palettes.h"

namespace quendra {

struct C64Format;

class PictureDocument : public QObject {
    Q_OBJECT
  public:
    explicit PictureDocument(QObject* parent = nullptr);

    // The current file: a path, or an entry of the open disk image ("…/disk.d64/3"); empty
    // when none. It need not be the file of the picture shown (an empty selection clears it
    // and leaves the picture).
    const QString& fileName() const { return fileName_; }
    void setFileName(const QString& fileName) { fileName_ = fileName; }

    // Whether a picture is shown (the views open only then).
    bool isShown() const { return shown_; }
    // The row whose frame showed the picture; null when none, or for a picture no reader drew.
    const C64Format* format() const { return format_; }
    // Whether the shown picture is a PC picture (PNG, JPEG, …): true colour, held as
    // picture() alone, in no palette; its kind ("PNG picture") names it in the caption.
    bool isTrueColour() const { return shown_ && !trueColourKind_.isEmpty(); }
    const QString& trueColourKind() const { return trueColourKind_; }
    // The shown picture: its indices in the chosen palette, flipped and turned. Empty (0 x 0)
    // when nothing is shown, or a PC picture.
    const IndexedImage& indices() const { return indices_; }
    // The shown picture's size in pixels, a PC picture's too; 0 x 0 when nothing is shown.
    QSize size() const;
    // The same in 32-bit RGB, as the enlarged and reduced views paint it (drawn when first
    // asked for, then shared); null when nothing is shown.
    QImage picture() const;
    // Whether the current file's picture can be drawn again from the kept indices (it is
    // shown, and it is the current file's): what "Show gray" redraws from.
    bool holdsCurrentFile() const;
    // The reader's result again, as the reader would give it now ("Show gray" as set):
    // unflipped, unturned. Only while holdsCurrentFile().
    Decoded decodedAgain() const;

    bool grey() const { return grey_; }
    const PaletteChoice& paletteChoice() const { return paletteChoice_; }
    const C64Colours& paletteColours() const { return paletteColours_; }
    // How the shown picture lies against the one read: mirrored top to bottom (first), then
    // turned a quarter clockwise quarterTurns() times (0..3).
    bool flipped() const { return flipped_; }
    int quarterTurns() const { return quarterTurns_; }

    // A reader's accepted picture of `fileName`, read as `format` (which may be null): drawn
    // in the chosen palette, unflipped and unturned; the current file becomes `fileName`.
    void show(const QString& fileName, const C64Format* format, const Decoded& decoded);
    // A PC picture of `fileName` (32-bit RGB), of the kind `kind` names: shown as it is,
    // unflipped and unturned; palettes and "Show gray" do not change it.
    void showTrueColour(const QString& fileName, const QImage& picture, const QString& kind);
    // Nothing shown: the views show the black template. The current file stays.
    void clear();
    // The shown picture as drawn in 32-bit RGB elsewhere (the picture area draws it anyway),
    // for picture() to share instead of drawing it again; ignored when its size is not the
    // picture's.
    void shareDrawing(const QImage& drawing);
    // The palette the picture is drawn in; a shown picture is redrawn (black and white pages
    // keep their own colours).
    void setPalette(const PaletteChoice& choice, const C64Colours& colours);
    // "Show gray" for the pictures read from now on; the shown picture is not changed
    // (decodedAgain() gives it in grey).
    void setGrey(bool grey) { grey_ = grey; }
    // The shown picture mirrored top to bottom, turned a quarter clockwise or anticlockwise
    // (IndexedImage's functions). Nothing happens while nothing is shown.
    void flip();
    void turnClockwise();
    void turnAnticlockwise();

  signals:
    // A new picture, or the shown one flipped, turned or in other colours.
    void pictureChanged();
    // The same picture in other colours (a palette chosen).
    void coloursChanged();
    // Nothing is shown any more.
    void cleared();

  private:
    enum class Turn { flip, clockwise, anticlockwise };
    template <typename Picture> static Picture turned(const Picture& picture, Turn turn);
    // The shown picture changed by `turn`; it then lies as `flipped` and `quarterTurns` say.
    void transform(Turn turn, bool flipped, int quarterTurns);

    QString fileName_;
    QString pictureFile_; // the file the shown picture was read from
    bool shown_ = false;
    const C64Format* format_ = nullptr;
    Decoded decoded_;         // the reader's result but for its picture, which is indices_
    IndexedImage indices_;    // as shown
    mutable QImage rendered_; // indices_ in 32-bit RGB, once a view asked; a PC picture
    QString trueColourKind_;  // a PC picture's kind, held in rendered_; empty for the rest
    bool grey_ = false;
    PaletteChoice paletteChoice_;
    C64Colours paletteColours_ = defaultPalette().colours;
    bool flipped_ = false;
    int quarterTurns_ = 0;
};

} // namespace quendra

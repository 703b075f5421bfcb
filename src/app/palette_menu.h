// The Palette menu of the main window: a named palette, or a VICE palette file chosen in the
// open dialog, for the document's picture, and the C64 character ROM PETSCII screens are
// drawn with. Each choice re-draws the shown picture at once and is kept in quendra.ini.
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <functional>

#include "app/settings.h"
#include "decode/palettes.h"

class QAction;
class QMainWindow;
class QMenu;

namespace quendra {

class PictureDocument;

class PaletteMenu : public QObject {
    Q_OBJECT
  public:
    // Adds the menu to `window`'s menu bar; the palettes are `document`'s. The palette file
    // dialog starts in `folder()` until a palette file was chosen.
    PaletteMenu(QMainWindow* window, PictureDocument* document, std::function<QString()> folder);

    // The palette and the character ROM of the settings file, before the first picture is
    // drawn (the default palette and the usual characters when they name none that can be
    // read).
    void restore();

    // A named palette; the palette file at `path` (on a bad file tells why and keeps the
    // palette); the character ROM file at `path` (on a bad file tells why and keeps the
    // characters); the emulators' usual character ROM (or the stand-in font) again.
    void paletteChosen(const QString& name);
    bool usePaletteFile(const QString& path);
    bool useCharacterRomFile(const QString& path);
    void useUsualCharacterRom();

  signals:
    // A palette was chosen and the document re-drawn: paint it now (the settings file is
    // written after, which takes longer than the repaint).
    void chosen();
    // Other characters: the shown picture is to be drawn again.
    void charactersChanged();

  private:
    void choosePaletteFile();
    void chooseCharacterRom();
    void showCharacterRomChoice(const QString& file);
    void restorePalette();
    void restoreCharacterRom();
    // The menu's ticks for the choice; the document's picture drawn in the colours.
    void setPalette(const PaletteChoice& choice, const C64Colours& colours);
    void keepChoice(const PaletteChoice& choice);

    QMainWindow* window_;
    PictureDocument* document_;
    std::function<QString()> folder_;
    QMenu* menu_ = nullptr;
    QList<QAction*> paletteActions_; // one per named palette, in namedPalettes() order
    QAction* loadPaletteAction_ = nullptr;
    QAction* characterRomAction_ = nullptr;
    QAction* usualCharacterRomAction_ = nullptr;
};

} // namespace quendra

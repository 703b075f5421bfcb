// The Palette menu: a named palette or a VICE palette file for the document's picture, and the
// C64 character ROM PETSCII screens are drawn with (as the converter's --chargen); the choices
// kept in quendra.ini ([Palette], Chargen the ROM file). The document keeps the shown picture
// as decoded (indices and what they stand for, flipped and turned), so a palette is applied
// by a new lookup table and one redraw: the file is not read again. GoDot files are written
// from the same indices in the program's own colours, so they do not depend on the palette.
#include "app/palette_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "app/picture_document.h"
#include "app/settings.h"
#include "components/bridge.h"
#include "components/dialogs.h"
#include "decode/character_rom.h"

namespace quendra {

namespace {

const QString kFileChoice = QStringLiteral("file");
// quendra.ini's key, in the palette's section, of the C64 character ROM file chosen.
const QString kPaletteSection = QStringLiteral("Palette");
const QString kChargenKey = QStringLiteral("Chargen");

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

PaletteMenu::PaletteMenu(QMainWindow* window, PictureDocument* document,
                         std::function<QString()> folder)
    : QObject(window), window_(window), document_(document), folder_(std::move(folder)) {
    menu_ = window->menuBar()->addMenu(QStringLiteral("&Palette"));
    menu_->setObjectName(QStringLiteral("paletteMenu"));
    auto* group = new QActionGroup(menu_);
    group->setExclusive(true);
    for (const NamedPalette& palette : namedPalettes()) {
        const QString name = fromView(palette.name);
        QAction* action =
            menu_->addAction(name + QStringLiteral("\t") + fromView(palette.description));
        action->setObjectName(QStringLiteral("palette-") + name);
        action->setCheckable(true);
        action->setData(name);
        group->addAction(action);
        paletteActions_ << action;
        connect(action, &QAction::triggered, this, [this, name] { paletteChosen(name); });
    }
    menu_->addSeparator();
    loadPaletteAction_ = menu_->addAction(QStringLiteral("Load palette file..."));
    loadPaletteAction_->setObjectName(QStringLiteral("loadPalette"));
    loadPaletteAction_->setCheckable(true);
    group->addAction(loadPaletteAction_);
    connect(loadPaletteAction_, &QAction::triggered, this, &PaletteMenu::choosePaletteFile);
    // PETSCII screens and character sets are drawn with the C64's character ROM.
    menu_->addSeparator();
    characterRomAction_ = menu_->addAction(QStringLiteral("C64 character ROM..."), this,
                                           &PaletteMenu::chooseCharacterRom);
    characterRomAction_->setObjectName(QStringLiteral("characterRom"));
    usualCharacterRomAction_ = menu_->addAction(QStringLiteral("Usual character ROM"), this,
                                                &PaletteMenu::useUsualCharacterRom);
    usualCharacterRomAction_->setObjectName(QStringLiteral("usualCharacterRom"));
}

void PaletteMenu::useUsualCharacterRom() {
    forgetCharacterRomFile();
    IniFile ini(settings::filePath());
    ini.writeString(kPaletteSection, kChargenKey, {});
    ini.save(); // a failure is not reported
    showCharacterRomChoice({});
}

void PaletteMenu::showCharacterRomChoice(const QString& file) {
    characterRomAction_->setToolTip(file);
    usualCharacterRomAction_->setEnabled(!file.isEmpty());
    // The shown picture drawn again, with the new characters where it has any.
    emit charactersChanged();
}

void PaletteMenu::restoreCharacterRom() {
    // A file gone or turned bad since: the usual places or the stand-in font, silently (the
    // status line says when the stand-in font draws a picture).
    const QString file = IniFile(settings::filePath()).readString(kPaletteSection, kChargenKey);
    const bool read = !file.isEmpty() && setCharacterRomFile(toPath(file));
    characterRomAction_->setToolTip(read ? file : QString());
    usualCharacterRomAction_->setEnabled(read);
}

void PaletteMenu::chooseCharacterRom() {
    const QString kept = IniFile(settings::filePath()).readString(kPaletteSection, kChargenKey);
    dialogs::OpenRequest request;
    request.title = QStringLiteral("C64 character ROM");
    request.directory = kept.isEmpty() ? QDir::homePath() : QFileInfo(kept).absolutePath();
    request.filter = QStringLiteral("C64 character ROMs (chargen *.bin *.rom);;All files (*)");
    const QString chosen = dialogs::openFileName(window_, request);
    if (!chosen.isEmpty())
        useCharacterRomFile(chosen);
}

bool PaletteMenu::useCharacterRomFile(const QString& path) {
    if (!setCharacterRomFile(toPath(path))) {
        dialogs::message(window_, QMessageBox::Warning, QStringLiteral("C64 character ROM"),
                         QStringLiteral("%1 is not a C64 character ROM (a file of 2048 or 4096 "
                                        "bytes). The characters were not changed.")
                             .arg(dialogs::printableFileName(path)),
                         QMessageBox::Ok);
        return false;
    }
    const QString file = QFileInfo(path).absoluteFilePath();
    // A name with a line break cannot be kept: it would begin a line of its own.
    if (!file.contains(u'\n') && !file.contains(u'\r')) {
        IniFile ini(settings::filePath());
        ini.writeString(kPaletteSection, kChargenKey, file);
        ini.save(); // a failure is not reported
    }
    showCharacterRomChoice(file);
    return true;
}

void PaletteMenu::restorePalette() {
    const PaletteChoice stored = settings::readPaletteChoice(settings::filePath());
    PaletteResult colours;
    if (stored.name == kFileChoice) {
        colours = readVplFile(toPath(stored.file));
    } else if (const NamedPalette* named = findPalette(stored.name.toStdString())) {
        colours = {true, {}, named->colours};
    }
    // A palette file that has gone or turned bad since: the program's own colours, silently
    // (the settings keep naming it until another choice is made).
    if (colours.ok)
        setPalette(stored, colours.colours);
    else
        setPalette(PaletteChoice{}, defaultPalette().colours);
}

void PaletteMenu::setPalette(const PaletteChoice& choice, const C64Colours& colours) {
    for (QAction* action : paletteActions_)
        action->setChecked(action->data().toString() == choice.name);
    loadPaletteAction_->setChecked(choice.name == kFileChoice);
    loadPaletteAction_->setToolTip(choice.name == kFileChoice ? choice.file : QString());
    document_->setPalette(choice, colours); // the views open follow it
}

void PaletteMenu::paletteChosen(const QString& name) {
    const NamedPalette* palette = findPalette(name.toStdString());
    if (!palette)
        return;
    PaletteChoice choice;
    choice.name = name;
    setPalette(choice, palette->colours);
    keepChoice(choice);
}

void PaletteMenu::keepChoice(const PaletteChoice& choice) {
    // The picture is painted first: writing the settings file safely takes longer than
    // the repaint itself.
    emit chosen();
    settings::writePaletteChoice(settings::filePath(), choice); // a failure is not reported
}

void PaletteMenu::choosePaletteFile() {
    dialogs::OpenRequest request;
    request.title = QStringLiteral("Load palette file");
    const PaletteChoice& current = document_->paletteChoice();
    request.directory = current.file.isEmpty() ? folder_() : QFileInfo(current.file).absolutePath();
    request.filter = QStringLiteral("VICE palettes (*.vpl);;All files (*)");
    const QString chosen = dialogs::openFileName(window_, request);
    if (chosen.isEmpty() || !usePaletteFile(chosen))
        setPalette(current, document_->paletteColours()); // the ticks as they were
}

bool PaletteMenu::usePaletteFile(const QString& path) {
    const PaletteResult read = readVplFile(toPath(path));
    if (!read.ok) {
        dialogs::message(window_, QMessageBox::Warning, QStringLiteral("Palette"),
                         QStringLiteral("The palette was not changed.\n") +
                             QString::fromStdString(read.error),
                         QMessageBox::Ok);
        return false;
    }
    PaletteChoice choice;
    choice.name = kFileChoice;
    choice.file = QFileInfo(path).absoluteFilePath();
    setPalette(choice, read.colours);
    keepChoice(choice);
    return true;
}

void PaletteMenu::restore() {
    restorePalette();
    restoreCharacterRom();
}

} // namespace quendra

// MainWindow: the Palette menu. The document keeps the shown picture as decoded (indices and
// what they stand for, flipped and turned), so a palette is applied by a new lookup table and
// one redraw: the file is not read again. GoDot files are written from the same indices in
// the program's own colours, so they do not depend on the palette.
#include <QAction>
#include <QActionGroup>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>

#include "app/browse_controls.h"
#include "app/main_window.h"
#include "app/picture_document.h"
#include "app/secondary_windows.h"
#include "components/bridge.h"
#include "components/dialogs.h"
#include "components/pmultiimage.h"
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

void MainWindow::createPaletteMenu() {
    ui_.paletteMenu = menuBar()->addMenu(QStringLiteral("&Palette"));
    ui_.paletteMenu->setObjectName(QStringLiteral("paletteMenu"));
    auto* group = new QActionGroup(ui_.paletteMenu);
    group->setExclusive(true);
    for (const NamedPalette& palette : namedPalettes()) {
        const QString name = fromView(palette.name);
        QAction* action =
            ui_.paletteMenu->addAction(name + QStringLiteral("\t") + fromView(palette.description));
        action->setObjectName(QStringLiteral("palette-") + name);
        action->setCheckable(true);
        action->setData(name);
        group->addAction(action);
        ui_.paletteActions << action;
        connect(action, &QAction::triggered, this, [this, name] { paletteChosen(name); });
    }
    ui_.paletteMenu->addSeparator();
    ui_.loadPaletteAction = ui_.paletteMenu->addAction(QStringLiteral("Load palette file..."));
    ui_.loadPaletteAction->setObjectName(QStringLiteral("loadPalette"));
    ui_.loadPaletteAction->setCheckable(true);
    group->addAction(ui_.loadPaletteAction);
    connect(ui_.loadPaletteAction, &QAction::triggered, this, &MainWindow::choosePaletteFile);
    // PETSCII screens and character sets are drawn with the C64's character ROM.
    ui_.paletteMenu->addSeparator();
    ui_.characterRomAction = ui_.paletteMenu->addAction(QStringLiteral("C64 character ROM..."),
                                                        this, &MainWindow::chooseCharacterRom);
    ui_.characterRomAction->setObjectName(QStringLiteral("characterRom"));
    ui_.usualCharacterRomAction = ui_.paletteMenu->addAction(
        QStringLiteral("Usual character ROM"), this, &MainWindow::useUsualCharacterRom);
    ui_.usualCharacterRomAction->setObjectName(QStringLiteral("usualCharacterRom"));
}

void MainWindow::useUsualCharacterRom() {
    forgetCharacterRomFile();
    IniFile ini(settings::filePath());
    ini.writeString(kPaletteSection, kChargenKey, {});
    ini.save(); // a failure is not reported
    showCharacterRomChoice({});
}

void MainWindow::showCharacterRomChoice(const QString& file) {
    ui_.characterRomAction->setToolTip(file);
    ui_.usualCharacterRomAction->setEnabled(!file.isEmpty());
    // The shown picture drawn again, with the new characters where it has any.
    if (document_->isShown())
        showCurrentFile(this);
}

void MainWindow::restoreCharacterRom() {
    // A file gone or turned bad since: the usual places or the stand-in font, silently (the
    // status line says when the stand-in font draws a picture).
    const QString file = IniFile(settings::filePath()).readString(kPaletteSection, kChargenKey);
    const bool read = !file.isEmpty() && setCharacterRomFile(toPath(file));
    ui_.characterRomAction->setToolTip(read ? file : QString());
    ui_.usualCharacterRomAction->setEnabled(read);
}

void MainWindow::chooseCharacterRom() {
    const QString kept = IniFile(settings::filePath()).readString(kPaletteSection, kChargenKey);
    dialogs::OpenRequest request;
    request.title = QStringLiteral("C64 character ROM");
    request.directory = kept.isEmpty() ? QDir::homePath() : QFileInfo(kept).absolutePath();
    request.filter = QStringLiteral("C64 character ROMs (chargen *.bin *.rom);;All files (*)");
    const QString chosen = dialogs::openFileName(this, request);
    if (!chosen.isEmpty())
        useCharacterRomFile(chosen);
}

bool MainWindow::useCharacterRomFile(const QString& path) {
    if (!setCharacterRomFile(toPath(path))) {
        dialogs::message(this, QMessageBox::Warning, QStringLiteral("C64 character ROM"),
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

void MainWindow::restorePalette() {
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

void MainWindow::setPalette(const PaletteChoice& choice, const C64Colours& colours) {
    for (QAction* action : ui_.paletteActions)
        action->setChecked(action->data().toString() == choice.name);
    ui_.loadPaletteAction->setChecked(choice.name == kFileChoice);
    ui_.loadPaletteAction->setToolTip(choice.name == kFileChoice ? choice.file : QString());
    document_->setPalette(choice, colours); // the views open follow it
}

void MainWindow::paletteChosen(const QString& name) {
    const NamedPalette* palette = findPalette(name.toStdString());
    if (!palette)
        return;
    PaletteChoice choice;
    choice.name = name;
    setPalette(choice, palette->colours);
    keepChoice(choice);
}

void MainWindow::keepChoice(const PaletteChoice& choice) {
    // The picture is painted first: writing the settings file safely takes longer than
    // the repaint itself.
    ui_.pictureView->repaint();
    settings::writePaletteChoice(settings::filePath(), choice); // a failure is not reported
}

void MainWindow::choosePaletteFile() {
    dialogs::OpenRequest request;
    request.title = QStringLiteral("Load palette file");
    const PaletteChoice& current = document_->paletteChoice();
    request.directory = current.file.isEmpty() ? ui_.folderList->directory()
                                               : QFileInfo(current.file).absolutePath();
    request.filter = QStringLiteral("VICE palettes (*.vpl);;All files (*)");
    const QString chosen = dialogs::openFileName(this, request);
    if (chosen.isEmpty() || !usePaletteFile(chosen))
        setPalette(current, document_->paletteColours()); // the ticks as they were
}

bool MainWindow::usePaletteFile(const QString& path) {
    const PaletteResult read = readVplFile(toPath(path));
    if (!read.ok) {
        dialogs::message(this, QMessageBox::Warning, QStringLiteral("Palette"),
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

} // namespace quendra

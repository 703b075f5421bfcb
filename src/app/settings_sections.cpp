// The sections of quendra.ini the viewer keeps through IniFile (settings.h): the window's
// placement ("Pos") and the palette choice ("Palette").
#include "app/settings.h"

namespace quendra::settings {

namespace {
const QString kSection = QStringLiteral("Pos");
} // namespace

WindowPlacement readPlacement(const QString& path) {
    const IniFile ini(path);
    const WindowPlacement defaults;
    WindowPlacement p;
    p.top = ini.readInteger(kSection, QStringLiteral("Top"), defaults.top);
    p.left = ini.readInteger(kSection, QStringLiteral("Left"), defaults.left);
    p.style = ini.readInteger(kSection, QStringLiteral("Style"), defaults.style);
    p.width = ini.readInteger(kSection, QStringLiteral("Width"), defaults.width);
    p.height = ini.readInteger(kSection, QStringLiteral("Height"), defaults.height);
    // A window without width or height could not be seen: such a size is no size.
    if (p.width <= 0)
        p.width = defaults.width;
    if (p.height <= 0)
        p.height = defaults.height;
    return p;
}

bool writePlacement(const QString& path, const WindowPlacement& placement) {
    IniFile ini(path);
    ini.writeInteger(kSection, QStringLiteral("Top"), placement.top);
    ini.writeInteger(kSection, QStringLiteral("Left"), placement.left);
    ini.writeInteger(kSection, QStringLiteral("Style"), placement.style);
    ini.writeInteger(kSection, QStringLiteral("Width"), placement.width);
    ini.writeInteger(kSection, QStringLiteral("Height"), placement.height);
    return ini.save();
}

namespace {
const QString kPaletteSection = QStringLiteral("Palette");
} // namespace

PaletteChoice readPaletteChoice(const QString& path) {
    const IniFile ini(path);
    PaletteChoice choice;
    const QString name = ini.readString(kPaletteSection, QStringLiteral("Name"));
    if (!name.isEmpty())
        choice.name = name;
    choice.file = ini.readString(kPaletteSection, QStringLiteral("File"));
    return choice;
}

bool writePaletteChoice(const QString& path, const PaletteChoice& choice) {
    // A line break in a value would begin a line of its own in the file.
    const auto oneLine = [](const QString& v) { return !v.contains(u'\n') && !v.contains(u'\r'); };
    if (!oneLine(choice.name) || !oneLine(choice.file))
        return false;
    IniFile ini(path);
    ini.writeString(kPaletteSection, QStringLiteral("Name"), choice.name);
    if (!choice.file.isEmpty() ||
        !ini.readString(kPaletteSection, QStringLiteral("File")).isEmpty())
        ini.writeString(kPaletteSection, QStringLiteral("File"), choice.file);
    return ini.save();
}

} // namespace quendra::settings

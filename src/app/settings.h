// quendra.ini: the window's placement, kept in a sections-and-keys text file.
//
// The file may hold more than the viewer writes (other sections, keys, comments, blank
// lines, text in any 8-bit encoding); IniFile keeps every byte of it that it does not own:
// the encoding, a byte-order mark, each line's own ending ("\r\n" or "\n") and whether the
// last line has one. Only the lines it is asked to set are rewritten; new lines take the
// ending most lines of the file have. A missing file reads as empty; values that are not
// whole numbers read as the default.
//
// A file that is there but is not read is left alone: one that cannot be read, one that is
// not a regular file (a folder, a FIFO, a device: never opened, so never waited on), one
// larger than kLargestSettingsFile, and a link to nothing. It reads as empty, save() never
// writes it, and the program says so once on stderr. Nothing the user had is replaced by
// less. Nor does save() write a file larger than kLargestSettingsFile: it would not be read
// again, so the settings that would make it so are not saved (said once on stderr).
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace quendra {

// Far more than the viewer writes, and still read at once.
inline constexpr qint64 kLargestSettingsFile = 1024 * 1024;

class IniFile {
  public:
    // Loads `path` (a missing file, or one left alone, gives an empty one).
    explicit IniFile(QString path);

    const QString& path() const { return path_; }
    // Why the file is left alone ("is not a regular file", "cannot be read: ..."), or empty.
    const QString& leftAloneReason() const { return leftAloneReason_; }

    // The value of `key` in `section` (both matched without regard to case, as profile
    // files are), or `fallback` when it is missing or not a decimal integer.
    int readInteger(const QString& section, const QString& key, int fallback) const;
    // The raw text after the "=", trimmed; empty when missing.
    QString readString(const QString& section, const QString& key) const;

    // Replaces the key's value in place, or appends the key to its section, or appends
    // the section at the end of the file. An integer that is there already (" 5" for 5)
    // leaves its line as it is.
    void writeInteger(const QString& section, const QString& key, int value);
    void writeString(const QString& section, const QString& key, const QString& value);

    // Writes the whole file atomically (export/atomic_write.h; through a link to its target,
    // with the old file's permissions), making the folder when needed; a file that would not
    // change is left alone. False when it could not be written, is left alone or would grow
    // past kLargestSettingsFile; the old file then stays.
    bool save() const;

    // The file's bytes as save() writes them.
    QByteArray bytes() const;

  private:
    struct Line {
        QByteArray text;   // without its ending
        QByteArray ending; // "\r\n", "\n", or empty for a last line without one
    };

    QString decoded(const QByteArray& text) const;
    QByteArray encoded(const QString& text) const;
    // Index of the section's header line, or -1.
    int findSection(const QString& section) const;
    // Index of the key's line within the section that starts at `header`, or -1.
    int findKey(int header, const QString& key) const;
    // One past the section's last line (the next header, or the end of the file).
    int sectionEnd(int header) const;
    // Inserts a new line before line `at` (which may be one past the last).
    void insertLine(int at, const QString& text);

    QString path_;
    QString leftAloneReason_;
    QByteArray original_;
    QByteArray byteOrderMark_;
    bool utf8_ = true; // else Latin-1, as 8-bit profile files of old were
    QByteArray newLineEnding_ = "\n";
    QList<Line> lines_;
};

// The [Pos] section of quendra.ini.
struct WindowPlacement {
    int top = 0;
    int left = 0;
    int style = 0; // 0 normal, 1 maximised, 2 minimised; any other value changes nothing
    int width = 686;
    int height = 565;
    friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

// The [Palette] section: the palette pictures are shown in. `name` is one of the named
// palettes (decode/palettes.h) or "file" for the VICE palette file `file`.
struct PaletteChoice {
    QString name = QStringLiteral("default");
    QString file;
    friend bool operator==(const PaletteChoice&, const PaletteChoice&) = default;
};

namespace settings {

// The settings file: quendra.ini in the per-user configuration folder
// (for instance ~/.config/quendra/quendra.ini), unless a test chose another one.
QString filePath();
// Points the program at another settings file (tests); an empty path restores the default.
void setFilePath(const QString& path);

WindowPlacement readPlacement(const QString& path);
// Writes Top, Left, Style, Width and Height into [Pos], keeping the rest of the file.
bool writePlacement(const QString& path, const WindowPlacement& placement);

// Name and File of [Palette]; missing keys read as the default palette.
PaletteChoice readPaletteChoice(const QString& path);
// Writes Name (and File for a palette file) into [Palette], keeping the rest of the file.
bool writePaletteChoice(const QString& path, const PaletteChoice& choice);

} // namespace settings

} // namespace quendra

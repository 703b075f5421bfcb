#include "app/settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>

namespace quendra {

namespace {

QString sectionNameOf(const QString& line) {
    const QString t = line.trimmed();
    if (t.size() < 2 || !t.startsWith(u'['))
        return {};
    const qsizetype close = t.indexOf(u']');
    if (close < 0)
        return {};
    return t.mid(1, close - 1).trimmed();
}

bool isSectionLine(const QString& line) {
    const QString t = line.trimmed();
    return t.startsWith(u'[') && t.indexOf(u']') > 0;
}

bool isComment(const QString& line) {
    const QString t = line.trimmed();
    return t.startsWith(u';') || t.startsWith(u'#');
}

// A decimal integer with an optional sign and surrounding blanks, in the range of int.
bool parseInteger(const QString& text, int& value) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    qsizetype i = 0;
    if (t[0] == u'+' || t[0] == u'-')
        i = 1;
    if (i == t.size())
        return false;
    for (qsizetype k = i; k < t.size(); ++k) {
        if (t[k] < u'0' || t[k] > u'9')
            return false;
    }
    bool ok = false;
    const int v = t.toInt(&ok, 10);
    if (!ok)
        return false;
    value = v;
    return true;
}

QString& overridePath() {
    static QString path;
    return path;
}

} // namespace

IniFile::IniFile(QString path) : path_(std::move(path)) {
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    if (bytes.isEmpty())
        return;
    // Profile files of old were 8-bit text; take UTF-8 when it is valid, else Latin-1.
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = QString::fromLatin1(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    if (text.contains(QStringLiteral("\r\n")))
        lineEnding_ = QStringLiteral("\r\n");
    endsWithNewline_ = text.endsWith(u'\n');
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines_ = text.split(u'\n');
    if (endsWithNewline_)
        lines_.removeLast();
}

int IniFile::findSection(const QString& section) const {
    for (int i = 0; i < lines_.size(); ++i) {
        if (isSectionLine(lines_[i]) &&
            sectionNameOf(lines_[i]).compare(section, Qt::CaseInsensitive) == 0) {
            return i;
        }
    }
    return -1;
}

int IniFile::sectionEnd(int header) const {
    int i = header + 1;
    while (i < lines_.size() && !isSectionLine(lines_[i]))
        ++i;
    return i;
}

int IniFile::findKey(int header, const QString& key) const {
    const int end = sectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        const QString& line = lines_[i];
        if (isComment(line))
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0)
            continue;
        if (line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString IniFile::readString(const QString& section, const QString& key) const {
    const int header = findSection(section);
    if (header < 0)
        return {};
    const int line = findKey(header, key);
    if (line < 0)
        return {};
    return lines_[line].mid(lines_[line].indexOf(u'=') + 1).trimmed();
}

int IniFile::readInteger(const QString& section, const QString& key, int fallback) const {
    int value = fallback;
    return parseInteger(readString(section, key), value) ? value : fallback;
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value) {
    const QString entry = key + u'=' + value;
    int header = findSection(section);
    if (header < 0) {
        // A blank line before a new section, unless the file is empty or ends blank.
        if (!lines_.isEmpty() && !lines_.last().trimmed().isEmpty())
            lines_.append(QString());
        lines_.append(u'[' + section + u']');
        lines_.append(entry);
        return;
    }
    const int line = findKey(header, key);
    if (line >= 0) {
        // Keep the key as it was written (its case and blanks); replace only the value.
        const QString& old = lines_[line];
        lines_[line] = old.left(old.indexOf(u'=') + 1) + value;
        return;
    }
    // After the section's last non-blank line, so blank lines between sections stay.
    int insertAt = sectionEnd(header);
    while (insertAt - 1 > header && lines_[insertAt - 1].trimmed().isEmpty())
        --insertAt;
    lines_.insert(insertAt, entry);
}

void IniFile::writeInteger(const QString& section, const QString& key, int value) {
    writeString(section, key, QString::number(value));
}

bool IniFile::save() const {
    const QFileInfo info(path_);
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QString text = lines_.join(lineEnding_);
    if (endsWithNewline_ || lines_.isEmpty())
        text += lineEnding_;
    const QByteArray bytes = text.toUtf8();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

namespace settings {

namespace {
const QString kSection = QStringLiteral("Pos");
} // namespace

QString filePath() {
    if (!overridePath().isEmpty())
        return overridePath();
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/quendra/quendra.ini");
}

void setFilePath(const QString& path) {
    overridePath() = path;
}

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

} // namespace settings

} // namespace quendra

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
    original_ = file.readAll();
    QByteArray bytes = original_;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        byteOrderMark_ = bytes.left(3);
        bytes.remove(0, 3);
    }
    // Taken as UTF-8 when it is valid, else as Latin-1; either way the bytes stay as read.
    QStringDecoder utf8(QStringDecoder::Utf8);
    (void)QString(utf8(bytes));
    utf8_ = !utf8.hasError();
    int crlf = 0, lf = 0;
    qsizetype from = 0;
    while (from < bytes.size()) {
        const qsizetype nl = bytes.indexOf('\n', from);
        Line line;
        if (nl < 0) {
            line.text = bytes.mid(from);
            from = bytes.size();
        } else {
            const bool cr = nl > from && bytes[nl - 1] == '\r';
            line.text = bytes.mid(from, nl - from - (cr ? 1 : 0));
            line.ending = cr ? QByteArray("\r\n") : QByteArray("\n");
            ++(cr ? crlf : lf);
            from = nl + 1;
        }
        lines_.append(std::move(line));
    }
    // New lines follow the file's custom; on a tie, its first line's.
    if (crlf > lf || (crlf == lf && crlf > 0 && lines_.first().ending == "\r\n"))
        newLineEnding_ = "\r\n";
}

QString IniFile::decoded(const QByteArray& text) const {
    return utf8_ ? QString::fromUtf8(text) : QString::fromLatin1(text);
}

QByteArray IniFile::encoded(const QString& text) const {
    return utf8_ ? text.toUtf8() : text.toLatin1();
}

int IniFile::findSection(const QString& section) const {
    for (int i = 0; i < lines_.size(); ++i) {
        const QString line = decoded(lines_[i].text);
        if (isSectionLine(line) && sectionNameOf(line).compare(section, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int IniFile::sectionEnd(int header) const {
    int i = header + 1;
    while (i < lines_.size() && !isSectionLine(decoded(lines_[i].text)))
        ++i;
    return i;
}

int IniFile::findKey(int header, const QString& key) const {
    const int end = sectionEnd(header);
    for (int i = header + 1; i < end; ++i) {
        const QString line = decoded(lines_[i].text);
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
    const QByteArray& text = lines_[line].text;
    return decoded(text.mid(text.indexOf('=') + 1)).trimmed();
}

int IniFile::readInteger(const QString& section, const QString& key, int fallback) const {
    int value = fallback;
    return parseInteger(readString(section, key), value) ? value : fallback;
}

void IniFile::insertLine(int at, const QString& text) {
    Line line{encoded(text), newLineEnding_};
    if (at == lines_.size() && !lines_.isEmpty() && lines_.last().ending.isEmpty()) {
        // The file ended without a line ending, and still does.
        lines_.last().ending = newLineEnding_;
        line.ending.clear();
    }
    lines_.insert(at, std::move(line));
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value) {
    const QString entry = key + u'=' + value;
    int header = findSection(section);
    if (header < 0) {
        // A blank line before a new section, unless the file is empty or ends blank.
        if (!lines_.isEmpty() && !decoded(lines_.last().text).trimmed().isEmpty())
            insertLine(lines_.size(), QString());
        insertLine(lines_.size(), u'[' + section + u']');
        insertLine(lines_.size(), entry);
        return;
    }
    const int line = findKey(header, key);
    if (line >= 0) {
        // Keep the key as it was written (its case and blanks); replace only the value.
        QByteArray& text = lines_[line].text;
        text = text.left(text.indexOf('=') + 1) + encoded(value);
        return;
    }
    // After the section's last non-blank line, so blank lines between sections stay.
    int insertAt = sectionEnd(header);
    while (insertAt - 1 > header && decoded(lines_[insertAt - 1].text).trimmed().isEmpty())
        --insertAt;
    insertLine(insertAt, entry);
}

void IniFile::writeInteger(const QString& section, const QString& key, int value) {
    int present = 0;
    if (parseInteger(readString(section, key), present) && present == value)
        return;
    writeString(section, key, QString::number(value));
}

QByteArray IniFile::bytes() const {
    QByteArray out = byteOrderMark_;
    for (const Line& line : lines_)
        out += line.text + line.ending;
    return out;
}

bool IniFile::save() const {
    const QByteArray out = bytes();
    if (out == original_ && !out.isEmpty() && QFileInfo::exists(path_))
        return true;
    const QFileInfo info(path_);
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(out) != out.size()) {
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

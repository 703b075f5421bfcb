#include "app/settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>
#include <QStringDecoder>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <span>

#include "decode/printable_name.h"
#include "export/atomic_write.h"

namespace quendra {

namespace {

QString errorText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// The bytes of the settings file, or why a file that is there is not read (`leftAlone`).
// Only a regular file is opened, and without waiting (a FIFO put in its place between the
// look and the open does not block); at most kLargestSettingsFile bytes are read.
struct SettingsBytes {
    QByteArray bytes;
    QString leftAlone;
};

SettingsBytes readSettingsBytes(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (::stat(name.constData(), &info) != 0) {
        const int error = errno;
        struct stat link {};
        if (error == ENOENT && ::lstat(name.constData(), &link) == 0)
            return {{}, QStringLiteral("is a link to a file that is not there")};
        if (error == ENOENT || error == ENOTDIR)
            return {}; // the first start
        return {{}, QStringLiteral("cannot be read: ") + errorText(error)};
    }
    if (S_ISDIR(info.st_mode))
        return {{}, QStringLiteral("is a folder")};
    if (!S_ISREG(info.st_mode))
        return {{}, QStringLiteral("is not a regular file")};
    const QString tooLarge = QStringLiteral("is larger than %1 KB").arg(kLargestSettingsFile / 1024);
    if (info.st_size > kLargestSettingsFile)
        return {{}, tooLarge};
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return {{}, QStringLiteral("cannot be read: ") + errorText(errno)};
    SettingsBytes result;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        result.leftAlone = QStringLiteral("is not a regular file");
    } else {
        // One byte more than allowed tells a file that grew since the look.
        result.bytes.resize(kLargestSettingsFile + 1);
        qint64 done = 0;
        while (done < result.bytes.size()) {
            const ssize_t n = ::read(fd, result.bytes.data() + done,
                                     static_cast<std::size_t>(result.bytes.size() - done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                result = {{}, QStringLiteral("cannot be read: ") + errorText(errno)};
                break;
            }
            if (n == 0)
                break;
            done += n;
        }
        if (result.leftAlone.isEmpty()) {
            result.bytes.truncate(done);
            if (done > kLargestSettingsFile)
                result = {{}, tooLarge};
        }
    }
    ::close(fd);
    return result;
}

// Says once per file, however often the program looks at it, that it is left alone.
void reportLeftAlone(const QString& path, const QString& reason) {
    static QSet<QString> reported;
    if (reported.contains(path))
        return;
    reported.insert(path);
    const std::string name = printableName(QFile::encodeName(path).toStdString());
    std::fprintf(stderr, "quendra: the settings file %s %s; the defaults are used and it is "
                         "left as it is\n",
                 name.c_str(), reason.toLocal8Bit().constData());
}

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
    SettingsBytes read = readSettingsBytes(path_);
    if (!read.leftAlone.isEmpty()) {
        leftAloneReason_ = read.leftAlone;
        reportLeftAlone(path_, leftAloneReason_);
        return;
    }
    original_ = std::move(read.bytes);
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
    if (!leftAloneReason_.isEmpty())
        return false;
    const QByteArray out = bytes();
    if (out == original_ && !out.isEmpty() && QFileInfo::exists(path_))
        return true;
    // A file the program writes must be one it reads: what would grow past the bound is
    // not written, and the file stays as it was.
    if (out.size() > kLargestSettingsFile) {
        static QSet<QString> reported;
        if (reported.contains(path_))
            return false;
        reported.insert(path_);
        const std::string name = printableName(QFile::encodeName(path_).toStdString());
        std::fprintf(stderr,
                     "quendra: the settings file %s would grow past %lld KB; these "
                     "settings are not saved and it is left as it is\n",
                     name.c_str(), static_cast<long long>(kLargestSettingsFile / 1024));
        return false;
    }
    const QFileInfo info(path_);
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    // A link (a settings file kept with the user's other dotfiles) stays a link.
    namespace fs = std::filesystem;
    fs::path target(QFile::encodeName(path_).toStdString());
    std::error_code error;
    if (fs::is_symlink(target, error)) {
        target = fs::canonical(target, error);
        if (error)
            return false;
    }
    // The new file keeps who may read it, from its first moment on (a settings file of mode
    // 600 stays private).
    struct stat before {};
    std::optional<mode_t> mode;
    if (::stat(target.c_str(), &before) == 0)
        mode = before.st_mode & 07777;
    return writeFileAtomically(target,
                               std::span(reinterpret_cast<const std::uint8_t*>(out.constData()),
                                         static_cast<std::size_t>(out.size())),
                               Flush::Always, Existing::Replace, mode)
        .written;
}

namespace settings {

QString filePath() {
    if (!overridePath().isEmpty())
        return overridePath();
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/quendra/quendra.ini");
}

void setFilePath(const QString& path) {
    overridePath() = path;
}

} // namespace settings

} // namespace quendra

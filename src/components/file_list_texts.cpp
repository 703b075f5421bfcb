// The texts of the file list's rows and their comparisons (file_list_view.h, filelist::):
// attribute letters, the type description, the Modified text and the desktop's name order.
#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <QMimeDatabase>
#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "components/bridge.h"
#include "components/file_list_view.h"
#include "components/pc_picture_file.h"
#include "decode/disk_image.h"
#include "decode/formats.h"

namespace quendra {

namespace filelist {

namespace {
constexpr int kMaxTypeLength = 80;
} // namespace

QString attributeLetters(const QFileInfo& info) {
    QString letters;
    // Read-only: not writable for this user, or not for the owner (root may write anything,
    // yet a file without the owner's write permission is still read-only).
    if (!info.isWritable() || !(info.permissions() & QFileDevice::WriteOwner))
        letters += 'R';
    if (info.isHidden())
        letters += 'H';
    if (!info.isFile())
        letters += 'S';
    return letters;
}

QString typeDescription(const QFileInfo& info, const QString& fileName) {
    const QByteArray name = fileName.toUtf8();
    const std::string_view extension = extensionOf(std::string_view(name.constData(), name.size()));
    const std::string_view c64 = typeTextFor(extension);
    QString text;
    // A PC64 file's name (.p64 is also a picture's) counts only with the PC64 signature.
    const DiskContainer* image =
        info.isFile() && diskContainerForName(std::string_view(name.constData(), name.size()))
            ? diskContainerForFile(toPath(info.absoluteFilePath()))
            : nullptr;
    const PcPictureKind pc = pcPictureKindOfName(fileName);
    if (image) {
        text = QString::fromUtf8(image->name.data(), static_cast<qsizetype>(image->name.size()));
    } else if (pc != PcPictureKind::none) {
        text = pcPictureTypeText(pc); // by the name, as the C64 formats are
    } else if (!c64.empty()) {
        // The C64 formats are named by their extension and never looked up by content.
        text = QString::fromUtf8(c64.data(), static_cast<qsizetype>(c64.size()));
    } else {
        static const QMimeDatabase mime;
        // Only regular files are read for their content: a pipe or device could block.
        const QMimeType type = info.isFile()
                                   ? mime.mimeTypeForFile(info)
                                   : mime.mimeTypeForFile(info, QMimeDatabase::MatchExtension);
        text = type.comment().trimmed();
        if (text.isEmpty()) {
            const QString suffix = QString::fromUtf8(extension.data(), qsizetype(extension.size()));
            text = suffix.size() > 1 ? suffix.mid(1).toUpper() + " file" : QStringLiteral("File");
        }
    }
    return text.trimmed().left(kMaxTypeLength);
}

namespace {
QString twoDigits(int n) {
    return QString::number(n).rightJustified(2, '0');
}
} // namespace

QString modifiedText(const QDateTime& time, QChar dateSeparator) {
    if (!time.isValid())
        return {};
    const QDate d = time.date();
    const QTime t = time.time();
    QString text = QString::number(d.year()).rightJustified(4, '0') + dateSeparator +
                   twoDigits(d.month()) + dateSeparator + twoDigits(d.day());
    // Exactly midnight (to the second) shows the date alone.
    if (t.hour() != 0 || t.minute() != 0 || t.second() != 0)
        text += ' ' + twoDigits(t.hour()) + ':' + twoDigits(t.minute());
    return text;
}

QChar localeDateSeparator() {
    const QString format = QLocale().dateFormat(QLocale::ShortFormat);
    bool quoted = false;
    for (const QChar c : format) {
        if (c == '\'') {
            quoted = !quoted;
        } else if (!quoted && !c.isLetterOrNumber() && !c.isSpace()) {
            return c;
        }
    }
    return '/';
}

int compareText(const QString& a, const QString& b) {
    const qsizetype n = std::min(a.size(), b.size());
    const QChar* pa = a.constData();
    const QChar* pb = b.constData();
    for (qsizetype i = 0; i < n; ++i) {
        char16_t ca = pa[i].unicode();
        char16_t cb = pb[i].unicode();
        if (ca >= u'a' && ca <= u'z')
            ca = char16_t(ca - 32);
        if (cb >= u'a' && cb <= u'z')
            cb = char16_t(cb - 32);
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

int compareNames(const QString& a, const QString& b) {
    const auto fold = [](char16_t c) {
        return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c;
    };
    const auto digit = [](const QString& s, qsizetype i) {
        return i < s.size() && s[i] >= u'0' && s[i] <= u'9';
    };
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (digit(a, i) && digit(b, j)) {
            // Runs of digits by their value: leading zeros skipped, the longer run larger.
            while (i + 1 < a.size() && a[i] == u'0' && digit(a, i + 1))
                ++i;
            while (j + 1 < b.size() && b[j] == u'0' && digit(b, j + 1))
                ++j;
            qsizetype ei = i, ej = j;
            while (digit(a, ei))
                ++ei;
            while (digit(b, ej))
                ++ej;
            if (ei - i != ej - j)
                return ei - i < ej - j ? -1 : 1;
            for (; i < ei; ++i, ++j) {
                if (a[i] != b[j])
                    return a[i] < b[j] ? -1 : 1;
            }
            continue;
        }
        const char16_t ca = fold(a[i].unicode()), cb = fold(b[j].unicode());
        if (ca != cb)
            return ca < cb ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size() || j < b.size())
        return i < a.size() ? 1 : -1;
    return a < b ? -1 : (b < a ? 1 : 0); // a tie by the real name
}

bool readModified(const QString& text, double& days) {
    // Numbers in the order they are written: year, month, day, then hour, minute, seconds.
    std::array<int, 6> numbers{};
    int count = 0;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        if (!text[i].isDigit()) {
            ++i;
            continue;
        }
        if (count == int(numbers.size()))
            return false;
        long value = 0;
        int digits = 0;
        for (; i < n && text[i].isDigit(); ++i, ++digits) {
            if (digits >= 6)
                return false;
            value = value * 10 + text[i].digitValue();
        }
        numbers[count++] = static_cast<int>(value);
    }
    if (count != 3 && count != 5 && count != 6)
        return false;
    const QDate date(numbers[0], numbers[1], numbers[2]);
    const int hour = numbers[3], minute = numbers[4], second = numbers[5];
    if (!date.isValid() || hour > 23 || minute > 59 || second > 59)
        return false;
    static const qint64 epoch = QDate(1899, 12, 30).toJulianDay();
    days = double(date.toJulianDay() - epoch) + (hour * 3600 + minute * 60 + second) / 86400.0;
    return true;
}

long long compareDays(double a, double b) {
    const double x = (a - b) * 100000.0;
    double r = std::floor(x + 0.5);
    if (r - x == 0.5 && std::fmod(r, 2.0) != 0.0)
        r -= 1.0; // a tie goes to the even neighbour
    return static_cast<long long>(r);
}

} // namespace filelist

} // namespace quendra

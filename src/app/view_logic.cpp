#include "app/view_logic.h"

#include <algorithm>

#include "components/dialogs.h"
#include "decode/disk_image.h"
#include "decode/formats.h"

namespace quendra {

// Only "/" separates folders here: "\\" and ":" are ordinary characters of a file name.
QString namePart(const QString& fileName) {
    return fileName.mid(fileName.lastIndexOf(u'/') + 1);
}

QString captionFor(const QString& fileName, QStringView suffix) {
    return kProgramName + QStringLiteral(": ") + dialogs::printableFileName(namePart(fileName)) +
           suffix.toString();
}

namespace {
// The row's extensions in lower case, each once, in the row's order.
QStringList lowerExtensions(const C64Format& format) {
    QStringList out;
    for (std::string_view form : format.extensions) {
        const QString e = QString::fromUtf8(form.data(), qsizetype(form.size())).toLower();
        if (!e.isEmpty() && !out.contains(e))
            out << e;
    }
    return out;
}
} // namespace

QString fileMask() {
    QStringList patterns;
    for (const C64Format& format : c64Formats()) {
        if (!format.inFileMask)
            continue;
        for (const QString& e : lowerExtensions(format)) {
            if (!patterns.contains(u'*' + e))
                patterns << u'*' + e;
        }
    }
    // Disk and tape images, opened like folders: "d64", and "p00" for "p00" to "p99".
    for (const DiskContainer& container : diskContainers()) {
        const QString forms = QString::fromUtf8(container.extensions.data(),
                                                qsizetype(container.extensions.size()));
        for (const QString& form : forms.split(u',', Qt::SkipEmptyParts)) {
            QString e = form.trimmed().section(u' ', 0, 0);
            if (e.endsWith(QStringLiteral("00")))
                e.replace(e.size() - 2, 2, QStringLiteral("[0-9][0-9]"));
            if (!e.isEmpty() && !patterns.contains(QStringLiteral("*.") + e))
                patterns << QStringLiteral("*.") + e;
        }
    }
    return patterns.join(u';');
}

QList<FormatListing> formatListing() {
    const auto text = [](std::string_view s) {
        return QString::fromUtf8(s.data(), qsizetype(s.size()));
    };
    QList<FormatListing> out;
    for (const C64Format& format : c64Formats()) {
        QStringList bare = lowerExtensions(format);
        for (QString& e : bare)
            e.remove(0, 1);
        out.append({text(format.name), bare.join(QStringLiteral(", "))});
    }
    for (const DiskContainer& container : diskContainers())
        out.append({text(container.name), text(container.extensions)});
    return out;
}

QPoint placementOnScreens(QPoint topLeft, QSize size, const QList<QRect>& screens) {
    // In 64 bits: a stored edge near the end of int's range must not wrap around.
    const qint64 left = topLeft.x(), top = topLeft.y();
    const qint64 right = left + std::max(size.width(), 1);
    const qint64 bottom = top + std::max(size.height(), 1);
    for (const QRect& screen : screens) {
        if (left < qint64(screen.x()) + screen.width() && right > screen.x() &&
            top < qint64(screen.y()) + screen.height() && bottom > screen.y()) {
            return topLeft;
        }
    }
    return {0, 0};
}

QSize sizeOnScreens(QSize stored, const QList<QRect>& screens) {
    QRect desktop;
    for (const QRect& screen : screens)
        desktop = desktop.united(screen);
    if (desktop.isEmpty())
        return stored;
    return {std::min(stored.width(), desktop.width()), std::min(stored.height(), desktop.height())};
}

} // namespace quendra

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

QString formatList() {
    QStringList items;
    for (const C64Format& format : c64Formats()) {
        QStringList bare = lowerExtensions(format);
        for (QString& e : bare)
            e.remove(0, 1);
        items << QString::fromUtf8(format.name.data(), qsizetype(format.name.size())) +
                     QStringLiteral(" (") + bare.join(u", ") + u')';
    }
    return items.join(u", ");
}

void dispatchBegins(CommandStates& s) {
    s.godot = true;
}

void readerStarts(CommandStates& s, ReaderFamily family) {
    s.fileList = false;
    s.saveAs = s.flip = s.rotate = s.turn = s.zoomIn = false;
    if (family != ReaderFamily::GodotPath)
        s.grey = false;
}

void readerEnds(CommandStates& s, ReaderFamily family) {
    s.saveAs = s.flip = s.rotate = s.turn = s.zoomIn = true;
    s.fileList = true;
    switch (family) {
    case ReaderFamily::C64:
    case ReaderFamily::GodotPath:
        s.grey = true;
        break;
    case ReaderFamily::Printfox:
        break;
    case ReaderFamily::FunPainter:
        s.selectGif = true;
        s.godot = false;
        break;
    }
}

void readerRejected(CommandStates& s) {
    s.saveAs = s.flip = s.rotate = s.turn = s.zoomIn = false;
}

int fitScale(QSize picture, QSize area) {
    if (picture.width() <= 0 || picture.height() <= 0)
        return 1;
    return std::max(1, std::min(area.width() / picture.width(), area.height() / picture.height()));
}

void saveStarts(CommandStates& s) {
    s.fileList = false;
    s.saveAs = s.flip = s.rotate = s.turn = s.zoomIn = false;
    s.grey = false;
}

void afterDelete(CommandStates& s) {
    s.saveAs = s.flip = s.rotate = s.turn = s.zoomIn = s.zoomOut = false;
    s.origSize = s.godot = s.grey = false;
}

ZoomAction zoomIn(CommandStates& s, int& count) {
    if (count >= kMaxZoomSteps)
        return {0, 0, true}; // the button is disabled by then
    s.origSize = true;
    ++count;
    if (count > kMaxZoomSteps - 1)
        s.zoomIn = false;
    s.zoomOut = true;
    return {1, 0, true};
}

ZoomAction zoomOut(CommandStates& s, int& count, bool stretchRatio) {
    ZoomAction a{0, 0, stretchRatio};
    if (count > 0)
        a.zoomOuts = 1;
    --count;
    if (count < kMaxZoomSteps)
        s.zoomIn = true;
    if (count <= 0) {
        // Below 0 only through a click that slipped past the disabled button.
        count = 0;
        s.zoomOut = false;
        a.stretchRatio = false;
        s.origSize = false;
    }
    return a;
}

ZoomAction origSize(CommandStates& s, int& count) {
    // One zoom-out more than the zoom-ins counted: the component's margin goes from 0 to
    // its outermost step, as it always has.
    const ZoomAction a{0, count + 1, false};
    count = 0;
    s.zoomOut = false;
    s.zoomIn = true;
    s.origSize = false;
    return a;
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

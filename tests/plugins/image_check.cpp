// image_check: C64 pictures through QImageReader, as any Qt program reads them, with the
// image plugin found on QT_PLUGIN_PATH. Built for each Qt the plugin is built for.
//   image_check compare PNG_DIR FILE...  each FILE reads as PNG_DIR/<name>.png (the
//                                        converter's picture of it) shows, by its name and
//                                        by its bytes with its extension as the format
//                                        named, and a FILE with no PNG is refused
//   image_check refuse FILE...           each FILE is refused cleanly
//   image_check replay FILE...           each FILE read by name and by its bytes alone:
//                                        any outcome but a crash
// Prints one line per fault and exits 1 when there was one.
#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <cstdio>

#include "picture_checks.h"

namespace {

using picture_checks::difference;
using picture_checks::fault;
using picture_checks::faults;

void compare(const QString& pngDir, const QString& file) {
    const QString png = pngDir + "/" + QFileInfo(file).fileName() + ".png";
    QImageReader reader(file);
    const QSize announced = reader.size();
    QImage image;
    const bool read = reader.read(&image);
    if (!QFileInfo::exists(png)) {
        if (read)
            fault(file, "read, but the converter refuses it");
        return;
    }
    if (!read)
        return fault(file, "not read: " + reader.errorString());
    if (image.format() != QImage::Format_Indexed8)
        fault(file, QString("format %1, not indexed").arg(int(image.format())));
    if (announced != image.size())
        fault(file, "Size option differs from the picture");
    const QImage want(png, "PNG");
    if (want.isNull())
        return fault(file, "cannot read " + png);
    if (const QString diff = difference(image, want); !diff.isEmpty())
        fault(file, diff);
    // The bytes alone with the format named, as a caller holding no file names it.
    const QByteArray suffix = QFileInfo(file).suffix().toLower().toLatin1();
    if (!QImageReader::supportedImageFormats().contains(suffix))
        return;
    QFile in(file);
    QByteArray bytes = in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader named(&buffer, suffix);
    if (!named.read(&image))
        return fault(file, "not read from a buffer named " + suffix + ": " + named.errorString());
    if (const QString diff = difference(image, want); !diff.isEmpty())
        fault(file, "from a buffer named " + suffix + ": " + diff);
}

void refuse(const QString& file) {
    QImageReader reader(file);
    QImage image;
    if (reader.read(&image))
        fault(file, "read, but it is no picture");
}

void replay(const QString& file) {
    QImageReader(file).read();
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return fault(file, "cannot open");
    QByteArray bytes = in.readAll();
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.size();
    reader.read();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const QString mode = args.value(0);
    int first = mode == "compare" ? 2 : 1;
    if (args.size() < first || (mode != "compare" && mode != "refuse" && mode != "replay")) {
        std::fputs("Usage: image_check compare PNG_DIR FILE... | refuse FILE... | "
                   "replay FILE...\n", stderr);
        return 2;
    }
    for (int i = first; i < args.size(); ++i) {
        if (mode == "compare")
            compare(args[1], args[i]);
        else if (mode == "refuse")
            refuse(args[i]);
        else
            replay(args[i]);
    }
    std::printf("%s: %d files, %d faults (Qt %s)\n", qPrintable(mode),
                int(args.size() - first), faults, qVersion());
    return faults == 0 ? 0 : 1;
}

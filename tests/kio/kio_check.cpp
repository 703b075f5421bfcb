// kio_check: the KIO thumbnail plugin as KIO's thumbnail worker loads it (by its metadata,
// through KPluginFactory), asked for previews as Dolphin asks.
//   kio_check PLUGIN SIZE PNG_DIR FILE...  each FILE's preview at SIZE x SIZE has the pixels
//                                          of PNG_DIR/<name>.png (the thumbnailer's); a FILE
//                                          without one gets no preview
// The metadata must list the C64 picture types and the disk images'. Prints one line per
// fault and exits 1 when there was one.
#include <KIO/ThumbnailCreator>
#include <KPluginFactory>
#include <KPluginMetaData>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QUrl>
#include <cstdio>

#include "../plugins/picture_checks.h"

using picture_checks::difference;
using picture_checks::fault;
using picture_checks::faults;

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 4) {
        std::fputs("Usage: kio_check PLUGIN SIZE PNG_DIR FILE...\n", stderr);
        return 2;
    }
    const KPluginMetaData metadata(args[0]);
    for (const char* type : {"image/x-koa", "image/x-c64-picture", "application/x-d64"})
        if (!metadata.mimeTypes().contains(type))
            fault(args[0], QString("its metadata lacks %1").arg(type));
    auto loaded = KPluginFactory::instantiatePlugin<KIO::ThumbnailCreator>(metadata);
    if (!loaded.plugin) {
        fault(args[0], "not loaded: " + loaded.errorText);
        return 1;
    }
    const int size = args[1].toInt();
    for (int i = 3; i < args.size(); ++i) {
        const QString& file = args[i];
        const KIO::ThumbnailRequest request(QUrl::fromLocalFile(file), QSize(size, size), QString(),
                                            1.0, 0);
        const KIO::ThumbnailResult result = loaded.plugin->create(request);
        const QString png = args[2] + "/" + QFileInfo(file).fileName() + ".png";
        if (!QFileInfo::exists(png)) {
            if (result.isValid())
                fault(file, "a preview, but the thumbnailer makes none");
            continue;
        }
        if (!result.isValid()) {
            fault(file, "no preview");
            continue;
        }
        if (const QString diff = difference(result.image(), QImage(png, "PNG")); !diff.isEmpty())
            fault(file, diff);
    }
    delete loaded.plugin;
    std::printf("kio_check: %d files at %d, %d faults\n", int(args.size() - 3), size, faults);
    return faults == 0 ? 0 : 1;
}

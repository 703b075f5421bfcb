// The KIO thumbnail plugin: previews of C64 pictures and disk images in KDE's file manager
// and file dialogs. KIO's thumbnail worker loads it for the MIME types of its metadata
// (written from the format registry by quendra-kio-json) and asks for a picture of a local
// file; the plugin gives the thumbnailer's picture (thumbnailer/thumbnail_picture.h): the
// same road, the same fit, a disk image's contact sheet. It scales nothing else.
#include <KIO/ThumbnailCreator>
#include <KPluginFactory>
#include <QFile>
#include <QImage>
#include <QUrl>
#include <algorithm>
#include <cstring>
#include <new>

#include "thumbnailer/thumbnail_picture.h"

namespace {

// The worker asks for sizes up to its largest preview; a wild request stays bounded.
constexpr int kLargestSide = 4096;

QImage toQImage(const quendra::Image& picture) {
    QImage image(picture.width(), picture.height(), QImage::Format_RGB888);
    if (image.isNull())
        return image;
    for (int y = 0; y < picture.height(); ++y)
        std::memcpy(image.scanLine(y), picture.data() + picture.bytesPerLine() * y,
                    picture.bytesPerLine());
    return image;
}

class C64ThumbnailCreator : public KIO::ThumbnailCreator {
    Q_OBJECT
  public:
    C64ThumbnailCreator(QObject* parent, const QVariantList& args)
        : KIO::ThumbnailCreator(parent, args) {}

    KIO::ThumbnailResult create(const KIO::ThumbnailRequest& request) override {
        const QString path = request.url().toLocalFile();
        const QSize size = request.targetSize();
        const int maxSide = std::min({size.width(), size.height(), kLargestSide});
        if (path.isEmpty() || maxSide < 1)
            return KIO::ThumbnailResult::fail();
        try {
            const quendra::thumbnail::Made made =
                quendra::thumbnail::makeThumbnail(QFile::encodeName(path).toStdString(), maxSide);
            const QImage image = toQImage(made.image);
            return image.isNull() ? KIO::ThumbnailResult::fail()
                                  : KIO::ThumbnailResult::pass(image);
        } catch (const std::bad_alloc&) {
            return KIO::ThumbnailResult::fail();
        }
    }
};

} // namespace

K_PLUGIN_CLASS_WITH_JSON(C64ThumbnailCreator, "quendra_thumbnail.json")

#include "c64_thumbnail_creator.moc"

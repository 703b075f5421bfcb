// PictureView: the work done through the image library: flip and rotate, the six writes,
// loading by file name and the image info record; the messages the user sees for them.
#include "components/pmultiimage.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <algorithm>

#include "components/dialogs.h"

namespace quendra {

void PictureView::libraryError(const imagelib::Status& status) {
    const QString text = status.message.isEmpty()
                             ? QStringLiteral("Image library error %1").arg(status.code)
                             : status.message;
    dialogs::message(this, QMessageBox::Critical, QStringLiteral("Error"), text, QMessageBox::Ok);
}

void PictureView::information(const QString& text) {
    dialogs::message(this, QMessageBox::Information, QStringLiteral("Information"), text,
                     QMessageBox::Ok);
}

void PictureView::transform(bool rotating) {
    if (picture_.isNull())
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    bool raised = false;
    try {
        const bool twin = !stored_.isNull();
        QImage temporary = (twin ? stored_ : picture_).copy();
        const auto& operation = rotating ? library_.rotate : library_.flip;
        const imagelib::Status status = operation(displayDepth(), temporary);
        if (status.ok()) {
            if (twin && picture_.format() != QImage::Format_Indexed8)
                changePicture(temporary.convertToFormat(picture_.format()), temporary);
            else
                changePicture(temporary);
            (rotating ? rotated_ : flipped_) = !(rotating ? rotated_ : flipped_);
        } else {
            // The picture stays as it was: a failed operation may have left the copy
            // half-done or empty.
            libraryError(status);
        }
    } catch (...) {
        raised = true;
    }
    QGuiApplication::restoreOverrideCursor();
    if (raised)
        information(rotating ? QStringLiteral("Error rotating image")
                             : QStringLiteral("Error flipping image"));
}

bool PictureView::write(PictureFormat format, const QString& name) {
    imagelib::Status status;
    try {
        const int depth = placement::writeDepth(writeRes_, format, displayDepth());
        if (!name.isEmpty())
            defSaveFilename_ = name;
        const QString& file = defSaveFilename_;
        const QImage& written = stored_.isNull() ? picture_ : stored_;
        switch (format) {
        case PictureFormat::BMP:
            status = library_.writeBMP(file, depth, written);
            break;
        case PictureFormat::PNG:
            status = library_.writePNG(file, depth, pngInterlaced_, written);
            break;
        case PictureFormat::TIFF:
            status = library_.writeTIFF(file, placement::tiffCompressionCode(tifCompress_), depth,
                                        written);
            break;
        case PictureFormat::PCX:
            status = library_.writePCX(file, depth, written);
            break;
        case PictureFormat::GIF:
            status = library_.writeGIF(file, depth, written);
            break;
        case PictureFormat::JPEG:
            status = library_.writeJPEG(file, jpegQuality_, jpegSmooth_, depth, written);
            break;
        case PictureFormat::Godot4Bit: // the main window writes GoDot files itself
            status = {imagelib::kBadArgument, QStringLiteral("GoDot 4Bit is not written here")};
            break;
        }
    } catch (...) {
        return false; // errors other than a library status pass without a word
    }
    if (status.ok())
        return true;
    libraryError(status);
    information(QStringLiteral("Writing %1 file failed").arg(QLatin1String(extensionOf(format))));
    return false;
}

namespace {

// ".EXT" of the file-name part, upper-cased and cut to four characters ("" without a dot).
QString extensionOf(const QString& path) {
    const qsizetype slash = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    const QString name = path.mid(slash + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot).toUpper().left(4);
}

} // namespace

QString PictureView::load() {
    zoom_.active = false;
    flipped_ = false;
    rotated_ = false;
    const QString extension = extensionOf(imageName_);
    if (extension != QLatin1String(".RES") && !QFileInfo(imageName_).isFile()) {
        changePicture(QImage());
        loadStatus_ = QStringLiteral("file not found");
        return loadStatus_;
    }
    const int depth = placement::readDepth(readRes_, displayDepth());

    struct Entry {
        const char* extension;
        Library::Reader Library::*reader;
        const char* failure;
    };
    static const Entry readers[] = {
        {".BMP", &Library::readBMP, "Reading bmp file failed"},
        {".THB", &Library::readBMP, "Reading bmp file failed"},
        {".THJ", &Library::readJPEG, "Reading jpg file failed"},
        {".JPG", &Library::readJPEG, "Reading jpg file failed"},
        {".PNG", &Library::readPNG, "Reading png file failed"},
        {".GIF", &Library::readGIF, "Reading gif file failed"},
        {".TIF", &Library::readTIFF, "Reading tif file failed"},
        {".PCX", &Library::readPCX, "Reading pcx file failed"},
    };
    // Any other extension (the resource, metafile, icon and message forms among them)
    // loads nothing and keeps the picture.
    for (const Entry& entry : readers) {
        if (extension != QLatin1String(entry.extension))
            continue;
        try {
            changePicture(QImage()); // the old content goes first
            QImage bitmap;
            const imagelib::Status status =
                (library_.*entry.reader)(imageName_, depth, dither_, bitmap);
            if (!status.ok()) {
                libraryError(status);
                information(QLatin1String(entry.failure));
                bitmap = QImage();
            }
            changePicture(bitmap);
            if (status.ok())
                fillInfo();
        } catch (...) {
            changePicture(QImage());
        }
        break;
    }
    loadStatus_ = imageName_.toUpper();
    return loadStatus_;
}

void PictureView::fillInfo() {
    imagelib::ImageInfo record;
    const imagelib::Status status = library_.imageInfo(imageName_, record);
    if (!status.ok())
        libraryError(status);
    info_ = record;
    fileSize_ = QFileInfo(imageName_).size();
}

} // namespace quendra

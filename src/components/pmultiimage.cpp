#include "components/pmultiimage.h"

#include <algorithm>

#include <QFileInfo>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include "components/bridge.h"
#include "components/dialogs.h"
#include "components/render.h"

namespace quendra {

struct PictureView::Private {
    explicit Private(PictureView* owner) : q(owner) {}

    PictureView* q;
    QImage picture; // as the caller gave it
    // The same picture as its files store it (8-bit indices in the decoded palette's order,
    // so that writes give the bytes quendra-convert writes), when known; else null.
    QImage stored;
    QImage display; // the same in the frame's pixel format
    QImage frame;   // client-sized drawing surface, kept between paints

    bool center = false, stretch = false, stretchRatio = false, autoSize = false;
    bool shrinkToFit = false;
    QImage shrunkCopy; // display scaled down for the client, kept between paints
    int scale = 1; // whole-number enlargement of the unscaled placement
    BorderStyle borderStyle = BorderStyle::NoBorder;
    QColor color;
    bool dither = true;
    ReadDepth readRes = ReadDepth::Automatic;
    WriteDepth writeRes = WriteDepth::Automatic;
    TiffSaveCompression tifCompress = TiffSaveCompression::Uncompressed;
    int jpegQuality = 25, jpegSmooth = 0;
    bool pngInterlaced = false;
    QString defSaveFilename;
    bool libPalette = true;

    QString imageName, loadStatus;
    imagelib::ImageInfo info;
    qint64 fileSize = 0;
    ZoomState zoom;
    bool flipped = false, rotated = false;
    Library library;

    void setPicture(const QImage& image, const QImage& storedForm = {});
    bool genericDrawing() const;
    QRect genericTarget(const QRect& client) const;
    placement::Area destination(const QSize& client) const;
    QRect source() const;
    void paintOwn(QPainter& painter, const QRect& client);
    bool shrinks(const QSize& client) const;
    const QImage& shrunkFor(const QSize& client);
    void paintGeneric(QPainter& painter, const QRect& client);

    void libraryError(const imagelib::Status& status);
    void information(const QString& text);
    void transform(bool rotating);
    void write(PictureFormat format, const QString& name);
    QString load();
    void fillInfo();
};

// Every change of the picture ends here.
void PictureView::Private::setPicture(const QImage& image, const QImage& storedForm) {
    picture = image;
    shrunkCopy = QImage();
    stored = storedForm.isNull() && image.format() == QImage::Format_Indexed8 ? image : storedForm;
    display = render::forDisplay(image);
    if (autoSize && picture.width() > 0 && picture.height() > 0)
        q->resize(picture.size());
    // A picture exactly the control's size covers it: no background clearing needed.
    q->setAttribute(Qt::WA_OpaquePaintEvent, !picture.isNull() && picture.size() == q->size());
    q->update();
}

bool PictureView::Private::genericDrawing() const {
    return !libPalette || info.type == QLatin1String("ICO") || info.type == QLatin1String("WMF");
}

// The platform drawing: stretched to the client, or W x H centred on the control's outer
// size, or at the client's corner. No proportional scaling and no zoom on this path.
QRect PictureView::Private::genericTarget(const QRect& client) const {
    if (stretch)
        return client;
    if (center)
        return {client.x() + (q->width() - picture.width()) / 2,
                client.y() + (q->height() - picture.height()) / 2, picture.width(),
                picture.height()};
    return {client.topLeft(), picture.size()};
}

placement::Area PictureView::Private::destination(const QSize& client) const {
    const int w = picture.width(), h = picture.height();
    if (stretchRatio)
        return placement::proportional(w, h, client.width(), client.height());
    if (stretch)
        return {0, 0, client.width(), client.height()};
    return placement::unscaled(w * scale, h * scale, client.width(), client.height(), center);
}

// The zoom rectangle counts only for the scaled placements.
QRect PictureView::Private::source() const {
    if (zoom.active && (stretch || stretchRatio) && !genericDrawing())
        return {zoom.left, zoom.top, zoom.right - zoom.left, zoom.bottom - zoom.top};
    return {0, 0, picture.width(), picture.height()};
}

bool PictureView::Private::shrinks(const QSize& client) const {
    return shrinkToFit && !stretch && !stretchRatio && scale == 1 && !display.isNull() &&
           (display.width() > client.width() || display.height() > client.height()) &&
           client.width() > 0 && client.height() > 0;
}

const QImage& PictureView::Private::shrunkFor(const QSize& client) {
    const QSize target = display.size().scaled(client, Qt::KeepAspectRatio);
    if (shrunkCopy.size() != target) {
        // Qt's smooth scaling averages the area each screen pixel covers.
        shrunkCopy = display.scaled(target.expandedTo({1, 1}), Qt::IgnoreAspectRatio,
                                    Qt::SmoothTransformation)
                         .convertToFormat(display.format());
    }
    return shrunkCopy;
}

void PictureView::Private::paintOwn(QPainter& painter, const QRect& client) {
    if (frame.size() != client.size())
        frame = QImage(client.size(), QImage::Format_RGB32);
    if (frame.isNull()) { // no drawing surface to be had: show the background only
        painter.fillRect(client, color);
        return;
    }
    // The copy writes the pixels it covers; the background goes only where it does not.
    QRect covered;
    if (shrinks(client.size())) {
        const QImage& small = shrunkFor(client.size());
        const placement::Area to = placement::unscaled(small.width(), small.height(),
                                                       client.width(), client.height(), center);
        covered = render::unscaled(frame, small, to.x, to.y);
    } else if (!display.isNull()) {
        const placement::Area to = destination(client.size());
        covered = stretch || stretchRatio || scale > 1
                      ? render::scaled(frame, display, source(), to, color.rgb())
                      : render::unscaled(frame, display, to.x, to.y);
    }
    render::fillOutside(frame, covered, color.rgb());
    painter.drawImage(client.topLeft(), frame);
}

void PictureView::Private::paintGeneric(QPainter& painter, const QRect& client) {
    painter.fillRect(client, color);
    if (display.isNull())
        return;
    painter.save();
    painter.setClipRect(client);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(genericTarget(client), display);
    painter.restore();
}

void PictureView::Private::libraryError(const imagelib::Status& status) {
    const QString text = status.message.isEmpty()
                             ? QStringLiteral("Image library error %1").arg(status.code)
                             : status.message;
    dialogs::message(q, QMessageBox::Critical, QStringLiteral("Error"), text, QMessageBox::Ok);
}

void PictureView::Private::information(const QString& text) {
    dialogs::message(q, QMessageBox::Information, QStringLiteral("Information"), text,
                     QMessageBox::Ok);
}

void PictureView::Private::transform(bool rotating) {
    if (picture.isNull())
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    bool raised = false;
    try {
        const bool twin = !stored.isNull();
        QImage temporary = (twin ? stored : picture).copy();
        const auto& operation = rotating ? library.rotate : library.flip;
        const imagelib::Status status = operation(q->displayDepth(), temporary);
        if (status.ok()) {
            if (twin && picture.format() != QImage::Format_Indexed8)
                setPicture(temporary.convertToFormat(picture.format()), temporary);
            else
                setPicture(temporary);
            (rotating ? rotated : flipped) = !(rotating ? rotated : flipped);
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

void PictureView::Private::write(PictureFormat format, const QString& name) {
    imagelib::Status status;
    try {
        const int depth = placement::writeDepth(writeRes, format, q->displayDepth());
        if (!name.isEmpty())
            defSaveFilename = name;
        const QString& file = defSaveFilename;
        const QImage& picture = stored.isNull() ? this->picture : stored;
        switch (format) {
        case PictureFormat::BMP:
            status = library.writeBMP(file, depth, picture);
            break;
        case PictureFormat::PNG:
            status = library.writePNG(file, depth, pngInterlaced, picture);
            break;
        case PictureFormat::TIFF:
            status = library.writeTIFF(file, placement::tiffCompressionCode(tifCompress), depth,
                                       picture);
            break;
        case PictureFormat::PCX:
            status = library.writePCX(file, depth, picture);
            break;
        case PictureFormat::GIF:
            status = library.writeGIF(file, depth, picture);
            break;
        case PictureFormat::JPEG:
            status = library.writeJPEG(file, jpegQuality, jpegSmooth, depth, picture);
            break;
        case PictureFormat::Godot4Bit: // the main window writes GoDot files itself
            status = {imagelib::kBadArgument, QStringLiteral("GoDot 4Bit is not written here")};
            break;
        }
    } catch (...) {
        return; // errors other than a library status pass without a word
    }
    if (status.ok())
        return;
    libraryError(status);
    information(QStringLiteral("Writing %1 file failed").arg(QLatin1String(extensionOf(format))));
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

QString PictureView::Private::load() {
    zoom.active = false;
    flipped = false;
    rotated = false;
    const QString extension = extensionOf(imageName);
    if (extension != QLatin1String(".RES") && !QFileInfo(imageName).isFile()) {
        setPicture(QImage());
        loadStatus = QStringLiteral("file not found");
        return loadStatus;
    }
    const int depth = placement::readDepth(readRes, q->displayDepth());

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
            setPicture(QImage()); // the old content goes first
            QImage bitmap;
            const imagelib::Status status =
                (library.*entry.reader)(imageName, depth, dither, bitmap);
            if (!status.ok()) {
                libraryError(status);
                information(QLatin1String(entry.failure));
                bitmap = QImage();
            }
            setPicture(bitmap);
            if (status.ok())
                fillInfo();
        } catch (...) {
            setPicture(QImage());
        }
        break;
    }
    loadStatus = imageName.toUpper();
    return loadStatus;
}

void PictureView::Private::fillInfo() {
    imagelib::ImageInfo record;
    const imagelib::Status status = library.imageInfo(imageName, record);
    if (!status.ok())
        libraryError(status);
    info = record;
    fileSize = QFileInfo(imageName).size();
}

// ---------------------------------------------------------------------------------------

PictureView::PictureView(QWidget* parent) : QWidget(parent), d(new Private(this)) {
    d->color = palette().color(QPalette::Button);
    // The paint covers every pixel of the control, so Qt need not erase it first.
    setAttribute(Qt::WA_NoSystemBackground);
    resize(105, 105);
}

PictureView::~PictureView() {
    delete d;
}

const QImage& PictureView::picture() const {
    return d->picture;
}
void PictureView::setPicture(const QImage& picture) {
    d->setPicture(picture);
}
void PictureView::setPicture(const IndexedImage& picture) {
    d->setPicture(toQImage(picture), toIndexedQImage(picture));
}
void PictureView::clearPicture() {
    d->setPicture(QImage());
}

bool PictureView::center() const {
    return d->center;
}
void PictureView::setCenter(bool on) {
    d->center = on;
    update();
}
bool PictureView::stretch() const {
    return d->stretch;
}
void PictureView::setStretch(bool on) {
    d->stretch = on;
    if (on)
        d->stretchRatio = false;
    update();
}
int PictureView::scale() const {
    return d->scale;
}
void PictureView::setScale(int factor) {
    factor = std::clamp(factor, 1, 64);
    if (factor == d->scale)
        return;
    d->scale = factor;
    update();
}

bool PictureView::shrinkToFit() const {
    return d->shrinkToFit;
}
void PictureView::setShrinkToFit(bool on) {
    d->shrinkToFit = on;
    update();
}
bool PictureView::shrunk() const {
    return d->shrinks(contentsRect().size());
}
bool PictureView::stretchRatio() const {
    return d->stretchRatio;
}
void PictureView::setStretchRatio(bool on) {
    d->stretchRatio = on;
    if (on)
        d->stretch = false;
    update();
}
bool PictureView::autoSize() const {
    return d->autoSize;
}
void PictureView::setAutoSize(bool on) {
    d->autoSize = on;
}
BorderStyle PictureView::borderStyle() const {
    return d->borderStyle;
}
void PictureView::setBorderStyle(BorderStyle style) {
    d->borderStyle = style;
    const int m = style == BorderStyle::SingleBorder ? 1 : 0;
    setContentsMargins(m, m, m, m);
    update();
}
QColor PictureView::color() const {
    return d->color;
}
void PictureView::setColor(const QColor& color) {
    d->color = color;
    update();
}
bool PictureView::imageDither() const {
    return d->dither;
}
void PictureView::setImageDither(bool on) {
    d->dither = on;
}
ReadDepth PictureView::imageReadRes() const {
    return d->readRes;
}
void PictureView::setImageReadRes(ReadDepth r) {
    d->readRes = r;
}
WriteDepth PictureView::imageWriteRes() const {
    return d->writeRes;
}
void PictureView::setImageWriteRes(WriteDepth r) {
    d->writeRes = r;
}
TiffSaveCompression PictureView::tifSaveCompress() const {
    return d->tifCompress;
}
void PictureView::setTifSaveCompress(TiffSaveCompression c) {
    d->tifCompress = c;
}
int PictureView::jpegSaveQuality() const {
    return d->jpegQuality;
}
void PictureView::setJpegSaveQuality(int q) {
    d->jpegQuality = placement::jpegQuality(q);
}
int PictureView::jpegSaveSmooth() const {
    return d->jpegSmooth;
}
void PictureView::setJpegSaveSmooth(int s) {
    d->jpegSmooth = placement::jpegSmoothing(s);
}
bool PictureView::pngInterlaced() const {
    return d->pngInterlaced;
}
void PictureView::setPngInterlaced(bool on) {
    d->pngInterlaced = on;
}
QString PictureView::defSaveFilename() const {
    return d->defSaveFilename;
}
void PictureView::setDefSaveFilename(const QString& name) {
    d->defSaveFilename = name;
}
bool PictureView::imageLibPalette() const {
    return d->libPalette;
}
void PictureView::setImageLibPalette(bool on) {
    d->libPalette = on;
    update();
}

QString PictureView::imageName() {
    return d->load();
}
void PictureView::setImageName(const QString& name) {
    d->imageName = name;
    d->load();
}

void PictureView::zoomIn() {
    if (d->picture.isNull())
        return;
    if (placement::zoomIn(d->zoom, d->picture.width(), d->picture.height()))
        repaint();
}

void PictureView::zoomOut() {
    if (d->picture.isNull())
        return;
    if (placement::zoomOut(d->zoom, d->picture.width(), d->picture.height()))
        repaint();
}

void PictureView::flip() {
    d->transform(false);
}
void PictureView::rotate() {
    d->transform(true);
}
ZoomState PictureView::zoomState() const {
    return d->zoom;
}
bool PictureView::flipped() const {
    return d->flipped;
}
bool PictureView::rotated() const {
    return d->rotated;
}

void PictureView::saveAsBmp(const QString& name) {
    d->write(PictureFormat::BMP, name);
}
void PictureView::saveAsPng(const QString& name) {
    d->write(PictureFormat::PNG, name);
}
void PictureView::saveAsJpeg(const QString& name) {
    d->write(PictureFormat::JPEG, name);
}
void PictureView::saveAsGif(const QString& name) {
    d->write(PictureFormat::GIF, name);
}
void PictureView::saveAsTiff(const QString& name) {
    d->write(PictureFormat::TIFF, name);
}
void PictureView::saveAsPcx(const QString& name) {
    d->write(PictureFormat::PCX, name);
}

int PictureView::writeDepth(const QString& format) const {
    const QString f = format.toUpper();
    PictureFormat which;
    if (f == "BMP")
        which = PictureFormat::BMP;
    else if (f == "PNG")
        which = PictureFormat::PNG;
    else if (f == "TIF" || f == "TIFF")
        which = PictureFormat::TIFF;
    else if (f == "PCX")
        which = PictureFormat::PCX;
    else if (f == "GIF")
        which = PictureFormat::GIF;
    else if (f == "JPG" || f == "JPEG")
        which = PictureFormat::JPEG;
    else
        return 0;
    return placement::writeDepth(d->writeRes, which, displayDepth());
}

int PictureView::displayDepth() const {
    const QScreen* s = screen();
    if (!s)
        s = QGuiApplication::primaryScreen();
    return placement::displayDepthClass(s ? s->depth() : 0);
}

QRect PictureView::destinationRect() const {
    if (d->picture.isNull())
        return {};
    const QRect client = contentsRect();
    if (d->genericDrawing())
        return d->genericTarget(client).translated(-client.topLeft());
    const placement::Area a = d->destination(client.size());
    return {a.x, a.y, a.width, a.height};
}

QRect PictureView::sourceRect() const {
    return d->picture.isNull() ? QRect() : d->source();
}

imagelib::ImageInfo PictureView::imageInfo() const {
    return d->info;
}
qint64 PictureView::imageFileSize() const {
    return d->fileSize;
}
void PictureView::setLibrary(Library library) {
    d->library = std::move(library);
}

void PictureView::paintEvent(QPaintEvent*) {
    {
        QPainter painter(this);
        if (d->borderStyle == BorderStyle::SingleBorder) {
            painter.setPen(palette().color(QPalette::WindowText));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(QRect(0, 0, width() - 1, height() - 1));
        }
        const QRect client = contentsRect();
        if (!client.isEmpty()) {
            if (d->genericDrawing())
                d->paintGeneric(painter, client);
            else
                d->paintOwn(painter, client);
        }
    }
    emit painted(this);
}

void PictureView::mousePressEvent(QMouseEvent* event) {
    emit mousePressed(event->button(), event->position().toPoint());
    event->accept();
}

} // namespace quendra

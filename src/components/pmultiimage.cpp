// PictureView: construction, the picture, the settings and their setter rules, zoom, and
// the entry points of the writes. Drawing is pmultiimage_paint.cpp; flip, rotate, writes and
// loads through the image library are pmultiimage_files.cpp.
#include "components/pmultiimage.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>

#include "components/bridge.h"
#include "components/render.h"

namespace quendra {

PictureView::PictureView(QWidget* parent) : QWidget(parent) {
    color_ = palette().color(QPalette::Button);
    // The paint covers every pixel of the control, so Qt need not erase it first.
    setAttribute(Qt::WA_NoSystemBackground);
    resize(105, 105);
}

PictureView::~PictureView() = default;

// Every change of the picture ends here.
void PictureView::changePicture(const QImage& image, const QImage& storedForm) {
    picture_ = image;
    shrunkCopy_ = QImage();
    stored_ = storedForm.isNull() && image.format() == QImage::Format_Indexed8 ? image : storedForm;
    display_ = render::forDisplay(image);
    if (autoSize_ && picture_.width() > 0 && picture_.height() > 0)
        resize(picture_.size());
    // A picture exactly the control's size covers it: no background clearing needed.
    setAttribute(Qt::WA_OpaquePaintEvent, !picture_.isNull() && picture_.size() == size());
    update();
}

const QImage& PictureView::picture() const {
    return picture_;
}
void PictureView::setPicture(const QImage& picture) {
    changePicture(picture);
}
void PictureView::setPicture(const IndexedImage& picture) {
    changePicture(toQImage(picture), toIndexedQImage(picture));
}
void PictureView::clearPicture() {
    changePicture(QImage());
}

bool PictureView::center() const {
    return center_;
}
void PictureView::setCenter(bool on) {
    center_ = on;
    update();
}
bool PictureView::stretch() const {
    return stretch_;
}
void PictureView::setStretch(bool on) {
    stretch_ = on;
    if (on)
        stretchRatio_ = false;
    update();
}
int PictureView::scale() const {
    return scale_;
}
void PictureView::setScale(int factor) {
    factor = std::clamp(factor, 1, 64);
    if (factor == scale_)
        return;
    scale_ = factor;
    update();
}

bool PictureView::shrinkToFit() const {
    return shrinkToFit_;
}
void PictureView::setShrinkToFit(bool on) {
    shrinkToFit_ = on;
    update();
}
bool PictureView::shrunk() const {
    return shrinks(contentsRect().size());
}
bool PictureView::stretchRatio() const {
    return stretchRatio_;
}
void PictureView::setStretchRatio(bool on) {
    stretchRatio_ = on;
    if (on)
        stretch_ = false;
    update();
}
bool PictureView::autoSize() const {
    return autoSize_;
}
void PictureView::setAutoSize(bool on) {
    autoSize_ = on;
}
BorderStyle PictureView::borderStyle() const {
    return borderStyle_;
}
void PictureView::setBorderStyle(BorderStyle style) {
    borderStyle_ = style;
    const int m = style == BorderStyle::SingleBorder ? 1 : 0;
    setContentsMargins(m, m, m, m);
    update();
}
QColor PictureView::color() const {
    return color_;
}
void PictureView::setColor(const QColor& color) {
    color_ = color;
    update();
}
bool PictureView::imageDither() const {
    return dither_;
}
void PictureView::setImageDither(bool on) {
    dither_ = on;
}
ReadDepth PictureView::imageReadRes() const {
    return readRes_;
}
void PictureView::setImageReadRes(ReadDepth r) {
    readRes_ = r;
}
WriteDepth PictureView::imageWriteRes() const {
    return writeRes_;
}
void PictureView::setImageWriteRes(WriteDepth r) {
    writeRes_ = r;
}
TiffSaveCompression PictureView::tifSaveCompress() const {
    return tifCompress_;
}
void PictureView::setTifSaveCompress(TiffSaveCompression c) {
    tifCompress_ = c;
}
int PictureView::jpegSaveQuality() const {
    return jpegQuality_;
}
void PictureView::setJpegSaveQuality(int q) {
    jpegQuality_ = placement::jpegQuality(q);
}
int PictureView::jpegSaveSmooth() const {
    return jpegSmooth_;
}
void PictureView::setJpegSaveSmooth(int s) {
    jpegSmooth_ = placement::jpegSmoothing(s);
}
bool PictureView::pngInterlaced() const {
    return pngInterlaced_;
}
void PictureView::setPngInterlaced(bool on) {
    pngInterlaced_ = on;
}
QString PictureView::defSaveFilename() const {
    return defSaveFilename_;
}
void PictureView::setDefSaveFilename(const QString& name) {
    defSaveFilename_ = name;
}
bool PictureView::imageLibPalette() const {
    return libPalette_;
}
void PictureView::setImageLibPalette(bool on) {
    libPalette_ = on;
    update();
}

QString PictureView::imageName() {
    return load();
}
void PictureView::setImageName(const QString& name) {
    imageName_ = name;
    load();
}

void PictureView::zoomIn() {
    if (picture_.isNull())
        return;
    if (placement::zoomIn(zoom_, picture_.width(), picture_.height()))
        repaint();
}

void PictureView::zoomOut() {
    if (picture_.isNull())
        return;
    if (placement::zoomOut(zoom_, picture_.width(), picture_.height()))
        repaint();
}

void PictureView::flip() {
    transform(false);
}
void PictureView::rotate() {
    transform(true);
}
ZoomState PictureView::zoomState() const {
    return zoom_;
}
bool PictureView::flipped() const {
    return flipped_;
}
bool PictureView::rotated() const {
    return rotated_;
}

bool PictureView::saveAsBmp(const QString& name) {
    return write(PictureFormat::BMP, name);
}
bool PictureView::saveAsPng(const QString& name) {
    return write(PictureFormat::PNG, name);
}
bool PictureView::saveAsJpeg(const QString& name) {
    return write(PictureFormat::JPEG, name);
}
bool PictureView::saveAsGif(const QString& name) {
    return write(PictureFormat::GIF, name);
}
bool PictureView::saveAsTiff(const QString& name) {
    return write(PictureFormat::TIFF, name);
}
bool PictureView::saveAsPcx(const QString& name) {
    return write(PictureFormat::PCX, name);
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
    return placement::writeDepth(writeRes_, which, displayDepth());
}

int PictureView::displayDepth() const {
    const QScreen* s = screen();
    if (!s)
        s = QGuiApplication::primaryScreen();
    return placement::displayDepthClass(s ? s->depth() : 0);
}

imagelib::ImageInfo PictureView::imageInfo() const {
    return info_;
}
qint64 PictureView::imageFileSize() const {
    return fileSize_;
}
void PictureView::setLibrary(Library library) {
    library_ = std::move(library);
}

void PictureView::mousePressEvent(QMouseEvent* event) {
    emit mousePressed(event->button(), event->position().toPoint());
    event->accept();
}

} // namespace quendra

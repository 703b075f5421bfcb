// PictureView: the picture area. Owns one picture, paints it 1:1 (optionally centred),
// stretched, or scaled keeping its proportions, zooms by cutting a margin off the picture,
// flips and rotates through the image library, and writes the six common formats.
//
// The settings and the picture code are pmultiimage.cpp, the drawing pmultiimage_paint.cpp,
// the work through the image library (flip, rotate, writes, loads) pmultiimage_files.cpp.
#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>

#include "components/image_library.h"
#include "components/placement.h"
#include "decode/image.h"

class QPainter;

namespace quendra {

class PictureView : public QWidget {
    Q_OBJECT
  public:
    explicit PictureView(QWidget* parent = nullptr);
    ~PictureView() override;

    // The picture (a copy is taken); every change runs the picture-changed rule.
    const QImage& picture() const;
    void setPicture(const QImage& picture);
    // A reader's picture: shown in 32-bit RGB (picture()), written and turned as its
    // indices in its palette's order, so that a save gives the converter's bytes.
    void setPicture(const IndexedImage& picture);
    void clearPicture();

    // Settings.
    bool center() const;
    void setCenter(bool on);
    bool stretch() const;
    void setStretch(bool on); // switches StretchRatio off when on
    // Whole-number enlargement of the unscaled placement (1: 1:1); every picture pixel
    // becomes a square of factor x factor screen pixels. Stretch and StretchRatio ignore it.
    int scale() const;
    void setScale(int factor); // 1..64
    // A picture larger than the client is shown whole, scaled down keeping its
    // proportions with area averaging (no dropped lines), where the 1:1 placement applies.
    bool shrinkToFit() const;
    void setShrinkToFit(bool on);
    // Whether the picture is shown scaled down now.
    bool shrunk() const;
    bool stretchRatio() const;
    void setStretchRatio(bool on); // switches Stretch off when on
    bool autoSize() const;
    void setAutoSize(bool on);
    BorderStyle borderStyle() const;
    void setBorderStyle(BorderStyle style);
    QColor color() const; // background of the uncovered area
    void setColor(const QColor& color);
    bool imageDither() const;
    void setImageDither(bool on);
    ReadDepth imageReadRes() const;
    void setImageReadRes(ReadDepth r);
    WriteDepth imageWriteRes() const;
    void setImageWriteRes(WriteDepth r);
    TiffSaveCompression tifSaveCompress() const;
    void setTifSaveCompress(TiffSaveCompression c);
    int jpegSaveQuality() const;
    void setJpegSaveQuality(int q); // 1..100 kept, 0 or above 100 stores 25
    int jpegSaveSmooth() const;
    void setJpegSaveSmooth(int s); // 0..100 kept, above 100 stores 5
    bool pngInterlaced() const;
    void setPngInterlaced(bool on);
    QString defSaveFilename() const;
    void setDefSaveFilename(const QString& name);
    bool imageLibPalette() const;
    void setImageLibPalette(bool on);

    // ImageName: writing stores the name and loads; reading loads and returns the status text.
    QString imageName();
    void setImageName(const QString& name);

    // Zoom, flip, rotate.
    void zoomIn();
    void zoomOut();
    void flip();
    void rotate();
    ZoomState zoomState() const;
    bool flipped() const;
    bool rotated() const;

    // Writes; each reports its failure to the user through the dialog seam and returns
    // whether the file was written.
    bool saveAsBmp(const QString& name);
    bool saveAsPng(const QString& name);
    bool saveAsJpeg(const QString& name);
    bool saveAsGif(const QString& name);
    bool saveAsTiff(const QString& name);
    bool saveAsPcx(const QString& name);

    // The depth passed to the library for a write of `format` ("BMP", "PNG", "TIF", "PCX",
    // "GIF", "JPG") with the current ImageWriteRes.
    int writeDepth(const QString& format) const;
    // The screen's depth reduced to 4, 8 or 24 (24 where none is reported).
    int displayDepth() const;

    // Where the picture lands for the current settings and size (in client coordinates),
    // and which part of the picture is copied there.
    QRect destinationRect() const;
    QRect sourceRect() const;

    // The image info record of the last successful load through ImageName, and the
    // file's length in bytes.
    imagelib::ImageInfo imageInfo() const;
    qint64 imageFileSize() const;

    // The image library operations the component calls; the real library by default.
    // Tests replace single operations to watch the arguments or to make them fail.
    struct Library {
        using Reader = std::function<imagelib::Status(const QString&, int, bool, QImage&)>;
        using Writer = std::function<imagelib::Status(const QString&, int, const QImage&)>;
        using Transform = std::function<imagelib::Status(int, QImage&)>;
        std::function<imagelib::Status(const QString&, imagelib::ImageInfo&)> imageInfo =
            imagelib::imageInfo;
        Reader readBMP = imagelib::readBMP;
        Reader readJPEG = imagelib::readJPEG;
        Reader readGIF = imagelib::readGIF;
        Reader readPCX = imagelib::readPCX;
        Reader readPNG = imagelib::readPNG;
        Reader readTIFF = imagelib::readTIFF;
        Writer writeBMP = imagelib::writeBMP;
        Writer writeGIF = imagelib::writeGIF;
        Writer writePCX = imagelib::writePCX;
        // file, quality, smoothing, depth, picture
        std::function<imagelib::Status(const QString&, int, int, int, const QImage&)> writeJPEG =
            imagelib::writeJPEG;
        // file, depth, interlaced, picture
        std::function<imagelib::Status(const QString&, int, bool, const QImage&)> writePNG =
            imagelib::writePNG;
        // file, compression code, depth, picture
        std::function<imagelib::Status(const QString&, int, int, const QImage&)> writeTIFF =
            imagelib::writeTIFF;
        Transform flip = imagelib::flip;
        Transform rotate = imagelib::rotate;
    };
    void setLibrary(Library library);

  signals:
    void painted(QObject* sender);
    void mousePressed(Qt::MouseButton button, QPoint position);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    // Every change of the picture ends here: `storedForm` is the picture as its files store
    // it (8-bit indices in the decoded palette's order), when known.
    void changePicture(const QImage& image, const QImage& storedForm = {});

    // Drawing (pmultiimage_paint.cpp).
    bool genericDrawing() const;
    QRect genericTarget(const QRect& client) const;
    placement::Area destination(const QSize& client) const;
    QRect source() const;
    bool shrinks(const QSize& client) const;
    const QImage& shrunkFor(const QSize& client);
    void paintOwn(QPainter& painter, const QRect& client);
    void paintGeneric(QPainter& painter, const QRect& client);

    // Work through the image library and its messages (pmultiimage_files.cpp).
    void libraryError(const imagelib::Status& status);
    void information(const QString& text);
    void transform(bool rotating);
    bool write(PictureFormat format, const QString& name);
    QString load();
    void fillInfo();

    QImage picture_; // as the caller gave it
    // The same picture as its files store it (8-bit indices in the decoded palette's order,
    // so that writes give the bytes quendra-convert writes), when known; else null.
    QImage stored_;
    QImage display_;    // the same in the frame's pixel format
    QImage frame_;      // client-sized drawing surface, kept between paints
    QImage shrunkCopy_; // display_ scaled down for the client, kept between paints

    bool center_ = false, stretch_ = false, stretchRatio_ = false, autoSize_ = false;
    bool shrinkToFit_ = false;
    int scale_ = 1; // whole-number enlargement of the unscaled placement
    BorderStyle borderStyle_ = BorderStyle::NoBorder;
    QColor color_;
    bool dither_ = true;
    ReadDepth readRes_ = ReadDepth::Automatic;
    WriteDepth writeRes_ = WriteDepth::Automatic;
    TiffSaveCompression tifCompress_ = TiffSaveCompression::Uncompressed;
    int jpegQuality_ = 25, jpegSmooth_ = 0;
    bool pngInterlaced_ = false;
    QString defSaveFilename_;
    bool libPalette_ = true;

    QString imageName_, loadStatus_;
    imagelib::ImageInfo info_;
    qint64 fileSize_ = 0;
    ZoomState zoom_;
    bool flipped_ = false, rotated_ = false;
    Library library_;
};

} // namespace quendra

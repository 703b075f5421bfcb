#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <stdexcept>
#include <vector>

#include "components/dialogs.h"
#include "components/pmultiimage.h"
#include "picture_pattern.h"

namespace quendra {
namespace {

using testing::checkerboard;
using testing::kGreen;
using testing::kRed;
using testing::positionColour;
using testing::positionOf;
using testing::positionPicture;

constexpr QRgb kBack = 0xFF0000FF; // never a position colour

struct Box {
    QMessageBox::Icon icon;
    QString title, text;
    bool operator==(const Box&) const = default;
};

void PrintTo(const Box& b, std::ostream* os) {
    *os << "{" << int(b.icon) << ", " << b.title.toStdString() << ", " << b.text.toStdString()
        << "}";
}

// Records every box instead of showing it.
class BoxRecorder {
  public:
    BoxRecorder() {
        previous_ =
            dialogs::setHandler({.message =
                                     [this](QWidget*, QMessageBox::Icon icon, const QString& title,
                                            const QString& text, QMessageBox::StandardButtons) {
                                         boxes.push_back({icon, title, text});
                                         return QMessageBox::Ok;
                                     },
                                 .saveFileName = {}});
    }
    ~BoxRecorder() { dialogs::setHandler(previous_); }
    std::vector<Box> boxes;

  private:
    dialogs::Handler previous_;
};

const Box kInfo(const char* text) {
    return {QMessageBox::Information, "Information", text};
}
const Box kError(const char* text) {
    return {QMessageBox::Critical, "Error", text};
}

class PMultiImage : public ::testing::Test {
  protected:
    BoxRecorder recorder;
    PictureView w;

    // A widget whose client is exactly cw x ch, showing `picture` on kBack.
    void setUpClient(int cw, int ch, const QImage& picture, bool border = false) {
        if (border)
            w.setBorderStyle(BorderStyle::SingleBorder);
        const int b = border ? 2 : 0;
        w.resize(cw + b, ch + b);
        w.setColor(QColor::fromRgb(kBack));
        w.setPicture(picture);
    }
    QImage client() {
        const QImage shot = w.grab().toImage().convertToFormat(QImage::Format_RGB32);
        return shot.copy(w.contentsRect());
    }
};

TEST_F(PMultiImage, NewComponentDefaults) {
    EXPECT_EQ(w.size(), QSize(105, 105));
    EXPECT_TRUE(w.picture().isNull());
    EXPECT_FALSE(w.center());
    EXPECT_FALSE(w.stretch());
    EXPECT_FALSE(w.stretchRatio());
    EXPECT_FALSE(w.autoSize());
    EXPECT_EQ(w.borderStyle(), BorderStyle::NoBorder);
    EXPECT_EQ(w.color(), QApplication::palette().color(QPalette::Button));
    EXPECT_TRUE(w.imageDither());
    EXPECT_EQ(w.imageReadRes(), ReadDepth::Automatic);
    EXPECT_EQ(w.imageWriteRes(), WriteDepth::Automatic);
    EXPECT_EQ(w.tifSaveCompress(), TiffSaveCompression::Uncompressed);
    EXPECT_EQ(w.jpegSaveQuality(), 25);
    EXPECT_EQ(w.jpegSaveSmooth(), 0);
    EXPECT_FALSE(w.pngInterlaced());
    EXPECT_TRUE(w.defSaveFilename().isEmpty());
    EXPECT_TRUE(w.imageLibPalette());
    EXPECT_EQ(w.zoomState().margin, 0);
    EXPECT_FALSE(w.zoomState().active);
    EXPECT_FALSE(w.flipped());
    EXPECT_FALSE(w.rotated());
}

TEST_F(PMultiImage, StretchAndStretchRatioExcludeEachOther) {
    w.setStretch(true);
    w.setStretchRatio(true);
    EXPECT_TRUE(w.stretchRatio());
    EXPECT_FALSE(w.stretch());
    w.setStretch(true);
    EXPECT_TRUE(w.stretch());
    EXPECT_FALSE(w.stretchRatio());
    w.setStretch(false); // switching one off does not switch the other on
    EXPECT_FALSE(w.stretch());
    EXPECT_FALSE(w.stretchRatio());
}

TEST_F(PMultiImage, JpegSetterRules) {
    w.setJpegSaveQuality(0);
    EXPECT_EQ(w.jpegSaveQuality(), 25);
    w.setJpegSaveQuality(100);
    EXPECT_EQ(w.jpegSaveQuality(), 100);
    w.setJpegSaveQuality(101);
    EXPECT_EQ(w.jpegSaveQuality(), 25);
    w.setJpegSaveSmooth(101);
    EXPECT_EQ(w.jpegSaveSmooth(), 5);
    w.setJpegSaveSmooth(100);
    EXPECT_EQ(w.jpegSaveSmooth(), 100);
}

TEST_F(PMultiImage, PictureIsACopyAndChangesRunTheRule) {
    QImage mine = positionPicture(40, 30);
    w.setPicture(mine);
    mine.fill(Qt::white);
    EXPECT_EQ(w.picture().pixel(3, 4), positionColour(3, 4));
    EXPECT_EQ(w.size(), QSize(105, 105)); // AutoSize off
    EXPECT_FALSE(w.testAttribute(Qt::WA_OpaquePaintEvent));

    w.setAutoSize(true);
    w.setPicture(positionPicture(64, 48));
    EXPECT_EQ(w.size(), QSize(64, 48));
    EXPECT_TRUE(w.testAttribute(Qt::WA_OpaquePaintEvent)); // exactly the control's size
    w.clearPicture();
    EXPECT_TRUE(w.picture().isNull());
    EXPECT_EQ(w.size(), QSize(64, 48)); // an empty picture keeps the size
    EXPECT_FALSE(w.testAttribute(Qt::WA_OpaquePaintEvent));
}

TEST_F(PMultiImage, DisplayDepthFollowsTheScreen) {
    const QScreen* screen = w.screen() ? w.screen() : QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(w.displayDepth(), placement::displayDepthClass(screen->depth()));
}

TEST_F(PMultiImage, WriteDepthPerFormat) {
    w.setImageWriteRes(WriteDepth::TrueColour);
    EXPECT_EQ(w.writeDepth("GIF"), 8);
    EXPECT_EQ(w.writeDepth("BMP"), 24);
    EXPECT_EQ(w.writeDepth("JPG"), 24);
    w.setImageWriteRes(WriteDepth::JpegGrey);
    EXPECT_EQ(w.writeDepth("JPG"), 1);
    EXPECT_EQ(w.writeDepth("TIF"), 8);
    w.setImageWriteRes(WriteDepth::Automatic);
    const int display = w.displayDepth();
    for (const char* f : {"BMP", "PNG", "TIF", "PCX"})
        EXPECT_EQ(w.writeDepth(f), display) << f;
    EXPECT_EQ(w.writeDepth("GIF"), std::min(display, 8));
    EXPECT_EQ(w.writeDepth("JPG"), 24);
}

// ---- Painting ---------------------------------------------------------------------------

TEST_F(PMultiImage, ProportionalPlacementExamples) {
    setUpClient(480, 400, positionPicture(320, 200));
    w.setStretchRatio(true);
    EXPECT_EQ(w.destinationRect(), QRect(0, 50, 480, 300));
    w.resize(640, 300);
    EXPECT_EQ(w.destinationRect(), QRect(0, -50, 640, 400));
    w.resize(480, 400);
    w.setPicture(positionPicture(200, 320));
    EXPECT_EQ(w.destinationRect(), QRect(115, 0, 250, 400));
    w.setBorderStyle(BorderStyle::SingleBorder); // the client shrinks by the border
    w.resize(482, 402);
    EXPECT_EQ(w.destinationRect(), QRect(115, 0, 250, 400));
}

TEST_F(PMultiImage, StretchRatioPaintsWholePixelBlocks) {
    setUpClient(640, 400, positionPicture(320, 200));
    w.setStretchRatio(true);
    const QImage shot = client();
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 640; ++x)
            ASSERT_EQ(shot.pixel(x, y), positionColour(x / 2, y / 2));
}

TEST_F(PMultiImage, StretchRatioLeavesColorAboveAndBelowAndNeverBlends) {
    setUpClient(480, 400, checkerboard(320, 200), true);
    w.setStretchRatio(true);
    const QImage full = w.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb border = w.palette().color(QPalette::WindowText).rgb();
    for (int x = 0; x < 482; ++x) {
        ASSERT_EQ(full.pixel(x, 0), border);
        ASSERT_EQ(full.pixel(x, 401), border);
    }
    const QImage shot = client();
    bool red = false, green = false;
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 480; ++x) {
            const QRgb c = shot.pixel(x, y);
            if (y < 50 || y >= 350) {
                ASSERT_EQ(c, kBack) << x << "," << y;
            } else {
                ASSERT_TRUE(c == kRed || c == kGreen) << x << "," << y;
                (c == kRed ? red : green) = true;
            }
        }
    EXPECT_TRUE(red && green);
}

TEST_F(PMultiImage, StretchFillsTheClient) {
    setUpClient(640, 100, positionPicture(320, 200));
    w.setStretch(true);
    const QImage shot = client();
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 640; ++x) // halved rows take the lower row of each pair
            ASSERT_EQ(positionOf(shot.pixel(x, y)), QPoint(x / 2, 2 * y + 1));
}

TEST_F(PMultiImage, UnscaledAtTheCornerOrCentredAndCut) {
    setUpClient(400, 300, positionPicture(320, 200));
    QImage shot = client();
    EXPECT_EQ(shot.pixel(0, 0), positionColour(0, 0));
    EXPECT_EQ(shot.pixel(319, 199), positionColour(319, 199));
    EXPECT_EQ(shot.pixel(320, 0), kBack);
    EXPECT_EQ(shot.pixel(0, 200), kBack);

    w.setCenter(true);
    w.resize(105, 105); // picture larger than the client: cut on both sides
    shot = client();
    EXPECT_EQ(shot.pixel(0, 0), positionColour(107, 47));
    EXPECT_EQ(shot.pixel(104, 104), positionColour(211, 151));
}

TEST_F(PMultiImage, NoPictureShowsOnlyTheColor) {
    setUpClient(50, 40, QImage());
    w.setStretchRatio(true);
    const QImage shot = client();
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 50; ++x)
            ASSERT_EQ(shot.pixel(x, y), kBack);
}

TEST_F(PMultiImage, paintedAfterEveryPaint) {
    setUpClient(50, 40, positionPicture(10, 10));
    QSignalSpy spy(&w, &PictureView::painted);
    w.grab();
    w.grab();
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(0).at(0).value<QObject*>(), &w);
}

TEST_F(PMultiImage, MousePressIsPassedOn) {
    QSignalSpy spy(&w, &PictureView::mousePressed);
    QTest::mousePress(&w, Qt::RightButton, {}, QPoint(5, 6));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).value<Qt::MouseButton>(), Qt::RightButton);
    EXPECT_EQ(spy.at(0).at(1).toPoint(), QPoint(5, 6));
}

TEST_F(PMultiImage, GenericDrawingIgnoresStretchRatioAndZoom) {
    setUpClient(400, 300, positionPicture(320, 200));
    w.setImageLibPalette(false);
    w.setStretchRatio(true);
    w.zoomIn();
    EXPECT_EQ(w.sourceRect(), QRect(0, 0, 320, 200));
    EXPECT_EQ(w.destinationRect(), QRect(0, 0, 320, 200));
    const QImage shot = client();
    EXPECT_EQ(shot.pixel(0, 0), positionColour(0, 0));
    EXPECT_EQ(shot.pixel(319, 199), positionColour(319, 199));
    EXPECT_EQ(shot.pixel(399, 299), kBack);
}

TEST_F(PMultiImage, GenericDrawingStretchesWithoutBlending) {
    setUpClient(480, 300, checkerboard(320, 200));
    w.setImageLibPalette(false);
    w.setStretch(true);
    const QImage shot = client();
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 480; ++x) {
            const QRgb c = shot.pixel(x, y);
            ASSERT_TRUE(c == kRed || c == kGreen) << x << "," << y;
        }
}

TEST_F(PMultiImage, GenericDrawingCentresOnTheControlSize) {
    setUpClient(400, 300, positionPicture(320, 200), true); // control 402 x 302
    w.setImageLibPalette(false);
    w.setCenter(true);
    // (402 - 320) / 2 = 41 from the client's corner, one pixel right of the own drawing.
    EXPECT_EQ(w.destinationRect(), QRect(41, 51, 320, 200));
    const QImage shot = client();
    EXPECT_EQ(shot.pixel(41, 51), positionColour(0, 0));
    EXPECT_EQ(shot.pixel(40, 51), kBack);
}

// ---- Zoom -------------------------------------------------------------------------------

TEST_F(PMultiImage, ZoomDoesNothingWithoutAPicture) {
    w.zoomIn();
    w.zoomOut();
    EXPECT_EQ(w.zoomState().margin, 0);
    EXPECT_FALSE(w.zoomState().active);
}

TEST_F(PMultiImage, ZoomPaintsAtOnce) {
    setUpClient(320, 200, positionPicture(320, 200));
    w.setStretchRatio(true);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QApplication::processEvents();
    QSignalSpy spy(&w, &PictureView::painted);
    w.zoomIn();
    EXPECT_EQ(spy.count(), 1); // no event loop ran in between
    w.zoomOut();
    EXPECT_EQ(spy.count(), 2);
    w.hide();
}

TEST_F(PMultiImage, ElevenZoomInsAndTheRectangles) {
    setUpClient(640, 400, positionPicture(320, 200));
    w.setStretchRatio(true);
    for (int i = 0; i < 9; ++i)
        w.zoomIn();
    EXPECT_EQ(w.sourceRect(), QRect(90, 90, 140, 20));
    QImage shot = client();
    EXPECT_EQ(shot.pixel(0, 0), positionColour(90, 90));
    EXPECT_EQ(shot.pixel(639, 399), positionColour(229, 109));

    w.zoomIn(); // m = 100: a rectangle of height 0 draws nothing
    EXPECT_EQ(w.sourceRect().height(), 0);
    shot = client();
    for (int y = 0; y < 400; y += 7)
        for (int x = 0; x < 640; x += 7)
            ASSERT_EQ(shot.pixel(x, y), kBack);

    w.zoomIn(); // m = 110: height -20, the mirrored strip
    EXPECT_EQ(w.zoomState().margin, 110);
    w.zoomIn(); // refused
    EXPECT_EQ(w.zoomState().margin, 110);
    EXPECT_EQ(w.sourceRect(), QRect(110, 110, 100, -20));
    shot = client();
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 640; ++x) {
            const QPoint p = positionOf(shot.pixel(x, y));
            ASSERT_EQ(p.y(), 109 - y / 20) << x << "," << y; // bottom row of the strip on top
            ASSERT_TRUE(p.x() >= 110 && p.x() < 210);
        }
    EXPECT_EQ(positionOf(shot.pixel(0, 0)).x(), 110);
    EXPECT_EQ(positionOf(shot.pixel(639, 0)).x(), 209);
}

TEST_F(PMultiImage, ZoomOutToMinusTenShowsAColorRim) {
    setUpClient(640, 400, positionPicture(320, 200));
    w.setStretchRatio(true);
    w.zoomOut();
    w.zoomOut(); // refused
    EXPECT_EQ(w.zoomState().margin, -10);
    EXPECT_EQ(w.sourceRect(), QRect(-10, -10, 340, 220));
    EXPECT_EQ(w.destinationRect(), QRect(0, 0, 640, 400)); // placement follows the picture
    const QImage shot = client();
    for (QPoint p : {QPoint(0, 0), QPoint(320, 0), QPoint(0, 200), QPoint(639, 200),
                     QPoint(320, 399), QPoint(18, 200)})
        EXPECT_EQ(shot.pixel(p), kBack) << p.x() << "," << p.y();
    EXPECT_EQ(positionOf(shot.pixel(19, 200)).x(), 0);
    EXPECT_EQ(positionOf(shot.pixel(320, 200)), QPoint(160, 100));
    w.zoomIn();
    EXPECT_EQ(w.zoomState().margin, 0);
    EXPECT_EQ(w.sourceRect(), QRect(0, 0, 320, 200));
}

TEST_F(PMultiImage, ZoomShowsOnlyWhileScaling) {
    setUpClient(320, 200, positionPicture(320, 200));
    w.setStretchRatio(true);
    for (int i = 0; i < 3; ++i)
        w.zoomIn();
    EXPECT_EQ(client().pixel(0, 0), positionColour(30, 30));
    w.setStretchRatio(false);
    EXPECT_TRUE(w.zoomState().active);
    EXPECT_EQ(w.sourceRect(), QRect(0, 0, 320, 200));
    EXPECT_EQ(client().pixel(0, 0), positionColour(0, 0));
    w.setStretch(true);
    EXPECT_EQ(client().pixel(0, 0), positionColour(30, 30));
}

TEST_F(PMultiImage, ZoomSurvivesANewPicture) {
    setUpClient(320, 200, positionPicture(320, 200));
    w.zoomIn();
    w.setPicture(positionPicture(100, 100));
    EXPECT_EQ(w.zoomState().margin, 10);
    EXPECT_TRUE(w.zoomState().active);
}

// ---- Flip and rotate --------------------------------------------------------------------

TEST_F(PMultiImage, FlipAndRotateThroughTheLibrary) {
    setUpClient(100, 100, positionPicture(32, 20));
    w.flip();
    EXPECT_TRUE(w.flipped());
    EXPECT_EQ(w.picture().pixel(0, 0), positionColour(0, 19)); // top to bottom
    w.rotate();
    EXPECT_TRUE(w.rotated());
    ASSERT_EQ(w.picture().size(), QSize(20, 32));
    // A counter-clockwise turn brings the old top-right corner to the top-left.
    EXPECT_EQ(w.picture().pixel(0, 0), positionColour(31, 19));
    w.flip();
    EXPECT_FALSE(w.flipped());
    EXPECT_TRUE(recorder.boxes.empty());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(PMultiImage, FlipShowsTheWaitCursorAndPassesTheDisplayDepth) {
    setUpClient(100, 100, positionPicture(32, 20));
    PictureView::Library lib;
    int depth = -1;
    Qt::CursorShape during = Qt::ArrowCursor;
    lib.flip = [&](int d, QImage&) {
        depth = d;
        during = QGuiApplication::overrideCursor() ? QGuiApplication::overrideCursor()->shape()
                                                   : Qt::ArrowCursor;
        return imagelib::Status{};
    };
    w.setLibrary(lib);
    w.flip();
    EXPECT_EQ(depth, w.displayDepth());
    EXPECT_EQ(during, Qt::WaitCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(PMultiImage, FlipOrRotateWithoutAPictureDoesNothing) {
    PictureView::Library lib;
    int calls = 0;
    lib.flip = lib.rotate = [&](int, QImage&) {
        ++calls;
        return imagelib::Status{};
    };
    w.setLibrary(lib);
    w.flip();
    w.rotate();
    EXPECT_EQ(calls, 0);
    EXPECT_FALSE(w.flipped());
    EXPECT_FALSE(w.rotated());
}

TEST_F(PMultiImage, LibraryFailureShowsItsErrorBoxAndKeepsThePicture) {
    setUpClient(100, 100, positionPicture(32, 20));
    PictureView::Library lib;
    lib.rotate = [](int, QImage& image) {
        image = QImage(); // a failed operation may leave anything behind
        return imagelib::Status{-3, "Not enough memory"};
    };
    w.setLibrary(lib);
    w.rotate();
    EXPECT_EQ(recorder.boxes, (std::vector<Box>{kError("Not enough memory")}));
    EXPECT_FALSE(w.rotated());
    EXPECT_EQ(w.picture().size(), QSize(32, 20));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(PMultiImage, RaisedErrorsGiveTheInformationBox) {
    setUpClient(100, 100, positionPicture(32, 20));
    PictureView::Library lib;
    lib.flip =
        lib.rotate = [](int, QImage&) -> imagelib::Status { throw std::runtime_error("broken"); };
    w.setLibrary(lib);
    w.flip();
    w.rotate();
    EXPECT_EQ(recorder.boxes,
              (std::vector<Box>{kInfo("Error flipping image"), kInfo("Error rotating image")}));
    EXPECT_FALSE(w.flipped());
    EXPECT_FALSE(w.rotated());
    EXPECT_EQ(w.picture().pixel(0, 0), positionColour(0, 0));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// ---- Writes -----------------------------------------------------------------------------

struct WriteCall {
    QString format, file;
    int depth = -1, quality = -1, smoothing = -1, compression = -1;
    bool interlaced = false;
};

// A library whose writers record their arguments and answer with `status`.
PictureView::Library recordingWriters(std::vector<WriteCall>& calls, imagelib::Status status) {
    PictureView::Library lib;
    auto plain = [&calls, status](const char* format) {
        return [&calls, status, format](const QString& f, int depth, const QImage&) {
            calls.push_back({format, f, depth});
            return status;
        };
    };
    lib.writeBMP = plain("BMP");
    lib.writeGIF = plain("GIF");
    lib.writePCX = plain("PCX");
    lib.writeJPEG = [&calls, status](const QString& f, int q, int s, int depth, const QImage&) {
        calls.push_back({"JPG", f, depth, q, s});
        return status;
    };
    lib.writePNG = [&calls, status](const QString& f, int depth, bool inter, const QImage&) {
        WriteCall c{"PNG", f, depth};
        c.interlaced = inter;
        calls.push_back(c);
        return status;
    };
    lib.writeTIFF = [&calls, status](const QString& f, int code, int depth, const QImage&) {
        WriteCall c{"TIF", f, depth};
        c.compression = code;
        calls.push_back(c);
        return status;
    };
    return lib;
}

TEST_F(PMultiImage, WritesPassTheSettings) {
    setUpClient(100, 100, positionPicture(32, 20));
    std::vector<WriteCall> calls;
    w.setLibrary(recordingWriters(calls, {}));
    w.setImageWriteRes(WriteDepth::Colours16);
    w.setJpegSaveQuality(80);
    w.setJpegSaveSmooth(12);
    w.setPngInterlaced(true);
    const TiffSaveCompression codes[] = {TiffSaveCompression::Uncompressed, TiffSaveCompression::Ccitt,
                                      TiffSaveCompression::Lzw, TiffSaveCompression::PackBits};
    w.saveAsJpeg("a.jpg");
    w.saveAsPng("a.png");
    for (TiffSaveCompression c : codes) {
        w.setTifSaveCompress(c);
        w.saveAsTiff("a.tif");
    }
    w.saveAsGif("a.gif");
    ASSERT_EQ(calls.size(), 7u);
    EXPECT_EQ(calls[0].format, "JPG");
    EXPECT_EQ(calls[0].quality, 80);
    EXPECT_EQ(calls[0].smoothing, 12);
    EXPECT_EQ(calls[0].depth, 24);
    EXPECT_TRUE(calls[1].interlaced);
    EXPECT_EQ(calls[1].depth, 4);
    const int expected[] = {1, 2, 5, 32773};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(calls[2 + i].compression, expected[i]);
    EXPECT_EQ(calls[6].depth, 4);
    EXPECT_TRUE(recorder.boxes.empty());
}

TEST_F(PMultiImage, WriteNameBecomesTheDefaultSaveName) {
    setUpClient(100, 100, positionPicture(32, 20));
    std::vector<WriteCall> calls;
    w.setLibrary(recordingWriters(calls, {}));
    w.setDefSaveFilename("first.bmp");
    w.saveAsBmp("");
    w.saveAsBmp("second.bmp");
    w.saveAsPcx("");
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[0].file, "first.bmp");
    EXPECT_EQ(calls[1].file, "second.bmp");
    EXPECT_EQ(calls[2].file, "second.bmp");
    EXPECT_EQ(w.defSaveFilename(), "second.bmp");
}

TEST_F(PMultiImage, WriteFailureShowsTheLibraryBoxThenTheComponentBox) {
    setUpClient(100, 100, positionPicture(32, 20));
    std::vector<WriteCall> calls;
    w.setLibrary(recordingWriters(calls, {0, "Disk full"}));
    w.saveAsBmp("x");
    w.saveAsPng("x");
    w.saveAsJpeg("x");
    w.saveAsGif("x");
    w.saveAsTiff("x");
    w.saveAsPcx("x");
    EXPECT_EQ(recorder.boxes, (std::vector<Box>{
                                  kError("Disk full"),
                                  kInfo("Writing bmp file failed"),
                                  kError("Disk full"),
                                  kInfo("Writing png file failed"),
                                  kError("Disk full"),
                                  kInfo("Writing jpg file failed"),
                                  kError("Disk full"),
                                  kInfo("Writing gif file failed"),
                                  kError("Disk full"),
                                  kInfo("Writing tif file failed"),
                                  kError("Disk full"),
                                  kInfo("Writing pcx file failed"),
                              }));
}

TEST_F(PMultiImage, OtherWriteErrorsAreSwallowed) {
    setUpClient(100, 100, positionPicture(32, 20));
    PictureView::Library lib;
    lib.writePNG = [](const QString&, int, bool, const QImage&) -> imagelib::Status {
        throw std::runtime_error("lost");
    };
    w.setLibrary(lib);
    w.saveAsPng("x.png");
    EXPECT_TRUE(recorder.boxes.empty());
    EXPECT_EQ(w.picture().size(), QSize(32, 20));
}

TEST_F(PMultiImage, RealWriteIntoAMissingFolderFails) {
    setUpClient(100, 100, positionPicture(32, 20));
    QTemporaryDir dir;
    const QString path = dir.filePath("no/such/folder/x.bmp");
    w.saveAsBmp(path);
    ASSERT_EQ(recorder.boxes.size(), 2u);
    EXPECT_EQ(recorder.boxes[0].title, "Error");
    EXPECT_FALSE(recorder.boxes[0].text.isEmpty());
    EXPECT_EQ(recorder.boxes[1], kInfo("Writing bmp file failed"));
    EXPECT_FALSE(QFile::exists(path));
}

// ---- Loading through ImageName ----------------------------------------------------------

TEST_F(PMultiImage, MissingFileEmptiesThePicture) {
    setUpClient(100, 100, positionPicture(32, 20));
    w.zoomIn();
    w.flip();
    w.setImageName("file not found");
    EXPECT_TRUE(w.picture().isNull());
    EXPECT_EQ(w.imageName(), "file not found");
    EXPECT_FALSE(w.zoomState().active);
    EXPECT_EQ(w.zoomState().margin, 10); // the margin stays
    EXPECT_FALSE(w.flipped());
    EXPECT_TRUE(recorder.boxes.empty());
}

TEST_F(PMultiImage, SavedPngLoadsBack) {
    QTemporaryDir dir;
    const QString path = dir.filePath("round.png");
    setUpClient(100, 100, positionPicture(32, 20));
    w.setImageWriteRes(WriteDepth::TrueColour);
    w.saveAsPng(path);
    ASSERT_TRUE(recorder.boxes.empty());
    PictureView other;
    other.setImageReadRes(ReadDepth::TrueColour);
    other.setImageName(path);
    ASSERT_EQ(other.picture().size(), QSize(32, 20));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(other.picture().pixel(x, y), positionColour(x, y)) << x << "," << y;
    EXPECT_EQ(other.imageName(), path.toUpper());
    EXPECT_EQ(other.imageInfo().type, "PNG");
    EXPECT_EQ(other.imageInfo().width, 32);
    EXPECT_EQ(other.imageInfo().height, 20);
    EXPECT_EQ(other.imageFileSize(), QFileInfo(path).size());
}

struct ReadLog {
    std::vector<QString> readers;
    int depth = -1;
    bool dither = false;
};

PictureView::Library recordingReaders(ReadLog& log, imagelib::Status status) {
    PictureView::Library lib;
    auto reader = [&log, status](const char* name) {
        return [&log, status, name](const QString&, int depth, bool dither, QImage& out) {
            log.readers.push_back(name);
            log.depth = depth;
            log.dither = dither;
            if (status.ok())
                out = positionPicture(3, 2);
            return status;
        };
    };
    lib.readBMP = reader("BMP");
    lib.readJPEG = reader("JPEG");
    lib.readPNG = reader("PNG");
    lib.readGIF = reader("GIF");
    lib.readTIFF = reader("TIFF");
    lib.readPCX = reader("PCX");
    lib.imageInfo = [](const QString&, imagelib::ImageInfo& info) {
        info.type = "FAKE";
        return imagelib::Status{};
    };
    return lib;
}

TEST_F(PMultiImage, ExtensionPicksTheReader) {
    QTemporaryDir dir;
    ReadLog log;
    w.setLibrary(recordingReaders(log, {}));
    const char* names[] = {"a.bmp", "a.THB",  "a.thj", "a.Jpg",  "a.png", "a.gif",
                           "a.tif", "a.tiff", "a.pcx", "a.jpeg", "a.koa", "noext"};
    for (const char* name : names) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    for (const char* name : names)
        w.setImageName(dir.filePath(name));
    EXPECT_EQ(log.readers, (std::vector<QString>{"BMP", "BMP", "JPEG", "JPEG", "PNG", "GIF", "TIFF",
                                                 "TIFF", "PCX"}));
    EXPECT_EQ(w.imageInfo().type, "FAKE");
}

TEST_F(PMultiImage, UnknownExtensionKeepsThePicture) {
    QTemporaryDir dir;
    const QString path = dir.filePath("photo.jpeg");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    setUpClient(100, 100, positionPicture(32, 20));
    w.setImageName(path);
    EXPECT_EQ(w.picture().size(), QSize(32, 20));
    EXPECT_EQ(w.imageName(), path.toUpper());
    EXPECT_TRUE(recorder.boxes.empty());
}

TEST_F(PMultiImage, ReaderGetsTheDepthAndDither) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.gif");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    ReadLog log;
    w.setLibrary(recordingReaders(log, {}));
    w.setImageReadRes(ReadDepth::Colours16);
    w.setImageDither(false);
    w.setImageName(path);
    EXPECT_EQ(log.depth, 4);
    EXPECT_FALSE(log.dither);
    EXPECT_EQ(w.picture().size(), QSize(3, 2));
    w.setImageReadRes(ReadDepth::Automatic);
    w.setImageDither(true);
    w.imageName(); // reading loads again
    EXPECT_EQ(log.depth, w.displayDepth());
    EXPECT_TRUE(log.dither);
    EXPECT_EQ(log.readers.size(), 2u);
}

TEST_F(PMultiImage, ReadFailureShowsBothBoxesAndEmptiesThePicture) {
    QTemporaryDir dir;
    const QString path = dir.filePath("bad.png");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a png");
    f.close();
    setUpClient(100, 100, positionPicture(32, 20));
    w.setImageName(path); // the real library
    ASSERT_EQ(recorder.boxes.size(), 2u);
    EXPECT_EQ(recorder.boxes[0].title, "Error");
    EXPECT_EQ(recorder.boxes[1], kInfo("Reading png file failed"));
    EXPECT_TRUE(w.picture().isNull());
}

TEST_F(PMultiImage, RaisedReadErrorEmptiesThePictureSilently) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.bmp");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    setUpClient(100, 100, positionPicture(32, 20));
    PictureView::Library lib;
    lib.readBMP = [](const QString&, int, bool, QImage&) -> imagelib::Status {
        throw std::runtime_error("bad");
    };
    w.setLibrary(lib);
    w.setImageName(path);
    EXPECT_TRUE(w.picture().isNull());
    EXPECT_TRUE(recorder.boxes.empty());
    EXPECT_EQ(w.imageName(), path.toUpper());
}

} // namespace
} // namespace quendra

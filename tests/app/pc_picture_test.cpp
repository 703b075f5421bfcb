// PC pictures in the viewer: listed with their own Type, shown as they are, turned into a
// C64 file by "Export as C64 picture...", saved as a C64 picture is, and refused over the
// converter's bound of pixels.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QRadioButton>
#include <QTimer>

#include "app/export_window.h"
#include "components/bridge.h"
#include "components/image_library.h"
#include "decode/readers.h"
#include "samples/c64_files.h"
#include "tools/tool_runner.h"
#include "viewer_fixture.h"

namespace quendra::testing {
namespace {

class PcPictures : public ViewerTest {
  protected:
    void SetUp() override {
        ViewerTest::SetUp();
        dialogs::Handler handler = dialogs::setHandler({});
        handler.saveFileName = [this](QWidget*, const dialogs::SaveRequest&) { return choice; };
        dialogs::setHandler(handler);
        start();
    }

    // The picture of a Koala file, as its reader draws it in the program's own colours.
    static QImage koalaPicture(const std::vector<std::uint8_t>& bytes) {
        const Decoded decoded = decodeKoala(bytes, {.fileSize = bytes.size()});
        EXPECT_TRUE(decoded.accepted) << decoded.reason;
        return toQImage(decoded.picture);
    }

    QString choice;
};

TEST_F(PcPictures, EachKindIsListedWithItsTypeAndShownAsItIs) {
    const QImage picture = koalaPicture(samples::makeKoala(samples::testPattern(5)));
    using Write = imagelib::Status (*)(const QString&, int, const QImage&);
    const struct {
        const char* name;
        Write write;
        const char* type;
    } kinds[] = {
        {"shot.png",
         [](const QString& f, int d, const QImage& i) {
             return imagelib::writePNG(f, d, false, i);
         },
         "PNG picture"},
        {"shot.GIF", imagelib::writeGIF, "GIF picture"},
        {"shot.bmp", imagelib::writeBMP, "BMP picture"},
        {"shot.tif",
         [](const QString& f, int d, const QImage& i) { return imagelib::writeTIFF(f, 1, d, i); },
         "TIFF picture"},
        {"shot.pcx", imagelib::writePCX, "PCX picture"},
    };
    for (const auto& kind : kinds)
        ASSERT_TRUE(kind.write(QDir(picsFolder()).filePath(kind.name), 0, picture).ok());
    openPictures();
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.name);
        const QString name = QString::fromLatin1(kind.name);
        const int row = listRow(name);
        ASSERT_GE(row, 0);
        EXPECT_EQ(fileList()->text(row, FileListView::Type), QLatin1String(kind.type));
        clickListItem(name);
        EXPECT_EQ(shown(), picture);
        EXPECT_EQ(form->windowTitle(),
                  QStringLiteral("Quendra: %1 (%2)").arg(name, QLatin1String(kind.type)));
        EXPECT_TRUE(form->commandStates().saveAs);
        EXPECT_FALSE(form->commandStates().grey); // the C64 readers' grey table is not its
    }
}

TEST_F(PcPictures, APngIsExportedToKoalaAndSavedAsAC64PictureIs) {
    const auto koala = samples::makeKoala(samples::testPattern(3));
    const QImage picture = koalaPicture(koala);
    // An emulator's screenshot: the picture twice as large.
    const QImage screenshot = picture.scaled(picture.size() * 2);
    ASSERT_TRUE(
        imagelib::writePNG(QDir(picsFolder()).filePath("shot.png"), 0, false, screenshot).ok());
    openPictures();
    clickListItem(QStringLiteral("shot.png"));
    ASSERT_EQ(shown(), screenshot);

    choice = dir.filePath(QStringLiteral("shot.koa"));
    QTimer::singleShot(0, [] {
        auto* window = qobject_cast<ExportWindow*>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        auto* format = window->findChild<QComboBox*>(QStringLiteral("formatBox"));
        format->setCurrentIndex(format->findData(QStringLiteral("koa")));
        window->findChild<QComboBox*>(QStringLiteral("modeBox"))->setCurrentIndex(0);    // exact
        window->findChild<QComboBox*>(QStringLiteral("paletteBox"))->setCurrentIndex(0); // Auto
        window->save();
        window->reject(); // if still open
    });
    menuAction("exportC64")->trigger();
    QFile written(choice);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    EXPECT_EQ(koalaPicture({bytes.begin(), bytes.end()}), picture); // the enlargement undone
    // The converter's file of the same PNG.
    const QString converted = dir.filePath(QStringLiteral("converted"));
    const RunResult run =
        runTool("quendra-convert",
                {"--to", "koa", "--palette", "auto", "-o", converted.toStdString(),
                 QDir(picsFolder()).filePath("shot.png").toStdString()},
                dir.path().toStdString());
    ASSERT_EQ(run.status, 0) << run.err;
    QFile convertedFile(converted + QStringLiteral("/shot.koa"));
    ASSERT_TRUE(convertedFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(convertedFile.readAll(), bytes);
    EXPECT_TRUE(boxes.empty());

    // Save as: the picture as shown, turned.
    pushButton("Turn")->click();
    choice = dir.filePath(QStringLiteral("turned.png"));
    radioButton("PNG")->setChecked(true);
    pushButton("SaveAs")->click();
    QImage saved;
    ASSERT_TRUE(imagelib::readPNG(choice, 24, false, saved).ok());
    EXPECT_EQ(saved, turnedClockwise(screenshot).convertToFormat(QImage::Format_RGB32));
}

TEST_F(PcPictures, APictureOverTheBoundIsRefusedWithTheBoundNamed) {
    // A BMP header of 10000 x 10000 pixels, 24 bits, and no pixels behind it.
    std::vector<std::uint8_t> header(54);
    const auto put = [&](std::size_t at, std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            header[at + i] = std::uint8_t(value >> (8 * i));
    };
    header[0] = 'B';
    header[1] = 'M';
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, 10000, 4);
    put(22, 10000, 4);
    put(26, 1, 2);
    put(28, 24, 2);
    show(write(QStringLiteral("huge.bmp"), header));
    EXPECT_EQ(form->statusText(), QStringLiteral("huge.bmp cannot be shown: a picture of 10000 × "
                                                 "10000 pixels is more than the 64 megapixels "
                                                 "this program reads."));
    EXPECT_FALSE(form->document()->isShown());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra: huge.bmp"));
}

} // namespace
} // namespace quendra::testing

// "Save as..." from the main window: the dialog's proposal and folder, every format written
// and read back, pictures saved as shown, the GoDot save's progress window and controls,
// the file list after a save, and failed saves.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <algorithm>

#include "app/export_window.h"
#include "app/secondary_windows.h"
#include "components/image_library.h"
#include "decode/palette.h"
#include "decode/readers.h"
#include "export/godot_writer.h"
#include "samples/c64_files.h"
#include "samples/fli_files.h"
#include "samples/funpainter_files.h"
#include "samples/printfox_files.h"
#include "samples/sample_files.h"
#include "tools/tool_runner.h"
#include "viewer_fixture.h"

namespace quendra::testing {
namespace {

using namespace samples;

class SaveAs : public ViewerTest {
  protected:
    void SetUp() override {
        ViewerTest::SetUp();
        // Keep the fixture's message boxes; add the save dialog.
        dialogs::Handler handler = dialogs::setHandler({});
        handler.saveFileName = [this](QWidget*, const dialogs::SaveRequest& request) {
            requests.push_back(request);
            return choice;
        };
        dialogs::setHandler(handler);
        QDir(dir.path()).mkpath(QStringLiteral("out"));
        start();
        openPictures();
    }

    QString outFolder() const { return dir.filePath(QStringLiteral("out")); }

    // Clicks "Save as..." with `format` checked; the dialog answers `chosen` (empty: cancel).
    void saveAs(QRadioButton* format, const QString& chosen) {
        format->setChecked(true);
        choice = chosen;
        ASSERT_TRUE(pushButton("SaveAs")->isEnabled());
        pushButton("SaveAs")->click();
    }

    const dialogs::SaveRequest& lastRequest() const { return requests.back(); }

    QString choice;
    std::vector<dialogs::SaveRequest> requests;
};

QImage rgb(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB32);
}

std::vector<std::uint8_t> fileBytes(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    const QByteArray data = f.readAll();
    return {data.begin(), data.end()};
}

// A GoDot file as the reader shows it.
QImage godotPicture(const QString& path, bool grey = false) {
    DecodeOptions options;
    options.grey = grey;
    const auto bytes = fileBytes(path);
    const Decoded d = decodeGodot(bytes, options);
    EXPECT_TRUE(d.accepted) << d.reason;
    return toQImage(d.picture);
}

// The Compression tag of a TIFF file's first picture; 0 when there is none.
int tiffCompression(const std::vector<std::uint8_t>& f) {
    if (f.size() < 8 || (f[0] != 'I' && f[0] != 'M'))
        return 0;
    const bool little = f[0] == 'I';
    auto at = [&](std::size_t i, int n) {
        std::uint32_t v = 0;
        for (int k = 0; k < n; ++k)
            v |= std::uint32_t(f.at(i + (little ? k : n - 1 - k))) << (8 * k);
        return v;
    };
    const std::size_t ifd = at(4, 4);
    const std::size_t entries = at(ifd, 2);
    for (std::size_t e = 0; e < entries; ++e) {
        const std::size_t entry = ifd + 2 + 12 * e;
        if (at(entry, 2) == 259)
            return int(at(entry + 8, 2));
    }
    return 0;
}

using LibraryReader = imagelib::Status (*)(const QString&, int, bool, QImage&);

QImage readBack(LibraryReader reader, const QString& path) {
    QImage out;
    const imagelib::Status status = reader(path, 24, false, out);
    EXPECT_TRUE(status.ok()) << path.toStdString() << ": " << status.message.toStdString();
    return rgb(out);
}

// ---- The dialog's proposal ----

TEST_F(SaveAs, ProposesTheShownFilesNameWithTheCheckedFormat) {
    const auto koala = makeKoala(testPattern(1));
    show(write(QStringLiteral("a.b.koa"), koala));
    saveAs(radioButton("GIF"), {});
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(lastRequest().title, QStringLiteral("Save File As..."));
    EXPECT_EQ(lastRequest().fileName, QStringLiteral("a.b.gif"));
    EXPECT_EQ(lastRequest().filter, QStringLiteral("GIF-Files (*.gif *.GIF)"));
    EXPECT_EQ(lastRequest().defaultSuffix, QStringLiteral("gif"));

    // Three characters are cut: "a.b" keeps its own dot.
    show(write(QStringLiteral("a.b.gg"), makeKoalaCompressed(testPattern(1))));
    saveAs(radioButton("GIF"), {});
    EXPECT_EQ(lastRequest().fileName, QStringLiteral("a.bgif"));

    show(write(QStringLiteral("PIC.KOA"), koala));
    struct Row {
        QRadioButton* button;
        QString name, filter, suffix;
    };
    const Row rows[] = {
        {radioButton("TIF"), "PIC.tif", "TIF-Files (*.tif *.TIF)", "tif"},
        {radioButton("GIF"), "PIC.gif", "GIF-Files (*.gif *.GIF)", "gif"},
        {radioButton("BMP"), "PIC.bmp", "BMP-Files (*.bmp *.BMP)", "bmp"},
        {radioButton("PCX"), "PIC.pcx", "PCX-Files (*.pcx *.PCX)", "pcx"},
        {radioButton("PNG"), "PIC.png", "PNG-Files (*.png *.PNG)", "png"},
        {radioButton("JPG"), "PIC.jpg", "JPG-Files (*.jpg *.JPG)", "jpg"},
        {radioButton("Godot"), "PIC.4bt", "4Bit-GoDot-Files (*.4bt *.4BT)", "4bt"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name.toStdString());
        saveAs(row.button, {});
        EXPECT_EQ(lastRequest().fileName, row.name);
        EXPECT_EQ(lastRequest().filter, row.filter);
        EXPECT_EQ(lastRequest().defaultSuffix, row.suffix);
    }

    // Cancelling wrote nothing and named nothing.
    EXPECT_EQ(QDir(picsFolder()).entryList(QDir::Files).size(), 3);
    EXPECT_EQ(QDir(outFolder()).entryList(QDir::Files).size(), 0);
    EXPECT_TRUE(form->pictureView()->defSaveFilename().isEmpty());
    EXPECT_TRUE(boxes.empty());
}

// ---- The save folder ----

TEST_F(SaveAs, TheFolderFollowsConfirmedSavesUntilTheProgramEnds) {
    const QString pic = write(QStringLiteral("pic.koa"), makeKoala(testPattern(2)));
    show(pic);

    // The first save starts in the folder list's folder.
    saveAs(radioButton("PNG"), QDir(outFolder()).filePath(QStringLiteral("first.PNG")));
    EXPECT_EQ(lastRequest().directory, picsFolder());
    EXPECT_TRUE(QFileInfo::exists(QDir(outFolder()).filePath(QStringLiteral("first.PNG"))));
    EXPECT_EQ(form->pictureView()->defSaveFilename(),
              QDir(outFolder()).filePath(QStringLiteral("first.PNG")));

    // The next starts where the last one went, whatever the folder list shows.
    QDir(dir.path()).mkpath(QStringLiteral("third"));
    folderList()->setDirectory(dir.filePath(QStringLiteral("third")));
    show(pic);
    saveAs(radioButton("PNG"), {});
    EXPECT_EQ(lastRequest().directory, outFolder() + u'/');

    // A cancel changes nothing.
    saveAs(radioButton("BMP"), {});
    EXPECT_EQ(lastRequest().directory, outFolder() + u'/');

    // A bare name lands in the folder the dialog started in, which stays the save folder.
    saveAs(radioButton("BMP"), QStringLiteral("second.BMP"));
    EXPECT_TRUE(QFileInfo::exists(QDir(outFolder()).filePath(QStringLiteral("second.BMP"))));
    saveAs(radioButton("BMP"), {});
    EXPECT_EQ(lastRequest().directory, outFolder() + u'/');

    // After a restart the folder list's folder again.
    program.reset();
    start();
    openPictures();
    show(pic);
    saveAs(radioButton("PNG"), {});
    EXPECT_EQ(lastRequest().directory, picsFolder());
    EXPECT_TRUE(boxes.empty());
}

// ---- Every format ----

TEST_F(SaveAs, EveryFormatIsWrittenAndReadsBack) {
    show(write(QStringLiteral("pic.koa"), makeKoala(testPattern(3))));
    const QImage picture = rgb(shown());
    const QDir out(outFolder());

    struct Lossless {
        QRadioButton* button;
        QString name;
        LibraryReader reader;
    };
    const Lossless lossless[] = {
        {radioButton("TIF"), "pic.TIF", imagelib::readTIFF},
        {radioButton("GIF"), "pic.GIF", imagelib::readGIF},
        {radioButton("BMP"), "pic.BMP", imagelib::readBMP},
        {radioButton("PCX"), "pic.PCX", imagelib::readPCX},
        {radioButton("PNG"), "pic.PNG", imagelib::readPNG},
    };
    for (const Lossless& f : lossless) {
        SCOPED_TRACE(f.name.toStdString());
        saveAs(f.button, out.filePath(f.name));
        EXPECT_EQ(form->pictureView()->defSaveFilename(), out.filePath(f.name));
        // The line says what was written where.
        EXPECT_EQ(
            form->statusText(),
            QStringLiteral("Saved %1 in %2.").arg(f.name, QDir::toNativeSeparators(out.path())));
        EXPECT_EQ(readBack(f.reader, out.filePath(f.name)), picture);
    }
    // The window's component writes TIFF with LZW compression.
    EXPECT_EQ(tiffCompression(fileBytes(out.filePath("pic.TIF"))), 5);
    // Where Qt reads the format itself, it agrees: these are standard files.
    EXPECT_EQ(rgb(QImage(out.filePath("pic.PNG"))), picture);
    EXPECT_EQ(rgb(QImage(out.filePath("pic.BMP"))), picture);
    EXPECT_EQ(rgb(QImage(out.filePath("pic.GIF"))), picture);

    saveAs(radioButton("JPG"), out.filePath("pic.JPG"));
    EXPECT_EQ(QImage(out.filePath("pic.JPG")).size(), QSize(320, 200));

    saveAs(radioButton("Godot"), out.filePath("pic.4BT"));
    const auto bytes = fileBytes(out.filePath("pic.4BT"));
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "GOD0");
    EXPECT_EQ(godotPicture(out.filePath("pic.4BT")), picture);
    EXPECT_TRUE(form->statusText().startsWith(QStringLiteral("Saved pic.4BT in ")));

    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(shown(), picture); // saving changes nothing on screen
}

TEST_F(SaveAs, EveryFliPictureIsSavedInEveryFormat) {
    const FliPicture p = fliPattern(1);
    const QDir out(outFolder());
    // BFLI: 296 x 400 in C64 colours. Gunpaint: 296 x 200 in mixed colours, which GoDot's
    // 16 colours hold only where both frames agree; the writer makes the others black.
    for (const auto& [name, bytes] : {std::pair{QStringLiteral("pic.bfli"), makeBfli(p)},
                                      std::pair{QStringLiteral("pic.gun"), makeGunpaint(p)}}) {
        SCOPED_TRACE(name.toStdString());
        show(write(name, bytes));
        const QImage picture = rgb(shown());
        const QString base = out.filePath(QFileInfo(name).suffix() + ".");
        for (const auto& [button, reader] :
             {std::pair{radioButton("TIF"), LibraryReader{imagelib::readTIFF}},
              std::pair{radioButton("GIF"), LibraryReader{imagelib::readGIF}},
              std::pair{radioButton("BMP"), LibraryReader{imagelib::readBMP}},
              std::pair{radioButton("PCX"), LibraryReader{imagelib::readPCX}},
              std::pair{radioButton("PNG"), LibraryReader{imagelib::readPNG}}}) {
            saveAs(button, base + button->text());
            EXPECT_EQ(readBack(reader, base + button->text()), picture)
                << button->text().toStdString();
        }
        saveAs(radioButton("JPG"), base + "jpg");
        EXPECT_EQ(QImage(base + "jpg").size(), picture.size());

        saveAs(radioButton("Godot"), base + "4bt");
        const auto saved = fileBytes(base + "4bt");
        ASSERT_GE(saved.size(), 4u);
        EXPECT_EQ(std::string(saved.begin(), saved.begin() + 4), "GOD1"); // not 320 x 200
        QImage matched = picture;
        for (int y = 0; y < matched.height(); ++y) {
            for (int x = 0; x < matched.width(); ++x) {
                const QRgb c = matched.pixel(x, y);
                const Rgb godot = kGodotPalette[matchGodotIndex(
                    {static_cast<std::uint8_t>(qRed(c)), static_cast<std::uint8_t>(qGreen(c)),
                     static_cast<std::uint8_t>(qBlue(c))},
                    false)];
                matched.setPixel(x, y, qRgb(godot.r, godot.g, godot.b));
            }
        }
        EXPECT_EQ(godotPicture(base + "4bt"), matched);
        EXPECT_TRUE(boxes.empty());
    }
}

// ---- Saved as shown ----

TEST_F(SaveAs, AFlippedRotatedTurnedOrGreyPictureIsSavedAsShown) {
    const auto koala = makeKoala(testPattern(4));
    show(write(QStringLiteral("pic.koa"), koala));
    const QImage original = rgb(shown());
    const QDir out(outFolder());

    pushButton("Flip")->click();
    ASSERT_NE(rgb(shown()), original);
    saveAs(radioButton("PNG"), out.filePath("flipped.PNG"));
    EXPECT_EQ(readBack(imagelib::readPNG, out.filePath("flipped.PNG")), rgb(shown()));

    pushButton("Rotate")->click(); // "Turn": a quarter anticlockwise
    ASSERT_EQ(shown().size(), QSize(200, 320));
    saveAs(radioButton("BMP"), out.filePath("rotated.BMP"));
    EXPECT_EQ(readBack(imagelib::readBMP, out.filePath("rotated.BMP")), rgb(shown()));

    // A quarter turn clockwise ("Rotate"), saved as a GoDot clip of 25 x 40 cells.
    show(write(QStringLiteral("pic.koa"), koala));
    pushButton("Turn")->click();
    ASSERT_EQ(shown().size(), QSize(200, 320));
    saveAs(radioButton("Godot"), out.filePath("turned.4BT"));
    const auto clip = fileBytes(out.filePath("turned.4BT"));
    ASSERT_GE(clip.size(), 8u);
    EXPECT_EQ(std::vector<std::uint8_t>(clip.begin(), clip.begin() + 8),
              (std::vector<std::uint8_t>{'G', 'O', 'D', '1', 0, 0, 25, 40}));
    EXPECT_EQ(godotPicture(out.filePath("turned.4BT")), rgb(shown()));

    // Grey: the grey table gives every level its own index, the same index the colour had.
    checkBox("grey")->setChecked(true);
    const QImage grey = rgb(shown());
    ASSERT_EQ(grey, expectedPicture(decodeKoala, koala, true));
    saveAs(radioButton("Godot"), out.filePath("grey.4BT"));
    EXPECT_EQ(godotPicture(out.filePath("grey.4BT"), true), grey);
    EXPECT_EQ(godotPicture(out.filePath("grey.4BT"), false), original);
    saveAs(radioButton("PNG"), out.filePath("grey.PNG"));
    EXPECT_EQ(readBack(imagelib::readPNG, out.filePath("grey.PNG")), grey);

    // Unticked again: the colour table.
    checkBox("grey")->setChecked(false);
    saveAs(radioButton("Godot"), out.filePath("colour.4BT"));
    EXPECT_EQ(godotPicture(out.filePath("colour.4BT")), original);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SaveAs, AfterFunPainterGifIsProposedAndGodotIsOff) {
    form->setFirstPaintPending(false);
    radioButton("Godot")->setChecked(true);
    const auto bytes = makeFunPainter(funPainterPattern(2), true);
    show(write(QStringLiteral("blend.fp2"), bytes));
    EXPECT_TRUE(radioButton("GIF")->isChecked());
    EXPECT_FALSE(radioButton("Godot")->isEnabled());

    choice = QDir(outFolder()).filePath("blend.GIF");
    pushButton("SaveAs")->click();
    EXPECT_EQ(lastRequest().fileName, QStringLiteral("blend.gif"));
    EXPECT_EQ(lastRequest().filter, QStringLiteral("GIF-Files (*.gif *.GIF)"));
    // The blend's colours fit a GIF's palette exactly.
    EXPECT_EQ(readBack(imagelib::readGIF, choice), rgb(shown()));
    EXPECT_TRUE(boxes.empty());
}

// ---- The GoDot save in the window ----

TEST_F(SaveAs, AGodotSaveShowsProgressAndGivesTheControlsBack) {
    show(write(QStringLiteral("pic.koa"), makeKoala(testPattern(5))));
    pushButton("Turn")->click(); // leaves "Rotating..." on the progress window
    ASSERT_EQ(shown().size(), QSize(200, 320));

    ProgressWindow* saving = program->progressWindow();
    ProgressWatch watch(saving, form);
    std::vector<int> positions;
    QObject::connect(saving->bar(), &QProgressBar::valueChanged,
                     [&](int value) { positions.push_back(value); });
    saveAs(radioButton("Godot"), QDir(outFolder()).filePath("turned.4BT"));

    EXPECT_TRUE(watch.shown);
    EXPECT_EQ(watch.caption, QStringLiteral("Saving..."));
    EXPECT_EQ(watch.maximum, 39); // (320 - 1) div 8
    EXPECT_TRUE(watch.commandsOff && watch.greyOff && watch.listBoxOff);
    EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));
    ASSERT_FALSE(positions.empty());
    EXPECT_EQ(positions.back(), 39);
    EXPECT_GE(positions.size(), 39u); // once per cell row

    EXPECT_FALSE(saving->isVisible());
    EXPECT_TRUE(pushButton("SaveAs")->isEnabled() && pushButton("Flip")->isEnabled() &&
                pushButton("Rotate")->isEnabled() && pushButton("Turn")->isEnabled() &&
                pushButton("ZoomIn")->isEnabled() && checkBox("grey")->isEnabled() &&
                form->commandStates().fileList);
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SaveAs, AGodotSaveLeavesDisabledCommandsDisabled) {
    // Printfox leaves "Show gray" off, and nine zoom-ins leave "Zoom In" off; a save does
    // not give them back.
    form->setFirstPaintPending(false);
    show(write(QStringLiteral("page.pg"), makePagefoxPage(10, 20, printfoxPage(20, 10))));
    ASSERT_FALSE(checkBox("grey")->isEnabled());
    for (int i = 0; i < 9; ++i)
        pushButton("ZoomIn")->click();
    ASSERT_FALSE(pushButton("ZoomIn")->isEnabled());
    saveAs(radioButton("Godot"), QDir(outFolder()).filePath("page.4BT"));
    EXPECT_EQ(godotPicture(QDir(outFolder()).filePath("page.4BT")), rgb(shown()));
    EXPECT_FALSE(checkBox("grey")->isEnabled());
    EXPECT_FALSE(pushButton("ZoomIn")->isEnabled());
    EXPECT_TRUE(pushButton("ZoomOut")->isEnabled() && pushButton("OrigSize")->isEnabled());
    EXPECT_TRUE(pushButton("SaveAs")->isEnabled() && form->commandStates().fileList);
}

TEST_F(SaveAs, AFileSavedIntoTheShownFolderIsListed) {
    show(write(QStringLiteral("pic.koa"), makeKoala(testPattern(6))));
    fileList()->listModel()->refresh();
    ASSERT_GE(listRow(QStringLiteral("pic.koa")), 0);

    saveAs(radioButton("PNG"), QDir(picsFolder()).filePath("new.PNG"));
    EXPECT_TRUE(QFileInfo::exists(QDir(picsFolder()).filePath("new.PNG")));

    saveAs(radioButton("Godot"), QDir(picsFolder()).filePath("new.4BT"));
    EXPECT_GE(listRow(QStringLiteral("new.4BT")), 0);
    // A PC picture is listed too.
    EXPECT_GE(listRow(QStringLiteral("new.PNG")), 0);

    // The listed file is the picture.
    clickListItem(QStringLiteral("new.4BT"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra: new.4BT (4Bit GoDot)"));
    EXPECT_TRUE(boxes.empty());
}

// ---- Failures ----

TEST_F(SaveAs, AGodotFileThatCannotBeWrittenIsReported) {
    const QString pic = write(QStringLiteral("pic.koa"), makeKoala(testPattern(7)));
    show(pic);
    // Tests may run with every right: a folder that does not exist, and one whose name is
    // taken by a file.
    for (const QString& target : {dir.filePath("missing/pic.4BT"), pic + "/pic.4BT"}) {
        SCOPED_TRACE(target.toStdString());
        boxes.clear();
        saveAs(radioButton("Godot"), target);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].title, QStringLiteral("Information"));
        EXPECT_EQ(boxes[0].text, QStringLiteral("Writing 4bt file failed"));
        EXPECT_FALSE(QFileInfo::exists(target));
        EXPECT_FALSE(program->progressWindow()->isVisible());
        EXPECT_TRUE(pushButton("SaveAs")->isEnabled() && checkBox("grey")->isEnabled() &&
                    form->commandStates().fileList);
    }
    // The save folder had changed all the same.
    saveAs(radioButton("Godot"), {});
    EXPECT_EQ(lastRequest().directory, pic + u'/');
}

TEST_F(SaveAs, APictureTooLargeForGodotIsRefusedAndTheFileKept) {
    show(write(QStringLiteral("pic.koa"), makeKoala(testPattern(8))));
    const QString target = QDir(outFolder()).filePath("kept.4BT");
    const std::string earlier = "GOD0 earlier";
    {
        QFile f(target);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(earlier.data(), qint64(earlier.size()));
    }
    // A picture no reader drew: white, 256 cells across.
    const auto whitePicture = [](int width) {
        Decoded white;
        white.accepted = true;
        white.picture = IndexedImage(width, 16);
        white.picture.setPalette(std::vector<Rgb>{{255, 255, 255}});
        return white;
    };
    form->document()->show({}, nullptr, whitePicture(2048));
    ProgressWatch watch(program->progressWindow(), form);
    saveAs(radioButton("Godot"), target);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("Writing 4bt file failed"));
    EXPECT_EQ(fileBytes(target), std::vector<std::uint8_t>(earlier.begin(), earlier.end()));
    EXPECT_FALSE(watch.shown);
    EXPECT_EQ(QDir(outFolder()).entryList(QDir::Files), QStringList{"kept.4BT"});

    // 255 cells fit.
    form->document()->show({}, nullptr, whitePicture(2040));
    boxes.clear();
    saveAs(radioButton("Godot"), target);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(godotPicture(target), rgb(shown()));
}

TEST_F(SaveAs, AFailedComponentWriteShowsTheLibraryErrorThenTheFormatsMessage) {
    show(write(QStringLiteral("pic.koa"), makeKoala(testPattern(9))));
    saveAs(radioButton("PNG"), dir.filePath("missing/pic.PNG"));
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].title, QStringLiteral("Error"));
    EXPECT_EQ(boxes[1].title, QStringLiteral("Information"));
    EXPECT_EQ(boxes[1].text, QStringLiteral("Writing png file failed"));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("missing/pic.PNG")));
}

// The window and the converter write the same bytes for the same picture and settings (the
// window's: TIFF with LZW, JPEG at quality 25 without smoothing, the depth chosen for a
// true-colour screen).
TEST_F(SaveAs, EverySampleIsSavedByteForByteAsTheConverterWritesIt) {
    const std::vector<samples::SampleFile> files = samples::allSampleFiles();
    std::vector<std::string> inputs;
    for (const samples::SampleFile& f : files)
        inputs.push_back(write(QString::fromStdString(f.name), f.bytes).toStdString());
    const QDir out(outFolder());
    const std::pair<QRadioButton*, const char*> formats[] = {
        {radioButton("PNG"), "png"}, {radioButton("GIF"), "gif"}, {radioButton("BMP"), "bmp"},
        {radioButton("PCX"), "pcx"}, {radioButton("TIF"), "tif"}, {radioButton("JPG"), "jpg"}};
    for (const auto& [button, extension] : formats) {
        SCOPED_TRACE(extension);
        const QString converted = dir.filePath(QStringLiteral("converted-") + extension);
        std::vector<std::string> args{"--to", extension, "--quality",
                                      "25",   "-o",      converted.toStdString()};
        args.insert(args.end(), inputs.begin(), inputs.end());
        const RunResult run = runTool("quendra-convert", args, dir.path().toStdString());
        ASSERT_EQ(run.status, 0) << run.err;
        for (const std::string& input : inputs) {
            const QString base = QFileInfo(QString::fromStdString(input)).completeBaseName();
            SCOPED_TRACE(base.toStdString());
            show(QString::fromStdString(input));
            const QString saved = out.filePath(base + u'.' + extension);
            saveAs(button, saved);
            EXPECT_EQ(fileBytes(saved),
                      fileBytes(QDir(converted).filePath(base + u'.' + extension)));
        }
    }
    EXPECT_TRUE(boxes.empty());
}

// File > "Export as C64 picture" opens the export window; its Save writes exactly as the
// converter's --to writes the picture where it keeps the format's rules, and a picture that
// breaks them only once "Reduced" is chosen.
TEST_F(SaveAs, ExportsAsAC64PictureExactlyOrReduced) {
    const QString koala = write(QStringLiteral("pic.koa"), makeKoala(testPattern(3)));
    const RunResult run =
        runTool("quendra-convert",
                {"--to", "koa", "-o", dir.filePath("converted").toStdString(), koala.toStdString()},
                dir.path().toStdString());
    ASSERT_EQ(run.status, 0) << run.err;
    // The window is modal: `work` runs on it once it shows, then it is closed if still open.
    const auto exportWith = [&](const std::function<void(ExportWindow&)>& work) {
        QTimer::singleShot(0, [&] {
            auto* window = qobject_cast<ExportWindow*>(QApplication::activeModalWidget());
            ASSERT_NE(window, nullptr);
            work(*window);
            window->reject();
        });
        menuAction("exportC64")->trigger();
    };
    show(koala);
    const QString exported = QDir(outFolder()).filePath(QStringLiteral("pic.koa"));
    choice = exported;
    exportWith([](ExportWindow& window) { window.save(); });
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(lastRequest().fileName, QStringLiteral("pic.koa"));
    EXPECT_EQ(lastRequest().filter, QStringLiteral("Koala Painter (*.koa)"));
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(fileBytes(exported), fileBytes(dir.filePath("converted/pic.koa")));
    EXPECT_EQ(form->statusText(),
              QStringLiteral("Exported pic.koa in %1.").arg(QDir::toNativeSeparators(outFolder())));

    // A hires picture has more colours in a fat-pixel cell than Koala takes.
    show(write(QStringLiteral("hires.art"), makeArtStudioHires(testPattern(4))));
    const QString reduced = QDir(outFolder()).filePath(QStringLiteral("hires.koa"));
    choice = reduced;
    exportWith([](ExportWindow& window) {
        EXPECT_EQ(window.previewText(), QStringLiteral("pixels x 2\u20133, y 0 are cyan and "
                                                       "purple; a multicolour pixel is two "
                                                       "pixels wide"));
        window.findChild<QComboBox*>(QStringLiteral("modeBox"))->setCurrentIndex(1);
        window.save();
    });
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(decodeKoala(fileBytes(reduced), {}).accepted);
}

} // namespace
} // namespace quendra::testing

// The Palette menu: switching re-draws from the decoded picture, the views and the GoDot
// writer follow, and the choice is kept in a section of its own.
#include <QAction>
#include <QLabel>
#include <QRadioButton>

#include "app/main_window.h"
#include "decode/character_rom.h"
#include "decode/palettes.h"
#include "samples/c64_files.h"
#include "viewer_fixture.h"

namespace quendra::testing {
namespace {

using samples::makeKoala;
using samples::testPattern;

class PaletteMenu : public ViewerTest {
  protected:
    void SetUp() override {
        ViewerTest::SetUp();
        dialogs::Handler handler = dialogs::setHandler({});
        handler.saveFileName = [this](QWidget*, const dialogs::SaveRequest&) { return target; };
        handler.openFileName = [this](QWidget*, const dialogs::OpenRequest&) {
            return paletteFile;
        };
        dialogs::setHandler(handler);
    }

    QAction* action(std::string_view name) {
        for (QAction* a : paletteActions()) {
            if (a->data().toString().toStdString() == name)
                return a;
        }
        return nullptr;
    }

    std::vector<std::uint8_t> saveGodot(const QString& name) {
        target = dir.filePath(name);
        radioButton("Godot")->setChecked(true);
        pushButton("SaveAs")->click();
        QFile f(target);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray data = f.readAll();
        return {data.begin(), data.end()};
    }

    QString readSettings() {
        QFile f(settings::filePath());
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

    QString target, paletteFile;
};

QImage inPalette(IndexedImage picture, const C64Colours& colours) {
    applyPalette(picture, colours);
    return toQImage(picture);
}

TEST_F(PaletteMenu, SwitchingRedrawsThePictureAndTheOpenViewsWithoutReadingTheFile) {
    QDir().mkpath(QFileInfo(settings::filePath()).absolutePath());
    {
        QFile f(settings::filePath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("; mine\n[Pos]\nTop=5\nLeft=6\n\n[Other]\nKey = x\n");
    }
    start();
    ASSERT_EQ(paletteActions().size(), 4);
    EXPECT_TRUE(action("default")->isChecked());
    const auto koala = makeKoala(testPattern(4));
    const QString path = write(QStringLiteral("pic.koa"), koala);
    show(path);
    const IndexedImage decoded = decodeKoala(koala, {}).picture;
    form->pictureMouseDown(Qt::LeftButton);
    form->pictureMouseDown(Qt::RightButton);
    ASSERT_TRUE(QFile::remove(path)); // what follows cannot read it again

    for (const NamedPalette& palette : namedPalettes()) {
        action(palette.name)->trigger();
        const QImage expected = inPalette(decoded, palette.colours);
        EXPECT_EQ(shown(), expected) << palette.name;
        EXPECT_EQ(form->enlargedView()->pictureView()->picture(), expected) << palette.name;
        EXPECT_EQ(form->reducedView()->pictureLabel()->pixmap().toImage().pixel(0, 0),
                  expected.pixel(0, 0))
            << palette.name;
    }
    EXPECT_TRUE(action("vice-old")->isChecked());
    EXPECT_EQ(readSettings(),
              "; mine\n[Pos]\nTop=5\nLeft=6\n\n[Other]\nKey = x\n\n[Palette]\nName=vice-old\n");

    // The grey view keeps its grey levels in any palette.
    show(write(QStringLiteral("pic.koa"), koala));
    checkBox("grey")->setChecked(true);
    EXPECT_EQ(shown(), expectedPicture(decodeKoala, koala, true));
}

TEST_F(PaletteMenu, GodotFilesAreTheSameInEveryPaletteAfterFlipsAndTurns) {
    start();
    openPictures();
    const auto koala = makeKoala(testPattern(5));
    show(write(QStringLiteral("pic.koa"), koala));
    pushButton("Flip")->click();
    pushButton("Rotate")->click(); // a quarter turn anticlockwise ("Turn")
    pushButton("Turn")->click();   // a quarter turn clockwise ("Rotate")
    pushButton("Turn")->click();
    IndexedImage expected = turnedClockwise(
        turnedClockwise(turnedAnticlockwise(flippedTopToBottom(decodeKoala(koala, {}).picture))));
    ASSERT_EQ(form->document()->indices(), expected);

    const std::vector<std::uint8_t> own = saveGodot(QStringLiteral("own.4bt"));
    ASSERT_GT(own.size(), 4u);
    for (const NamedPalette& palette : namedPalettes()) {
        action(palette.name)->trigger();
        EXPECT_EQ(shown(), inPalette(expected, palette.colours)) << palette.name;
        EXPECT_EQ(saveGodot(QStringLiteral("p.4bt")), own) << palette.name;
    }
    // The PC formats are written as shown: in the palette chosen last.
    target = dir.filePath(QStringLiteral("shown.png"));
    radioButton("PNG")->setChecked(true);
    pushButton("SaveAs")->click();
    EXPECT_EQ(QImage(target).convertToFormat(QImage::Format_RGB32),
              inPalette(expected, namedPalettes().back().colours));
}

TEST_F(PaletteMenu, APaletteFileIsUsedAndKeptAndABadOneChangesNothing) {
    start();
    const auto koala = makeKoala(testPattern(6));
    show(write(QStringLiteral("pic.koa"), koala));
    QString text = QStringLiteral("# mine\n");
    for (int i = 0; i < 16; ++i)
        text += QStringLiteral("%1 20 30 0\n").arg(i * 16, 2, 16, QChar(u'0'));
    const QByteArray bytes = text.toUtf8();
    paletteFile = write(QStringLiteral("mine.vpl"), {bytes.begin(), bytes.end()});
    menuAction("loadPalette")->trigger();
    ASSERT_TRUE(boxes.empty());
    const PaletteResult mine = readVplFile(toPath(paletteFile));
    ASSERT_TRUE(mine.ok);
    EXPECT_EQ(shown(), inPalette(decodeKoala(koala, {}).picture, mine.colours));
    EXPECT_TRUE(menuAction("loadPalette")->isChecked());

    // Bad hex on line 3: a box names the line, the palette stays.
    paletteFile =
        write(QStringLiteral("bad.vpl"), {'#',  '\n', '0', '0', ' ', '0', '0', ' ', '0', '0',
                                          '\n', '0',  'x', ' ', '0', '0', ' ', '0', '0', '\n'});
    const QImage before = shown();
    menuAction("loadPalette")->trigger();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].text.contains(QStringLiteral("line 3: \"0x\"")));
    EXPECT_EQ(shown(), before);
    EXPECT_TRUE(menuAction("loadPalette")->isChecked());

    // The next start uses the file again.
    program.reset();
    start();
    EXPECT_TRUE(menuAction("loadPalette")->isChecked());
    EXPECT_EQ(form->document()->paletteColours(), mine.colours);
    EXPECT_EQ(settings::readPaletteChoice(settings::filePath()).file,
              QFileInfo(dir.filePath(QStringLiteral("pics/mine.vpl"))).absoluteFilePath());
}

// A C64 character ROM chosen in the menu draws PETSCII screens, as the converter's --chargen;
// quendra.ini keeps it; a file of another size changes nothing; "Usual" forgets it.
TEST_F(PaletteMenu, ACharacterRomFileDrawsPetsciiScreensAndIsKept) {
    struct Forget {
        ~Forget() { forgetCharacterRomFile(); }
    } forget;                                  // other tests draw with the usual characters
    std::vector<std::uint8_t> screen(2026, 0); // "@" everywhere, white on black
    screen[1] = 0x04;
    std::fill(screen.begin() + 1026, screen.end(), 1);
    const QString solid = write(QStringLiteral("solid.rom"), std::vector<std::uint8_t>(4096, 0xFF));
    const QString bad = write(QStringLiteral("bad.rom"), std::vector<std::uint8_t>(100, 0xFF));
    start();
    show(write(QStringLiteral("at.pet"), screen));
    const auto oneColour = [](const QImage& image) {
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixel(x, y) != image.pixel(0, 0))
                    return false;
            }
        }
        return image.pixel(0, 0) != qRgb(0, 0, 0);
    };
    const QImage before = shown();
    ASSERT_FALSE(oneColour(before));

    paletteFile = bad;
    menuAction("characterRom")->trigger();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(shown(), before);

    paletteFile = solid;
    menuAction("characterRom")->trigger();
    EXPECT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(oneColour(shown()));
    EXPECT_TRUE(form->statusText().isEmpty());
    EXPECT_TRUE(readSettings().contains(QStringLiteral("Chargen=") + solid))
        << readSettings().toStdString();

    menuAction("usualCharacterRom")->trigger();
    EXPECT_EQ(shown(), before);
    EXPECT_FALSE(readSettings().contains(QStringLiteral("Chargen=") + solid));
}

} // namespace
} // namespace quendra::testing

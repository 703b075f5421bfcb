// The dispatch: which reader a file goes to, the captions, the states around the readers,
// the GoDot path and the grey toggle.
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

#include "decode/formats.h"
#include "decode/readers.h"
#include "samples/bitmap_files.h"
#include "samples/c64_files.h"
#include "viewer_fixture.h"

namespace quendra::testing {
namespace {

using samples::makeKoala;
using samples::testPattern;

template <std::size_t N> std::vector<std::uint8_t> bytesOf(const char (&text)[N]) {
    return {text, text + N - 1};
}

void expectPictureCommands(MainWindow* form, bool on) {
    for (const char* name : {"SaveAs", "Flip", "Rotate", "Turn", "ZoomIn"})
        EXPECT_EQ(control<QPushButton>(form, name)->isEnabled(), on) << name;
}

TEST_F(ViewerTest, AKoalaFileIsShownWithItsCaptionAndTheCommandsOn) {
    start();
    const auto bytes = makeKoala(testPattern());
    show(write(QStringLiteral("pic.koa"), bytes));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra: pic.koa (Koala)"));
    EXPECT_EQ(shown(), expectedPicture(decodeKoala, bytes));
    expectPictureCommands(form, true);
    EXPECT_TRUE(checkBox("grey")->isEnabled());
    EXPECT_TRUE(radioButton("Godot")->isEnabled());
    EXPECT_TRUE(form->commandStates().fileList);
    EXPECT_FALSE(pushButton("ZoomOut")->isEnabled());
    EXPECT_FALSE(pushButton("OrigSize")->isEnabled());
    EXPECT_TRUE(form->document()->isShown());
}

TEST_F(ViewerTest, ARejectedFileLeavesTheBlackTemplateWithItsReasonAndTheCommandsOff) {
    start();
    show(write(QStringLiteral("good.koa"), makeKoala(testPattern())));
    // Cut short where no other format's length or packed data fits either: content
    // detection finds nothing, and the Koala reader's refusal stands.
    auto shortFile = makeKoala(testPattern());
    shortFile.resize(6000);
    show(write(QStringLiteral("short.koa"), shortFile));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra: short.koa"));
    EXPECT_EQ(shown(), blackTemplate());
    DecodeOptions options;
    options.fileSize = shortFile.size();
    EXPECT_EQ(form->statusText(),
              QStringLiteral("short.koa is not a C64 picture (6000 bytes; no format takes this "
                             "length or signature); as Koala Painter: ") +
                  QString::fromStdString(decodeKoala(shortFile, options).reason));
    expectPictureCommands(form, false);
    EXPECT_TRUE(checkBox("grey")->isEnabled());
    EXPECT_FALSE(form->document()->isShown());
}

TEST_F(ViewerTest, ARefusedFileIsCaptionedByItsNameAlone) {
    start();
    // A row's form as written and in the other case, a form in mixed case (the first row
    // holding it in any case), rows that report progress, and names no row holds: those go
    // to the GoDot row, where the magic decides.
    for (const char* name : {"a.koa", "a.KOA", "a.Gg", "a.bs", "a.fp2", "a.txt", "noextension"}) {
        const QString file = QString::fromLatin1(name);
        const C64Format& row = formatForFile(name);
        if (file.endsWith(QStringLiteral(".txt")) || !file.contains(u'.')) {
            EXPECT_EQ(row.captionSuffix, " (4Bit GoDot)") << name;
        }
        // Content no reader accepts: the caption names no format (it names one only for a
        // picture shown), the line says why, and nothing counts as a picture.
        show(write(file, bytesOf("not a picture")));
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra: ") + file);
        EXPECT_EQ(shown(), blackTemplate()) << name;
        EXPECT_FALSE(form->statusText().isEmpty()) << name;
        expectPictureCommands(form, false);
        EXPECT_TRUE(form->commandStates().fileList);
    }
}

TEST_F(ViewerTest, ExtensionsCompareWithoutRegardToCase) {
    start();
    const auto koala = makeKoala(testPattern());
    show(write(QStringLiteral("PIC.KOA"), koala));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra: PIC.KOA (Koala)"));
    EXPECT_EQ(shown(), expectedPicture(decodeKoala, koala));

    show(write(QStringLiteral("pic.Koa"), koala));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra: pic.Koa (Koala)"));
    EXPECT_EQ(shown(), expectedPicture(decodeKoala, koala));
}

TEST_F(ViewerTest, TheMagicDecidesOnTheGodotPath) {
    start();
    // A clip under a picture's extension ...
    show(write(QStringLiteral("clip.4bt"), bytesOf("GOD1\0\0\1\1")));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra: clip.4bt (4Bit GoDot-Clip)"));
    EXPECT_TRUE(form->document()->isShown());
    expectPictureCommands(form, true);
    // ... and a full picture under a clip's.
    show(write(QStringLiteral("full.clp"), bytesOf("GOD0")));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra: full.clp (4Bit GoDot)"));
    EXPECT_TRUE(form->document()->isShown());
}

TEST_F(ViewerTest, TheGodotPathWithoutMagicKeepsThePictureShownFlag) {
    start();
    show(write(QStringLiteral("x.4bt"), bytesOf("GO")));
    EXPECT_FALSE(form->document()->isShown());
    EXPECT_EQ(shown(), blackTemplate());
    expectPictureCommands(form, false);
    EXPECT_TRUE(checkBox("grey")->isEnabled());
}

TEST_F(ViewerTest, AMissingFileOrAFolderIsNamedOnTheLineNotShown) {
    start();
    show(write(QStringLiteral("pic.koa"), makeKoala(testPattern())));
    show(dir.filePath(QStringLiteral("pics/none.koa")));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra: none.koa"));
    EXPECT_EQ(form->statusText(), QStringLiteral("The file none.koa does not exist."));
    EXPECT_EQ(shown(), blackTemplate());
    expectPictureCommands(form, false);
    show(picsFolder()); // a folder is no file either
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra: pics"));
    EXPECT_EQ(form->statusText(), QStringLiteral("pics is a folder, not a picture."));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(ViewerTest, PrintfoxLeavesGreyOffAndFunPainterTakesGodotAway) {
    start();
    show(write(QStringLiteral("a.koa"), makeKoala(testPattern())));
    ASSERT_TRUE(checkBox("grey")->isEnabled());
    radioButton("Godot")->setChecked(true);

    show(write(QStringLiteral("a.bs"), bytesOf("Xnot a page")));
    EXPECT_FALSE(checkBox("grey")->isEnabled());
    EXPECT_TRUE(radioButton("Godot")->isEnabled());
    expectPictureCommands(form, false); // rejected

    show(write(QStringLiteral("a.fp2"), bytesOf("not an fp2")));
    EXPECT_FALSE(checkBox("grey")->isEnabled());
    EXPECT_FALSE(radioButton("Godot")->isEnabled());
    EXPECT_FALSE(radioButton("Godot")->isChecked());
    EXPECT_TRUE(radioButton("GIF")->isChecked());
    expectPictureCommands(form, false); // rejected
    EXPECT_FALSE(form->document()->isShown());

    // The next file offers "4Bit GoDot" again but leaves GIF selected.
    show(write(QStringLiteral("b.koa"), makeKoala(testPattern())));
    EXPECT_TRUE(radioButton("Godot")->isEnabled());
    EXPECT_TRUE(radioButton("GIF")->isChecked());
    EXPECT_TRUE(checkBox("grey")->isEnabled());
}

TEST_F(ViewerTest, TheGreyToggleShowsTheSameFileInTheOtherPalette) {
    start();
    const auto bytes = makeKoala(testPattern());
    show(write(QStringLiteral("pic.koa"), bytes));
    checkBox("grey")->setChecked(true);
    EXPECT_EQ(shown(), expectedPicture(decodeKoala, bytes, true));
    EXPECT_TRUE(checkBox("grey")->isEnabled());

    // A flip is lost: the file is decoded anew.
    pushButton("Flip")->click();
    ASSERT_NE(shown(), expectedPicture(decodeKoala, bytes, true));
    checkBox("grey")->setChecked(false);
    EXPECT_EQ(shown(), expectedPicture(decodeKoala, bytes));
}

TEST_F(ViewerTest, AfterAnEmptySelectionTheGreyToggleShowsNothing) {
    start();
    const auto bytes = makeKoala(testPattern());
    write(QStringLiteral("pic.koa"), bytes);
    openPictures();
    clickListItem(QStringLiteral("pic.koa"));
    ASSERT_EQ(form->windowTitle(), QStringLiteral("Quendra: pic.koa (Koala)"));
    clickListItem({}); // below the last row: nothing selected
    EXPECT_TRUE(form->document()->fileName().isEmpty());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra: pic.koa (Koala)"));
    checkBox("grey")->setChecked(true);
    EXPECT_EQ(shown(), expectedPicture(decodeKoala, bytes)); // still the colour picture
}

TEST_F(ViewerTest, AClickInTheListShowsTheFileUnderItsRealName) {
    start();
    const auto bytes = makeKoala(testPattern());
    write(QStringLiteral("UPPER.KOA"), bytes);
    write(QStringLiteral("Mixed.Koa"), bytes);
    write(QStringLiteral("other.txt"), bytes);
    openPictures();
    ASSERT_EQ(fileList()->rowCount(), 2);
    EXPECT_EQ(fileList()->text(0, FileListView::Caption), QStringLiteral("Mixed.Koa"));
    EXPECT_EQ(fileList()->text(1, FileListView::Caption), QStringLiteral("UPPER.KOA"));
    clickListItem(QStringLiteral("UPPER.KOA"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra: UPPER.KOA (Koala)"));
    EXPECT_EQ(shown(), expectedPicture(decodeKoala, bytes));
    clickListItem(QStringLiteral("Mixed.Koa"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra: Mixed.Koa (Koala)"));
    EXPECT_EQ(shown(), expectedPicture(decodeKoala, bytes));
}

} // namespace
} // namespace quendra::testing

namespace quendra::testing {
namespace {

TEST_F(ViewerTest, AFileNoFormatTakesByNameIsShownByTheFormatItsContentFits) {
    start();
    const auto paddles =
        samples::makeMulticolourFile(testPattern(3), samples::kBlazingPaddlesLayout);
    for (const QString& name :
         {QStringLiteral("world.bin"), QStringLiteral("pi.world"), QStringLiteral("WORLD.PI")}) {
        show(write(name, paddles));
        EXPECT_EQ(form->windowTitle(),
                  QStringLiteral("Quendra: ") + name + QStringLiteral(" (Blazing Paddles)"));
        EXPECT_EQ(shown(), expectedPicture(decodeBlazingPaddles, paddles));
        expectPictureCommands(form, true);
        EXPECT_TRUE(checkBox("grey")->isEnabled());
        EXPECT_TRUE(form->document()->isShown());
    }
}

} // namespace
} // namespace quendra::testing

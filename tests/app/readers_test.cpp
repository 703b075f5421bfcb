// Every reader inside the window: its picture, its caption, the controls around it and
// the progress window of the readers with large data.
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>

#include "app/secondary_windows.h"
#include "samples/c64_files.h"
#include "samples/fli_files.h"
#include "samples/funpainter_files.h"
#include "samples/printfox_files.h"
#include "viewer_fixture.h"

namespace quendra::testing {
namespace {

using namespace samples;

struct Case {
    QString name;
    Decoded (*decode)(Bytes, const DecodeOptions&);
    std::vector<std::uint8_t> bytes;
    QString suffix;
};

std::vector<Case> c64Cases() {
    const CellPicture p = testPattern(4);
    return {
        {"k.koa", decodeKoala, makeKoala(p), " (Koala)"},
        {"k.RPM", decodeKoala, makeKoala(p, true), " (Koala)"},
        {"c.gg", decodeKoalaCompressed, makeKoalaCompressed(p), " (Koala compressed)"},
        {"a.ocp", decodeArtStudio, makeArtStudio(p), " (Advanced Art Studio)"},
        {"h.OCP", decodeArtStudio, makeArtStudioHires(p), " (Art Studio HiRes)"},
        {"m.ami", decodeAmica, makeAmica(p), " (Amica Paint)"},
        {"d.dd", decodeDoodle, makeDoodle(p, 0x1C00), " (Doodle HiRes)"},
        {"j.jj", decodeDoodleCompressed, makeDoodleCompressed(p), " (Doodle HiRes compressed)"},
    };
}

TEST_F(ViewerTest, EveryC64ReaderShowsItsPictureInColourAndInGrey) {
    start();
    for (bool grey : {false, true}) {
        for (const Case& c : c64Cases()) {
            SCOPED_TRACE(c.name.toStdString());
            checkBox("grey")->setChecked(grey); // re-shows the current file first
            show(write(c.name, c.bytes));
            EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra: ") + c.name + c.suffix);
            EXPECT_EQ(shown(), expectedPicture(c.decode, c.bytes, grey));
            EXPECT_TRUE(form->document()->isShown());
            EXPECT_TRUE(checkBox("grey")->isEnabled());
            EXPECT_TRUE(pushButton("SaveAs")->isEnabled() && pushButton("Flip")->isEnabled() &&
                        pushButton("Rotate")->isEnabled() && pushButton("Turn")->isEnabled() &&
                        pushButton("ZoomIn")->isEnabled() && form->commandStates().fileList);
            EXPECT_TRUE(radioButton("Godot")->isEnabled());
        }
    }
}

TEST_F(ViewerTest, ArtStudioTellsItsKindsApartByLength) {
    start();
    // A hires file whose load address is wrong is not handed to the hires reader; content
    // detection shows it by the Art Studio hires layout, which takes any load address.
    auto hires = makeArtStudioHires(testPattern());
    hires[1] = 0x60;
    show(write(QStringLiteral("x.ocp"), hires));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra: x.ocp (Art Studio HiRes)"));
    hires[1] = 0x20;
    EXPECT_EQ(shown(), expectedPicture(decodeArtStudio, hires));
    // A Koala file named .ocp: the length decides, and detection finds it Koala's.
    show(write(QStringLiteral("k.ocp"), makeKoala(testPattern())));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra: k.ocp (Koala)"));
    EXPECT_EQ(shown(), expectedPicture(decodeKoala, makeKoala(testPattern())));
    // Neither kind's length nor any other format's: the black template stays.
    auto neither = makeArtStudio(testPattern());
    neither.resize(7000);
    show(write(QStringLiteral("n.ocp"), neither));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra: n.ocp")); // no picture, no format
    EXPECT_EQ(shown(), blackTemplate());
}

TEST_F(ViewerTest, PrintfoxShowsThePageAtItsSizeWithProgress) {
    start();
    form->setFirstPaintPending(false);
    const auto page = printfoxPage(80, 50, 2);
    const auto bytes = makePrintfoxLarge(page, true);
    ProgressWatch watch(program->progressWindow(), form);
    show(write(QStringLiteral("big.bs"), bytes)); // the first byte decides, not the name
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra: big.bs (Page-/Printfox)"));
    EXPECT_EQ(shown().size(), QSize(640, 400));
    EXPECT_EQ(shown(), expectedPicture(decodePrintfox, bytes));
    EXPECT_TRUE(watch.shown);
    EXPECT_EQ(watch.caption, QStringLiteral("Loading..."));
    EXPECT_EQ(watch.maximum, 50);
    EXPECT_TRUE(watch.commandsOff);
    EXPECT_TRUE(watch.greyOff);
    EXPECT_TRUE(watch.listBoxOff);
    EXPECT_FALSE(program->progressWindow()->isVisible());
    EXPECT_FALSE(checkBox("grey")->isEnabled());
    EXPECT_TRUE(pushButton("ZoomIn")->isEnabled());
}

TEST_F(ViewerTest, NoProgressWindowWhileTheFirstPaintIsPending) {
    start();
    ASSERT_TRUE(form->firstPaintPending());
    ProgressWatch watch(program->progressWindow(), form);
    show(write(QStringLiteral("p.pg"), makePagefoxPage(10, 20, printfoxPage(20, 10))));
    EXPECT_EQ(shown().size(), QSize(160, 80));
    EXPECT_FALSE(watch.shown);
    EXPECT_FALSE(form->firstPaintPending()); // a good page ends the start-up

    // A file of another type leaves the flag as it was.
    form->setFirstPaintPending(true);
    show(write(QStringLiteral("q.gb"), {'X', 1, 2, 3}));
    EXPECT_TRUE(form->firstPaintPending());
    EXPECT_EQ(shown(), blackTemplate());
}

TEST_F(ViewerTest, FunPainterShowsTheBlendWithProgressAndTakesGodotAway) {
    start();
    form->setFirstPaintPending(false);
    radioButton("Godot")->setChecked(true);
    const auto bytes = makeFunPainter(funPainterPattern(1), true);
    ProgressWatch watch(program->progressWindow(), form);
    show(write(QStringLiteral("f.fp2"), bytes));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra: f.fp2 (FunPainter 2 / IFLI)"));
    EXPECT_EQ(shown(), expectedPicture(decodeFunPainter, bytes));
    EXPECT_TRUE(watch.shown);
    EXPECT_EQ(watch.caption, QStringLiteral("Loading..."));
    EXPECT_EQ(watch.maximum, 40);
    EXPECT_TRUE(watch.commandsOff && watch.greyOff);
    EXPECT_FALSE(program->progressWindow()->isVisible());
    EXPECT_TRUE(radioButton("GIF")->isChecked());
    EXPECT_FALSE(radioButton("Godot")->isEnabled());
    EXPECT_FALSE(checkBox("grey")->isEnabled());
}

TEST_F(ViewerTest, ARejectedFunPainterFileStillEndsTheStartUp) {
    start();
    ProgressWatch watch(program->progressWindow(), form);
    show(write(QStringLiteral("f.FP2"), {0xF0, 0x3F, 'F'}));
    EXPECT_FALSE(watch.shown);
    EXPECT_FALSE(form->firstPaintPending());
    EXPECT_EQ(shown(), blackTemplate());
    EXPECT_FALSE(radioButton("Godot")->isEnabled());
    EXPECT_FALSE(form->document()->isShown()); // rejected: nothing to enlarge
}

TEST_F(ViewerTest, FliPicturesShowAtTheirSizeGreyOnlyWithOneFrameAndGodotAlways) {
    start();
    const FliPicture p = fliPattern(2);
    // BFLI and Hires FLI are layouts of their rows, read by the generic reader.
    const auto bfli = [](Bytes f, const DecodeOptions& o) {
        return decodeAs(formatRow(FormatId::bfli), f, o);
    };
    const auto hiresFli = [](Bytes f, const DecodeOptions& o) {
        return decodeAs(formatRow(FormatId::hiresFli), f, o);
    };
    const struct {
        QString name;
        Decoded (*decode)(Bytes, const DecodeOptions&);
        std::vector<std::uint8_t> bytes;
        QString suffix;
        QSize size;
        bool mixed;
    } cases[] = {
        {"d.fli", decodeFliDesigner, makeFliDesigner(p), " (FLI)", {296, 200}, false},
        {"g.fli", decodeFliDesigner, makeFliGraph(p), " (FLI Graph)", {296, 200}, false},
        {"b.bfli", bfli, makeBfli(p), " (BFLI)", {296, 400}, false},
        {"h.hfc", hiresFli, makeHiresFli(p), " (Hires FLI)", {296, 112}, false},
        {"z.DRP", decodeDrazpaint, makeDrazpaintPacked(p), " (Drazpaint)", {320, 200}, false},
        {"u.gun", decodeGunpaint, makeGunpaint(p), " (Gunpaint)", {296, 200}, true},
        {"t.mci", decodeTruePaint, makeTruePaintPacked(p), " (True Paint)", {320, 200}, true},
    };
    for (bool grey : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name.toStdString());
            checkBox("grey")->setChecked(grey); // a mixed picture leaves it be
            show(write(c.name, c.bytes));
            EXPECT_EQ(form->windowTitle(), QStringLiteral("Quendra: ") + c.name + c.suffix);
            EXPECT_EQ(shown().size(), c.size);
            EXPECT_EQ(shown(), expectedPicture(c.decode, c.bytes, grey && !c.mixed));
            EXPECT_EQ(checkBox("grey")->isEnabled(), !c.mixed);
            EXPECT_TRUE(pushButton("SaveAs")->isEnabled() && radioButton("Godot")->isEnabled());
        }
    }
}

} // namespace
} // namespace quendra::testing

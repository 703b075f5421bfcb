// The picture document driven directly: a reader's picture shown, in grey, in another
// palette, flipped and turned, and cleared, with the signals the views follow and the
// pixels they draw. One row per meaning of the indices.
#include <QSignalSpy>
#include <gtest/gtest.h>

#include "app/picture_document.h"
#include "components/bridge.h"
#include "decode/formats.h"
#include "decode/readers.h"
#include "samples/c64_files.h"
#include "samples/funpainter_files.h"
#include "samples/godot_files.h"
#include "samples/printfox_files.h"

namespace quendra::testing {
namespace {

using namespace samples;

struct Case {
    const char* name;
    Decoded (*decode)(Bytes, const DecodeOptions&);
    ByteVector bytes;
};

std::vector<Case> cases() {
    ByteVector page(8000);
    for (std::size_t i = 0; i < page.size(); ++i)
        page[i] = static_cast<std::uint8_t>(i * 37 % 251);
    return {
        {"colour numbers.koa", decodeKoala, makeKoala(testPattern(3))},
        {"godot.4bt", decodeGodot, makeGodot(godotTestPattern())},
        {"blend.fp2", decodeFunPainter, makeFunPainter(funPainterPattern(), false)},
        {"fixed.bs", decodePrintfox, makePrintfoxScreen(page)},
    };
}

Decoded decoded(const Case& c, bool grey = false) {
    DecodeOptions options;
    options.grey = grey;
    Decoded d = c.decode(c.bytes, options);
    EXPECT_TRUE(d.accepted) << d.reason;
    return d;
}

QImage drawn(IndexedImage picture, const C64Colours& colours) {
    applyPalette(picture, colours);
    return toQImage(picture);
}

TEST(PictureDocument, ShowGreyPaletteFlipTurnAndClear) {
    const C64Colours own = defaultPalette().colours;
    const NamedPalette* other = nullptr;
    for (const NamedPalette& p : namedPalettes())
        other = p.colours != own ? &p : other;
    ASSERT_TRUE(other);
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.name);
        PictureDocument document;
        QSignalSpy changed(&document, &PictureDocument::pictureChanged);
        QSignalSpy colours(&document, &PictureDocument::coloursChanged);
        QSignalSpy cleared(&document, &PictureDocument::cleared);
        const C64Format* format = &formatForFile(c.name);

        // Shown: the reader's picture in the chosen palette.
        const Decoded read = decoded(c);
        document.show(c.name, format, read);
        EXPECT_EQ(changed.count(), 1);
        EXPECT_TRUE(document.isShown() && document.holdsCurrentFile());
        EXPECT_EQ(document.fileName(), QString::fromLatin1(c.name));
        EXPECT_EQ(document.picture(), drawn(read.picture, own));

        // Grey: the same indices in the table the reader draws a grey picture with.
        document.setGrey(true);
        EXPECT_EQ(document.decodedAgain().picture, decoded(c, true).picture);
        document.setGrey(false);

        // Another palette: a redraw, the views told; a black and white page stays.
        const bool fixed = read.picture.meaning() == IndexMeaning::fixed;
        const QString otherName =
            QString::fromUtf8(other->name.data(), static_cast<qsizetype>(other->name.size()));
        document.setPalette({otherName, {}}, other->colours);
        EXPECT_EQ(document.picture(), drawn(read.picture, other->colours));
        EXPECT_EQ(colours.count(), fixed ? 0 : 1);
        EXPECT_EQ(changed.count(), fixed ? 1 : 2);
        document.setPalette({}, own);
        changed.clear();

        // Flip: top to bottom; turn: the top-left pixel ends top-right; four turns and two
        // flips give the picture back.
        const QImage before = document.picture();
        const int w = before.width(), h = before.height();
        document.flip();
        EXPECT_TRUE(document.flipped());
        EXPECT_EQ(document.picture().pixel(0, 0), before.pixel(0, h - 1));
        document.flip();
        document.turnClockwise();
        EXPECT_EQ(document.quarterTurns(), 1);
        ASSERT_EQ(document.picture().size(), QSize(h, w));
        EXPECT_EQ(document.picture().pixel(h - 1, 0), before.pixel(0, 0));
        EXPECT_EQ(document.picture().pixel(0, w - 1), before.pixel(w - 1, h - 1));
        document.turnAnticlockwise();
        document.turnAnticlockwise();
        document.turnClockwise();
        EXPECT_EQ(document.quarterTurns(), 0);
        EXPECT_FALSE(document.flipped());
        EXPECT_EQ(document.picture(), before);
        EXPECT_EQ(changed.count(), 6);

        // A turn after a flip is a flip and a turn; a flip after a turn, a flip and the turn
        // the other way. A grey redraw starts from the picture as read, whatever was done.
        document.flip();
        document.turnClockwise();
        EXPECT_TRUE(document.flipped() && document.quarterTurns() == 1);
        document.turnClockwise();
        document.flip();
        EXPECT_TRUE(!document.flipped() && document.quarterTurns() == 2);
        document.turnAnticlockwise();
        document.flip();
        EXPECT_TRUE(document.flipped() && document.quarterTurns() == 3);
        EXPECT_EQ(document.decodedAgain().picture, read.picture);

        // Cleared: nothing shown, the views told once; flips then change nothing.
        changed.clear();
        document.clear();
        document.clear();
        EXPECT_EQ(cleared.count(), 1);
        EXPECT_FALSE(document.isShown() || document.holdsCurrentFile());
        EXPECT_TRUE(document.picture().isNull());
        document.flip();
        document.turnClockwise();
        EXPECT_EQ(changed.count(), 0);
        EXPECT_EQ(document.fileName(), QString::fromLatin1(c.name)); // the current file stays
    }
}

} // namespace
} // namespace quendra::testing

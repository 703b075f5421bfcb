// Pictures in any known palette and emulators' screenshots to C64 files: the palette found,
// the border cut, the enlargement undone, and a picture in no palette reduced.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "decode/formats.h"
#include "decode/open_picture.h"
#include "export/c64_export.h"
#include "export/palette_match.h"

namespace quendra {
namespace {

namespace fs = std::filesystem;

// A multicolour picture's colour numbers, 320 x 200 in doubled pixels: every cell blue,
// black and two of its own.
int multicolour(int x, int y) {
    return x % 8 < 2 ? 6 : (x / 2 + y) % 3 + (x / 32 + y / 8) % 5 + 1;
}

Image drawn(const C64Colours& colours, int scale, int border) {
    const bool framed = border >= 0;
    Image picture((framed ? 384 : 320) * scale, (framed ? 272 : 200) * scale);
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const int sx = x / scale - (framed ? 32 : 0), sy = y / scale - (framed ? 35 : 0);
            const bool inside = sx >= 0 && sx < 320 && sy >= 0 && sy < 200;
            picture.setPixel(x, y, colours[inside ? multicolour(sx, sy) : border]);
        }
    }
    return picture;
}

C64ExportOptions automatic() {
    C64ExportOptions options;
    options.autoPalette = true;
    return options;
}

// The file's picture in colour numbers, or why it was not written.
std::string writtenBack(C64Exporter& exporter, const Image& picture, const char* key,
                        IndexedImage& back) {
    std::vector<std::uint8_t> out;
    const C64Writer& writer = *findC64Writer(key);
    if (std::string why = exporter.write(picture, writer, automatic(), out); !why.empty())
        return why;
    Decoded decoded = decodeAs(writer.row(), out, {});
    back = std::move(decoded.picture);
    return decoded.accepted ? "" : decoded.reason;
}

TEST(ScreenshotPalette, PalettesFramesAndScales) {
    for (const NamedPalette& palette : knownPalettes()) {
        Image stripes(320, 200);
        for (int y = 0; y < 200; ++y) {
            for (int x = 0; x < 320; ++x)
                stripes.setPixel(x, y, palette.colours[x / 20]);
        }
        const PaletteMatch match = matchPalette(stripes, knownPalettes());
        ASSERT_GE(match.index, 0) << palette.name;
        EXPECT_EQ(knownPalettes()[match.index].colours, palette.colours) << palette.name;
    }
    const NamedPalette& pepto = *findKnownPalette("pepto");
    const struct {
        const char* what;
        Image picture;
        std::string note;
    } cases[] = {
        {"framed", drawn(pepto.colours, 1, 14),
         "the 384 x 272 frame's border cut at 32, 35; palette pepto"},
        {"doubled", drawn(pepto.colours, 2, -1), "halved; palette pepto"},
        {"doubled and framed", drawn(findKnownPalette("ste")->colours, 2, 0),
         "halved; the 384 x 272 frame's border cut at 32, 35; palette ste"},
    };
    C64Exporter exporter;
    IndexedImage back;
    for (const auto& c : cases) {
        ASSERT_EQ(writtenBack(exporter, c.picture, "koa", back), "") << c.what;
        EXPECT_EQ(exporter.note(), c.note) << c.what;
        for (int y = 0; y < 200; ++y) {
            for (int x = 0; x < 320; ++x)
                ASSERT_EQ(back.index(x, y), multicolour(x, y)) << c.what << " " << x << ", " << y;
        }
    }
    // A picture of colours no palette holds is reduced, and says so.
    Image gradient(320, 200);
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 320; ++x)
            gradient.setPixel(x, y, {std::uint8_t(x * 255 / 319), std::uint8_t(y), 90});
    }
    EXPECT_EQ(writtenBack(exporter, gradient, "koa", back), "");
    EXPECT_EQ(exporter.note(), "its colours are of no known palette: reduced");
}

// Every real multicolour and hires bitmap that Koala Painter or Art Studio takes exactly,
// drawn in each known palette, also doubled and framed, converts back to its own picture.
// QUENDRA_REAL_SAMPLES names another folder of real pictures.
TEST(ScreenshotPalette, RealPicturesInEveryPaletteComeBack) {
    const char* other = std::getenv("QUENDRA_REAL_SAMPLES");
    const fs::path folder =
        other ? fs::path(other) : fs::path(QUENDRA_SOURCE_DIR) / "../shared/real-samples";
    if (!fs::exists(folder))
        GTEST_SKIP() << "no real pictures at " << folder;
    C64Exporter exporter;
    std::vector<std::uint8_t> out;
    int checked = 0;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file())
            continue;
        OpenedPicture opened = openPictureFile(entry.path(), {});
        if (!opened.accepted())
            continue;
        for (const char* key : {"koa", "art"}) {
            const C64Writer& writer = *findC64Writer(key);
            if (!exporter.write(opened.decoded.picture, writer, {}, out).empty())
                continue;
            const IndexedImage original = decodeAs(writer.row(), out, {}).picture;
            for (const NamedPalette& palette : knownPalettes()) {
                IndexedImage shown = original;
                applyPalette(shown, palette.colours);
                const Image rgb = shown.toRgb();
                Image doubled(2 * 384, 2 * 272), framed(384, 272);
                for (int y = 0; y < 272; ++y) {
                    for (int x = 0; x < 384; ++x) {
                        const bool inside = x >= 32 && x < 352 && y >= 35 && y < 235;
                        const Rgb c = inside ? rgb.pixel(x - 32, y - 35) : palette.colours[14];
                        framed.setPixel(x, y, c);
                        for (int k = 0; k < 4; ++k)
                            doubled.setPixel(2 * x + k % 2, 2 * y + k / 2, c);
                    }
                }
                for (const Image* picture : {&rgb, static_cast<const Image*>(&framed),
                                             static_cast<const Image*>(&doubled)}) {
                    IndexedImage back;
                    const std::string why = writtenBack(exporter, *picture, key, back);
                    const std::string what = entry.path().filename().string() + " to " + key +
                                             " in " + std::string(palette.name) + " at " +
                                             std::to_string(picture->width());
                    ASSERT_EQ(why, "") << what;
                    EXPECT_EQ(back.toRgb(), original.toRgb()) << what << ": " << exporter.note();
                    ++checked;
                }
            }
        }
    }
    std::printf("%d pictures converted back\n", checked);
}

} // namespace
} // namespace quendra

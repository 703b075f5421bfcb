// The C64 writers: real pictures written to every format whose rules they keep read back to
// the same pixels; each kind of rule break gets its message; reduction keeps what already
// fits; the packers against the readers' expansion at the edges of a run.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <set>

#include "decode/formats.h"
#include "decode/rle.h"
#include "export/c64_export.h"
#include "shared_folder.h"

namespace quendra {
namespace {

namespace fs = std::filesystem;

const C64Colours& own() {
    return defaultPalette().colours;
}

// A PC image whose pixel (x, y) is colour number f(x, y) in the program's own colours.
Image drawn(int width, int height, const std::function<int(int, int)>& f) {
    Image picture(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, own()[f(x, y) & 15]);
    }
    return picture;
}

C64ExportOptions reducing(Dither dither = Dither::none) {
    C64ExportOptions options;
    options.reduce = true;
    options.reduction.dither = dither;
    return options;
}

std::string written(const Image& picture, std::string_view key) {
    C64Exporter exporter;
    std::vector<std::uint8_t> out;
    return exporter.write(picture, *findC64Writer(key), {}, out);
}

fs::path realSamples() {
    return testing::sharedFolder("real-samples");
}

// Real pictures to every format whose rules they keep; the ones each must fit.
TEST(C64Writers, RealPicturesReadBackToTheSamePixels) {
    QUENDRA_NEED_FOLDER(realSamples());
    const std::map<std::string, std::set<std::string>> mustFit = {
        {"NINJA3.koa", {"koa", "gg", "ocp", "ami", "prg"}},
        {"GGFAT.gg", {"koa", "gg", "ocp", "ami", "prg"}},
        {"64er.ami", {"koa", "gg", "ocp", "ami", "prg"}},
        {"parallax.ocp", {"koa", "gg", "ocp", "ami", "prg"}},
        {"DDC64_COMPUTER.dd", {"art", "dd", "jj", "prg"}},
        {"JJMACROSS.jj", {"art", "dd", "jj", "prg"}},
        {"more/AMBER.hbm", {"art", "dd", "jj", "hbm", "prg"}}, {"more/cpu.fli", {"fli"}},
        {"more/logo.afl", {"afl"}},
    };
    C64Exporter exporter;
    std::vector<std::uint8_t> out;
    for (const auto& [name, targets] : mustFit) {
        const Decoded source = decodeFile(realSamples() / name, {});
        ASSERT_TRUE(source.accepted) << name << ": " << source.reason;
        for (const C64Writer& writer : c64Writers()) {
            const std::string why = exporter.write(source.picture, writer, {}, out);
            if (!why.empty()) {
                EXPECT_FALSE(targets.contains(std::string(writer.key)))
                    << name << " to " << writer.key << ": " << why;
                continue;
            }
            const Decoded back = decodeAs(writer.row(), out, {});
            ASSERT_TRUE(back.accepted) << name << " to " << writer.key << ": " << back.reason;
            EXPECT_EQ(back.picture.indices().size(), source.picture.indices().size());
            EXPECT_TRUE(std::ranges::equal(back.picture.indices(), source.picture.indices()))
                << name << " to " << writer.key;
        }
    }
}

TEST(C64Writers, FilesLoadWhereTheRegistrySays) {
    const Image black = drawn(320, 200, [](int, int) { return 0; });
    for (const C64Writer& writer : c64Writers()) {
        C64Exporter exporter;
        std::vector<std::uint8_t> out;
        const Image picture = perLine(writer.rules.mode) ? drawn(296, 200, [](int, int) { return 0; })
                                                         : black;
        ASSERT_EQ(exporter.write(picture, writer, {}, out), "") << writer.key;
        EXPECT_EQ(out[0] | out[1] << 8, writer.loadAddress()) << writer.key;
        EXPECT_TRUE(listsExtension(writer.row(), "." + std::string(writer.key))) << writer.key;
    }
}

// One case per kind of rule break.
TEST(C64Writers, APictureThatBreaksTheRulesIsNamedWhereAndWhy) {
    const std::pair<std::string, std::string> cases[] = {
        {written(drawn(100, 80, [](int, int) { return 0; }), "koa"),
         "Koala Painter takes 320 × 200 pixels (or 160 × 200 multicolour pixels), this picture "
         "is 100 × 80 (reduction scales it)"},
        {written(drawn(320, 200, [](int x, int) { return x == 11 ? 1 : 0; }), "koa"),
         "pixels x 10–11, y 0 are black and white; a multicolour pixel is two pixels wide"},
        {written(drawn(160, 200,
                       [](int x, int y) {
                           return x >= 24 && x < 28 && y >= 56 && y < 64 ? (x - 24) + 4 * (y & 1)
                                                                          : 0;
                       }),
                 "koa"),
         "cell (6, 7) at x 24–27, y 56–63 has 8 colours; Koala Painter takes the background and "
         "3 more"},
        {written(drawn(160, 200,
                       [](int x, int y) { return y >= 8 || x >= 8 ? 0 : x < 4 ? 1 + (x & 3) : 5 + (x & 3); }),
                 "koa"),
         "cell (0, 0) at x 0–3, y 0–7 has white, red, cyan, purple and cell (1, 0) at x 4–7, "
         "y 0–7 has green, blue, yellow, orange: 4 colours each and none in common; Koala "
         "Painter takes one background for the whole picture and 3 more per cell"},
        {written(drawn(320, 200, [](int x, int y) { return x == 100 && y == 60 ? 2 : x == 101 ? 1 : 0; }),
                 "art"),
         "cell (12, 7) at x 96–103, y 56–63 has 3 colours; Art Studio hires takes 2 per cell"},
        {written(drawn(296, 200, [](int x, int y) { return y == 9 && x < 4 ? 1 + x / 2 : x == 2 && y == 9 ? 3 : 0; }),
                 "afl"),
         "cell (3, 1) at x 0–7, line 9 has 3 colours; AFLI takes 2 per cell line"},
        {written(drawn(148, 200, [](int x, int y) { return y == 3 && x < 4 ? 1 + x : 0; }), "fli"),
         "cell (3, 0) at x 0–3, line 3 has 4 colours besides black; FLI Designer takes black, "
         "one colour-memory colour per cell and 2 more per line"},
        {written(drawn(320, 200, [](int x, int y) { return x == 5 && y == 7 ? 2 : 0; }), "hbm"),
         "pixel (5, 7) is red; Hires bitmap takes black and white only"},
    };
    for (const auto& [got, expected] : cases)
        EXPECT_EQ(got, expected);

    Image odd = drawn(320, 200, [](int, int) { return 0; });
    odd.setPixel(7, 3, {1, 2, 3});
    EXPECT_EQ(written(odd, "dd"), "pixel (7, 3) is #010203, which is none of the palette's 16 colours");
}

// Reduction: a picture that keeps the rules comes out as it went in; a two-colour cell
// stays two colours.
TEST(C64Writers, ReductionKeepsAPictureThatFits) {
    const Image fits = drawn(160, 200, [](int x, int y) { return (x / 4 + y / 8) % 3 == 0 ? 6 : (x + y) % 3 + 1; });
    for (std::string_view key : {"koa", "ocp"}) {
        for (Dither dither : {Dither::none, Dither::floyd, Dither::bayer4}) {
            C64Exporter exporter;
            std::vector<std::uint8_t> out;
            ASSERT_EQ(exporter.write(fits, *findC64Writer(key),
                                     reducing(dither), out),
                      "");
            const Decoded back = decodeAs(findC64Writer(key)->row(), out, {});
            for (int y = 0; y < 200; ++y) {
                for (int x = 0; x < 320; ++x)
                    ASSERT_EQ(own()[back.picture.index(x, y)], fits.pixel(x / 2, y)) << x << "," << y;
            }
        }
    }
    const Image twoColours = drawn(320, 200, [](int x, int y) { return (x ^ y) & 1 ? 7 : 9; });
    for (std::string_view key : {"art", "afl", "koa", "fli"}) {
        C64Exporter exporter;
        std::vector<std::uint8_t> out;
        ASSERT_EQ(exporter.write(twoColours, *findC64Writer(key), reducing(), out), "");
        const Decoded back = decodeAs(findC64Writer(key)->row(), out, {});
        std::set<int> colours(back.picture.indices().begin(), back.picture.indices().end());
        EXPECT_LE(colours.size(), 2u) << key;
    }
}

// The packers against the readers' expansion: runs of 255 and 256, the escape as data,
// runs too short to pack.
TEST(C64Writers, PackedRunsExpandToTheSameBytes) {
    for (RunFormat format : {kKoalaRuns, kAmicaRuns}) {
        std::vector<std::uint8_t> data(255, 7);
        data.insert(data.end(), 256, 9);
        data.insert(data.end(), {format.escape, 1, format.escape, format.escape, 2, 2, 2});
        data.insert(data.end(), 300, format.escape);
        data.push_back(4);
        std::vector<std::uint8_t> packed;
        packRuns(data, format, packed);
        std::vector<std::uint8_t> back(data.size() + 254);
        EXPECT_EQ(expandRuns(packed, back, data.size(), format), data.size());
        back.resize(data.size());
        EXPECT_EQ(back, data);
    }
}

} // namespace
} // namespace quendra

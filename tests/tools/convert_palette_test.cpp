// quendra-convert's --palette, --scale and --pal-aspect.
#include <gtest/gtest.h>

#include <QImage>
#include <string>

#include "convert/convert.h"
#include "convert/options.h"
#include "decode/palettes.h"
#include "decode/readers.h"
#include "samples/c64_files.h"
#include "tool_runner.h"

namespace quendra::convert {
namespace {

using quendra::testing::runTool;
using quendra::testing::slurp;
using quendra::testing::TempDir;
using quendra::testing::writeBytes;

Parsed parse(std::vector<std::string> args) {
    return parseArguments(args);
}

TEST(ConvertPaletteOptions, NamesFilesScaleAndAspect) {
    Parsed p = parse({"a.koa"});
    EXPECT_EQ(p.options.colours, defaultPalette().colours);
    EXPECT_EQ(p.options.scale, 1);
    EXPECT_FALSE(p.options.palAspect);
    p = parse({"--palette", "colodore", "--scale=8", "--pal-aspect", "a.koa"});
    ASSERT_EQ(p.action, Parsed::Action::Convert) << p.error;
    EXPECT_EQ(p.options.colours, findPalette("colodore")->colours);
    EXPECT_EQ(p.options.scale, 8);
    EXPECT_TRUE(p.options.palAspect);

    TempDir dir;
    writeBytes(dir / "bad.vpl", {'0', '0', ' ', '0', '0', '\n'});
    const struct {
        std::vector<std::string> args;
        std::string error;
    } wrong[] = {
        {{"--scale", "0", "a"}, "--scale 0: not a whole number from 1 to 8"},
        {{"--scale", "9", "a"}, "--scale 9: not a whole number from 1 to 8"},
        {{"--palette", "peto", "a"},
         "--palette peto: unknown palette \"peto\" (known: default, "
         "pepto, colodore, vice-old, or a VICE .vpl file)"},
        {{"--palette", (dir / "bad.vpl").string(), "a"},
         "--palette " + (dir / "bad.vpl").string() + ": " + (dir / "bad.vpl").string() +
             ": line 1: a colour is red, green and blue (and an optional fourth value), not 2 "
             "values"},
        {{"--pal-aspect", "--to", "gif", "a"}, "--pal-aspect: only PNG files carry a pixel aspect"},
    };
    for (const auto& c : wrong) {
        p = parse(c.args);
        EXPECT_EQ(p.action, Parsed::Action::UsageError);
        EXPECT_EQ(p.error, c.error);
    }
    const auto help = runTool("quendra-convert", {"--help"}, dir.path());
    for (const NamedPalette& palette : namedPalettes())
        EXPECT_NE(help.out.find("  " + std::string(palette.name) + " "), std::string::npos);
}

TEST(ConvertPalette, ScaleThreeGivesWholeBlocksInThePalette) {
    TempDir dir;
    const auto koala = samples::makeKoala(samples::testPattern(7));
    writeBytes(dir / "pic.koa", koala);
    const Parsed p = parse({"--palette", "pepto", "--scale", "3", "--pal-aspect", "x"});
    ASSERT_TRUE(convertFile((dir / "pic.koa").string(), dir / "pic.png", p.options).converted);

    IndexedImage expected = decodeKoala(koala, {}).picture;
    applyPalette(expected, findPalette("pepto")->colours);
    const QImage png(QString::fromStdString((dir / "pic.png").string()));
    ASSERT_EQ(png.width(), 960);
    ASSERT_EQ(png.height(), 600);
    int wrong = 0;
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 960; ++x) {
            const Rgb c = expected.pixel(x / 3, y / 3);
            wrong += png.pixel(x, y) != qRgb(c.r, c.g, c.b);
        }
    }
    EXPECT_EQ(wrong, 0);
    // The pHYs chunk right after the header: 7881984 across, 7375000 down, unit 0.
    const std::string bytes = slurp(dir / "pic.png");
    EXPECT_EQ(bytes.substr(33, 17), std::string("\0\0\0\x09pHYs\0\x78\x45\0\0\x70\x88\x98\0", 17));
}

TEST(ConvertPalette, GodotFilesAreTheSameInEveryPalette) {
    TempDir dir;
    writeBytes(dir / "pic.koa", samples::makeKoala(samples::testPattern(8)));
    ASSERT_TRUE(convertFile((dir / "pic.koa").string(), dir / "own.4bt",
                            parse({"--to", "4bt", "x"}).options)
                    .converted);
    const std::string own = slurp(dir / "own.4bt");
    for (const NamedPalette& palette : namedPalettes()) {
        const auto out = dir / (std::string(palette.name) + ".4bt");
        const Parsed p = parse({"--to", "4bt", "--palette", std::string(palette.name), "x"});
        ASSERT_TRUE(convertFile((dir / "pic.koa").string(), out, p.options).converted);
        EXPECT_EQ(slurp(out), own) << palette.name;
    }
}

} // namespace
} // namespace quendra::convert

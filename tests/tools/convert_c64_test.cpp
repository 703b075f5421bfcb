// quendra-convert --to koa ...: PC pictures and C64 pictures to C64 files, exactly or reduced.
#include <gtest/gtest.h>

#include <string>

#include "convert/options.h"
#include "decode/open_picture.h"
#include "decode/palettes.h"
#include "export/c64_export.h"
#include "export/c64_program.h"
#include "samples/sample_files.h"
#include "decode/readers.h"
#include "export/bmp_encoder.h"
#include "export/png_encoder.h"
#include "tool_runner.h"

namespace quendra::convert {
namespace {

using quendra::testing::runTool;
using quendra::testing::slurp;
using quendra::testing::TempDir;
using quendra::testing::writeBytes;

// A 160 x 200 multicolour picture in the program's own colours: every cell blue, black and
// two of its own; (mark) a fifth colour in cell (3, 2).
IndexedImage multicolourPicture(bool mark) {
    IndexedImage picture(160, 200);
    picture.setPalette(defaultPalette().colours);
    picture.setMeaning(IndexMeaning::c64Numbers, false);
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 160; ++x)
            picture.setIndex(x, y, static_cast<std::uint8_t>(x % 4 == 0 ? 6 : (x + y) % 3 + 1));
    }
    if (mark)
        picture.setIndex(13, 17, 9);
    return picture;
}

TEST(ConvertC64, PcPicturesConvertExactlyOrNameTheCell) {
    TempDir dir;
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(PngEncoder().encode(multicolourPicture(false), bytes));
    writeBytes(dir / "fits.png", bytes);
    encodeBmp(multicolourPicture(true), bytes);
    writeBytes(dir / "breaks.bmp", bytes);
    auto r = runTool("quendra-convert", {"--to", "koa", "fits.png", "breaks.bmp"}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "breaks.bmp: cell (3, 2) at x 12–15, y 16–23 has 5 colours; Koala Painter "
                     "takes the background and 3 more\n");
    const std::string koala = slurp(dir / "fits.koa");
    const Decoded back = decodeKoala(
        std::span(reinterpret_cast<const std::uint8_t*>(koala.data()), koala.size()), {});
    ASSERT_TRUE(back.accepted) << back.reason;
    const IndexedImage expected = multicolourPicture(false);
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 320; ++x)
            ASSERT_EQ(back.picture.index(x, y), expected.index(x / 2, y)) << x << ", " << y;
    }
    // Reduced, the rule break goes; the file reads back as a Koala picture of the same size.
    r = runTool("quendra-convert", {"--to=gg", "--reduce", "--dither", "floyd", "breaks.bmp"},
                dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_GT(slurp(dir / "breaks.gg").size(), 2u);
}

// Every sample to every C64 format whose rules it keeps reads back to the same pixels; the
// samples of the formats written fit their own format at least.
TEST(ConvertC64, SamplesReadBackFromEveryFormatTheyFit) {
    C64Exporter exporter;
    std::vector<std::uint8_t> out;
    std::size_t written = 0;
    for (const samples::SampleFile& sample : samples::allSampleFiles()) {
        const OpenedPicture source =
            openPicture(sample.bytes, sample.bytes.size(), sample.name, {});
        ASSERT_TRUE(source.accepted()) << sample.name;
        for (const C64Writer& writer : c64Writers()) {
            const std::string why = exporter.write(source.decoded.picture, writer, {}, out);
            if (&writer.row() == source.format) {
                EXPECT_EQ(why, "") << sample.name << " to " << writer.key;
            }
            if (!why.empty())
                continue;
            ++written;
            const Decoded back = decodeAs(writer.row(), out, {});
            ASSERT_TRUE(back.accepted) << sample.name << " to " << writer.key;
            // The same colours: GoDot pictures hold GoDot indices, the C64 files colour numbers.
            EXPECT_EQ(back.picture.toRgb(), source.decoded.picture.toRgb())
                << sample.name << " to " << writer.key;
        }
    }
    EXPECT_GE(written, c64Writers().size());
}

// A PC picture to a C64 program: the picture inside reads back, with the border asked for.
TEST(ConvertC64, PcPictureToAProgram) {
    TempDir dir;
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(PngEncoder().encode(multicolourPicture(false), bytes));
    writeBytes(dir / "fits.png", bytes);
    const auto r =
        runTool("quendra-convert", {"--to", "prg", "--prg-border=2", "fits.png"}, dir.path());
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string program = slurp(dir / "fits.prg");
    const auto file =
        std::span(reinterpret_cast<const std::uint8_t*>(program.data()), program.size());
    const Decoded back = decodeAs(kProgramFormat, file, {});
    ASSERT_TRUE(back.accepted) << back.reason;
    EXPECT_EQ(back.picture.index(13, 17), multicolourPicture(false).index(6, 17));
    EXPECT_EQ(file[2 + 14], 2); // the border parameter at $080F
}

TEST(ConvertC64, OptionsThatNeedACFormatOrReduction) {
    const struct {
        std::vector<std::string> args;
        std::string error;
    } cases[] = {
        {{"--reduce", "a.png"}, "--reduce: only C64 formats are reduced to (--to koa, gg, ocp, "
                                "art, dd, jj, ami, hbm, fli, afl, prg)"},
        {{"--to", "koa", "--prg-border", "2", "a.png"},
         "--prg-border: only C64 programs (--to prg) show a border"},
        {{"--to", "prg", "--prg-border", "16", "a.png"},
         "--prg-border 16: not a C64 colour number, 0 to 15"},
        {{"--to", "koa", "--dither", "floyd", "a.png"}, "--dither needs --reduce"},
        {{"--to", "koa", "--reduce", "--dither", "ripple", "a.png"},
         "--dither ripple: not one of none, bayer4, bayer8, floyd"},
        {{"--to", "afl", "--scale", "2", "a.png"}, "--scale: C64 files keep the C64's own pixels"},
        {{"--to", "koa", "--contrast", "20", "a.png"}, "--contrast needs --reduce"},
        {{"--to", "koa", "--reduce", "--saturation=101", "a.png"},
         "--saturation 101: not a whole number from -100 to 100"},
        {{"--to", "fli", "--background", "blue", "a.png"},
         "--background: only the multicolour formats with a background of their choice take "
         "one (--to koa, gg, ocp, ami)"},
    };
    for (const auto& c : cases) {
        const Parsed p = parseArguments(c.args);
        EXPECT_EQ(p.action, Parsed::Action::UsageError);
        EXPECT_EQ(p.error, c.error);
    }
    const Parsed p = parseArguments(
        std::vector<std::string>{"--to", "koa", "--reduce", "--fit", "--dither=bayer8",
                                 "--brightness", "-20", "--background", "Light-Blue", "a.png"});
    ASSERT_EQ(p.action, Parsed::Action::Convert) << p.error;
    EXPECT_EQ(outputExtension(p.options), "koa");
    EXPECT_EQ(p.options.reduction.dither, Dither::bayer8);
    EXPECT_EQ(p.options.reduction.brightness, -20);
    EXPECT_EQ(p.options.reduction.background, 14);
    EXPECT_EQ(p.options.reduction.framing, Framing::fit);
}

} // namespace
} // namespace quendra::convert

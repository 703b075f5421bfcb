// The sample pictures through the viewer's dispatch show the pictures they were made from
// (each row's samples are checked in samples_test.cpp); and the converter turns all of them
// into PNG files.
#include <gtest/gtest.h>

#include <set>

#include "decode/formats.h"
#include "decode/open_picture.h"
#include "decode/palette.h"
#include "decode/readers.h"
#include "samples/sample_files.h"
#include "tool_runner.h"

namespace quendra::samples {
namespace {

namespace fs = std::filesystem;

class SampleDecode : public ::testing::Test {
  protected:
    Decoded decode(const std::string& name) {
        for (const SampleFile& f : allSampleFiles()) {
            if (f.name == name)
                quendra::testing::writeBytes(dir / name, f.bytes);
        }
        return decodeFile(dir / name, {});
    }
    Image koala(unsigned seed) {
        return decodeKoala(makeKoala(testPattern(seed)), {}).picture.toRgb();
    }
    quendra::testing::TempDir dir;
};

TEST_F(SampleDecode, MulticolourSamplesShowTheirTestPatterns) {
    EXPECT_EQ(decode("koala-compressed.gg").picture.toRgb(), koala(1));
    EXPECT_EQ(decode("art-studio-multicolour.ocp").picture.toRgb(), koala(2));
    EXPECT_EQ(decode("amica.ami").picture.toRgb(), koala(4));
}

TEST_F(SampleDecode, HiresSamplesShowOneDrawing) {
    EXPECT_EQ(decode("art-studio-hires.ocp").picture.toRgb(), decode("doodle.dd").picture.toRgb());
    EXPECT_NE(decode("doodle-compressed.jj").picture.toRgb(), decode("doodle.dd").picture.toRgb());
}

TEST_F(SampleDecode, PrintfoxPagesAreBlackAndWhiteWithABlackFrame) {
    for (const char* name : {"printfox-screen.bs", "printfox-large.gb", "pagefox-page.pg"}) {
        SCOPED_TRACE(name);
        const Decoded d = decode(name);
        ASSERT_TRUE(d.accepted) << d.reason;
        const Image rgb = d.picture.toRgb();
        EXPECT_EQ(rgb.pixel(0, 0), kBlack);
        EXPECT_EQ(rgb.pixel(rgb.width() - 1, rgb.height() - 1), kBlack);
        for (int y = 0; y < rgb.height(); y += 7) {
            for (int x = 0; x < rgb.width(); x += 3) {
                EXPECT_TRUE(rgb.pixel(x, y) == kBlack || rgb.pixel(x, y) == kWhite);
            }
        }
    }
}

TEST_F(SampleDecode, GodotPictureShowsItsBars) {
    const Decoded d = decode("godot.4bt");
    ASSERT_TRUE(d.accepted) << d.reason;
    const Image rgb = d.picture.toRgb();
    for (int x = 0; x < 320; x += 5) {
        EXPECT_EQ(rgb.pixel(x, 0), kGodotPalette[static_cast<std::size_t>(x / 20)]);
        EXPECT_EQ(rgb.pixel(x, 100), kGodotPalette[static_cast<std::size_t>(15 - x / 20)]);
    }
}

TEST(SampleConvert, TheConverterTurnsEverySampleIntoPng) {
    quendra::testing::TempDir dir;
    std::vector<std::string> args{"-o", "png"};
    for (const SampleFile& f : allSampleFiles()) {
        quendra::testing::writeBytes(dir / "in" / f.name, f.bytes);
        args.push_back("in/" + f.name);
    }
    const auto r = quendra::testing::runTool("quendra-convert", args, dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    for (const SampleFile& f : allSampleFiles()) {
        EXPECT_TRUE(fs::exists(dir / "png" / fs::path(f.name).replace_extension(".png"))) << f.name;
    }
}

} // namespace
} // namespace quendra::samples

namespace quendra::samples {
namespace {

// Content detection: every sample renamed to .bin, and to a C64-style name whose prefix is
// its extension, shows the picture and caption it shows under its own name. Printfox and
// Pagefox pages have no probe (one letter says too little) and stay refused under .bin; an
// inverted hires bitmap under .bin is the usual kind. The prefix names the format as the
// extension does: it reads the file whatever its probe.
TEST(SampleDetection, EverySampleIsFoundByItsContentAndByItsPrefix) {
    // Formats whose length (and the load address their files begin with) an earlier format
    // has too, with nothing else in the bytes to tell: under .bin the earlier one takes them.
    const std::set<std::string> sameAsEarlier{"picasso-64-fly.fly", "charmode-cle.cle",
                                              "fli-table-fed.fed"};
    quendra::testing::TempDir dir;
    for (const SampleFile& f : allSampleFiles()) {
        SCOPED_TRACE(f.name);
        const C64Format& own = formatForFile(f.name);
        quendra::testing::writeBytes(dir / f.name, f.bytes);
        const Decoded expected = decodeFile(dir / f.name, {});
        ASSERT_TRUE(expected.accepted) << expected.reason;
        const std::string prefixName =
            std::string(extensionOf(f.name).substr(1)) + "." + f.name.substr(0, f.name.find('.'));
        for (const std::string& name : {f.name.substr(0, f.name.find('.')) + ".bin", prefixName}) {
            quendra::testing::writeBytes(dir / name, f.bytes);
            const OpenedPicture opened = openPictureFile(dir / name, {});
            const Decoded& found = opened.decoded;
            if (name == prefixName && !sameAsEarlier.contains(f.name)) {
                ASSERT_TRUE(opened.accepted()) << name << ": " << found.reason;
                EXPECT_EQ(found.picture, expected.picture) << name;
                EXPECT_EQ(opened.format, openPictureFile(dir / f.name, {}).format) << name;
                continue;
            }
            if (sameAsEarlier.contains(f.name)) {
                EXPECT_TRUE(found.accepted) << name;
                continue;
            }
            if (!isDetectable(own)) {
                EXPECT_FALSE(found.accepted) << name;
                continue;
            }
            ASSERT_TRUE(found.accepted) << name << ": " << found.reason;
            if (&own == &formatRow(FormatId::hiresBitmapInverted)) {
                // Nothing in the bytes tells it from the usual white-on-black kind.
                EXPECT_EQ(found.picture, decodeHiresBitmap(f.bytes, {}).picture);
                continue;
            }
            EXPECT_EQ(found.picture, expected.picture) << name;
            EXPECT_EQ(shownCaption(*found.format), shownCaption(*expected.format)) << name;
        }
    }
}

} // namespace
} // namespace quendra::samples

// quendra-thumbnailer's sizes and pixels against hand-worked figures, and the program's
// promise for files it cannot read: a non-zero exit and no file written.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "samples/sample_files.h"
#include "thumbnailer/thumbnail.h"
#include "tool_runner.h"

namespace quendra::thumbnail {
namespace {

namespace fs = std::filesystem;

Image greyRow(std::initializer_list<std::uint8_t> levels) {
    Image image(static_cast<int>(levels.size()), 1);
    int x = 0;
    for (std::uint8_t level : levels)
        image.setPixel(x++, 0, {level, level, level});
    return image;
}

TEST(Thumbnail, FittedSizes) {
    struct Case {
        int width, height, maxSide, wantWidth, wantHeight;
    };
    const Case cases[] = {
        {320, 200, 128, 128, 80}, {320, 200, 256, 256, 160}, {640, 400, 256, 256, 160},
        {400, 240, 128, 128, 77}, {200, 320, 128, 80, 128},  {320, 200, 320, 320, 200},
        {96, 64, 128, 96, 64},    {96, 64, 256, 192, 128},   {320, 200, 1000, 960, 600},
        {2040, 8, 128, 128, 1},   {0, 200, 128, 0, 0},       {320, 200, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const Size s = fittedSize(c.width, c.height, c.maxSide);
        EXPECT_EQ(s.width, c.wantWidth) << c.width << "x" << c.height << " in " << c.maxSide;
        EXPECT_EQ(s.height, c.wantHeight) << c.width << "x" << c.height << " in " << c.maxSide;
    }
}

TEST(Thumbnail, ScalingDownAveragesByArea) {
    // Three pixels into two: each target pixel takes 1.5 source pixels.
    const Image two = fitInto(greyRow({0, 90, 180}), 2);
    ASSERT_EQ(two.width(), 2);
    EXPECT_EQ(two.pixel(0, 0).r, 30);  // (0 + 0.5 * 90) / 1.5
    EXPECT_EQ(two.pixel(1, 0).r, 150); // (0.5 * 90 + 180) / 1.5
    // Two rows into one: a black and a white row give mid grey, rounded.
    Image rows(1, 2);
    rows.setPixel(0, 1, {255, 255, 255});
    const Image one = fitInto(rows, 1);
    ASSERT_EQ(one.height(), 1);
    EXPECT_EQ(one.pixel(0, 0), (Rgb{128, 128, 128}));
}

TEST(Thumbnail, ScalingUpRepeatsWholePixels) {
    const Image big = fitInto(greyRow({10, 200}), 7); // factor 3: 6 x 3
    ASSERT_EQ(big.width(), 6);
    ASSERT_EQ(big.height(), 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(big.pixel(x, y).r, x < 3 ? 10 : 200) << x << "," << y;
    }
}

TEST(Thumbnail, ProgramWritesOnlyWhatItCouldRead) {
    quendra::testing::TempDir dir;
    quendra::testing::writeBytes(dir / "pic.koa", samples::sampleBytes("koala.koa"));
    quendra::testing::writeBytes(dir / "short.koa", {0x00, 0x60, 1, 2, 3});
    auto ok = quendra::testing::runTool("quendra-thumbnailer", {"-s", "128", "pic.koa", "pic.png"},
                                        dir.path());
    EXPECT_EQ(ok.status, 0) << ok.err;
    const std::string png = quendra::testing::slurp(dir / "pic.png");
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    EXPECT_EQ(png.substr(16, 8), std::string("\0\0\0\x80\0\0\0\x50", 8)); // 128 x 80

    for (const char* input : {"short.koa", "missing.koa", "."}) {
        auto bad = quendra::testing::runTool("quendra-thumbnailer", {"-s", "128", input, "bad.png"},
                                             dir.path());
        EXPECT_EQ(bad.status, 1) << input;
        EXPECT_NE(bad.err.find(input), std::string::npos) << bad.err;
        EXPECT_FALSE(fs::exists(dir / "bad.png")) << input;
    }
    // Usage errors: no size, a size out of range, a missing OUTPUT.
    for (const std::vector<std::string>& args : {std::vector<std::string>{"pic.koa", "x.png"},
                                                 {"-s", "0", "pic.koa", "x.png"},
                                                 {"-s", "12x", "pic.koa", "x.png"},
                                                 {"-s", "128", "pic.koa"}}) {
        EXPECT_EQ(quendra::testing::runTool("quendra-thumbnailer", args, dir.path()).status, 2);
    }
    EXPECT_FALSE(fs::exists(dir / "x.png"));

    // A palette colours the preview; one that cannot be had is a usage error.
    auto pepto = quendra::testing::runTool(
        "quendra-thumbnailer", {"-s", "128", "-p", "pepto", "pic.koa", "pepto.png"}, dir.path());
    EXPECT_EQ(pepto.status, 0) << pepto.err;
    EXPECT_NE(quendra::testing::slurp(dir / "pepto.png"), png);
    EXPECT_EQ(quendra::testing::runTool("quendra-thumbnailer",
                                        {"-s", "128", "-p", "none.vpl", "pic.koa", "x.png"},
                                        dir.path())
                  .status,
              2);
    EXPECT_FALSE(fs::exists(dir / "x.png"));
}

// Inputs it must not read or overwrite: the reason named, the name escaped, nothing written
// or replaced. A successful run clears the temporaries killed runs left beside its output.
TEST(Thumbnail, ProgramRefusesWhatItMustNotTouchAndSaysWhy) {
    quendra::testing::TempDir dir;
    quendra::testing::writeBytes(dir / "pic.koa", samples::sampleBytes("koala.koa"));
    fs::create_hard_link(dir / "pic.koa", dir / "hard.koa");
    fs::create_symlink("pic.koa", dir / "soft.png");
    fs::create_directory(dir / "folder.koa");
    ASSERT_EQ(::mkfifo((dir / "pipe.koa").c_str(), 0600), 0);
    fs::create_symlink("loop.koa", dir / "loop.koa");
    const std::string escaped = R"(\x1b]0;owned\x07.koa)";
    const std::string withEscape = "\x1b]0;owned\a.koa";
    fs::create_directory(dir / withEscape);
    const struct {
        std::string input, output, reason;
    } cases[] = {
        {"pic.koa", "pic.koa", "the output would replace the input file"},
        {"pic.koa", "hard.koa", "the output would replace the input file"},
        {"pic.koa", "soft.png", "the output would replace the input file"},
        {"folder.koa", "out.png", "is a folder"},
        {"pipe.koa", "out.png", "is not a regular file"},
        {"missing.koa", "out.png", "No such file or directory"},
        {"loop.koa", "out.png", "Too many levels of symbolic links"},
        {withEscape, "out.png", "is a folder"},
    };
    const std::string picture = quendra::testing::slurp(dir / "pic.koa");
    for (const auto& c : cases) {
        auto run = quendra::testing::runTool("quendra-thumbnailer",
                                             {"-s", "64", c.input, c.output}, dir.path());
        EXPECT_EQ(run.status, 1) << c.input;
        EXPECT_NE(run.err.find(c.reason), std::string::npos) << c.input << ": " << run.err;
        EXPECT_EQ(run.err.find('\x1b'), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(dir / "out.png")) << c.input;
    }
    EXPECT_EQ(quendra::testing::slurp(dir / "pic.koa"), picture);
    // The converter's line for a converted file escapes names as its errors do.
    quendra::testing::writeBytes(dir / "\x1b]0;k\a.koa", samples::sampleBytes("koala.koa"));
    const auto converted =
        quendra::testing::runTool("quendra-convert", {"-v", "\x1b]0;k\a.koa"}, dir.path());
    EXPECT_EQ(converted.status, 0) << converted.err;
    EXPECT_NE(converted.out.find(R"(\x1b]0;k\x07.koa -> \x1b]0;k\x07.png)"), std::string::npos)
        << converted.out;
    EXPECT_NE(quendra::testing::runTool("quendra-thumbnailer", {"-s", "64", withEscape, "x.png"},
                                        dir.path())
                  .err.find("quendra-thumbnailer: " + escaped + ": "),
              std::string::npos);

    // Process 99999999 cannot run (beyond any pid_max); a name of a live process stays.
    const std::string ownPid = std::to_string(::getpid());
    quendra::testing::writeBytes(dir / "pic.png.tmp-99999999-0", {1});
    quendra::testing::writeBytes(dir / ("pic.png.tmp-" + ownPid + "-0"), {1});
    EXPECT_EQ(quendra::testing::runTool("quendra-thumbnailer", {"-s", "64", "pic.koa", "pic.png"},
                                        dir.path())
                  .status,
              0);
    EXPECT_FALSE(fs::exists(dir / "pic.png.tmp-99999999-0"));
    EXPECT_TRUE(fs::exists(dir / ("pic.png.tmp-" + ownPid + "-0")));
}

} // namespace
} // namespace quendra::thumbnail

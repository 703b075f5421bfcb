// quendra-convert: its command line, its output names, what it reports for good, rejected
// and unreadable files, overwrite protection, and that parallel runs write what serial
// runs write. End-to-end tests run the program itself.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QImage>
#include <algorithm>
#include <csignal>

#include "components/image_library.h"
#include "convert/convert.h"
#include "convert/options.h"
#include "convert/output_file.h"
#include "decode/disk_image.h"
#include "decode/formats.h"
#include "decode/palette.h"
#include "decode/readers.h"
#include "export/png_encoder.h"
#include "samples/bitmap_files.h"
#include "samples/c64_files.h"
#include "samples/sample_files.h"
#include "tool_runner.h"

namespace quendra::convert {
namespace {

namespace fs = std::filesystem;
using quendra::testing::runTool;
using quendra::testing::slurp;
using quendra::testing::TempDir;
using quendra::testing::writeBytes;

Parsed parse(std::initializer_list<std::string> args) {
    const std::vector<std::string> v(args);
    return parseArguments(v);
}

std::vector<QRgb> pixels(const QImage& img) {
    std::vector<QRgb> out;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x)
            out.push_back(img.pixel(x, y) | 0xff000000u);
    }
    return out;
}

std::vector<QRgb> pixels(const Image& rgb) {
    std::vector<QRgb> out;
    for (int y = 0; y < rgb.height(); ++y) {
        for (int x = 0; x < rgb.width(); ++x) {
            const Rgb c = rgb.pixel(x, y);
            out.push_back(qRgb(c.r, c.g, c.b));
        }
    }
    return out;
}

std::vector<QRgb> koalaPixels(unsigned seed, bool grey = false) {
    const auto bytes = samples::makeKoala(samples::testPattern(seed));
    return pixels(decodeKoala(bytes, {.grey = grey}).picture.toRgb());
}

TEST(ConvertOptions, DefaultsAndEveryOption) {
    Parsed p = parse({"a.koa"});
    ASSERT_EQ(p.action, Parsed::Action::Convert);
    EXPECT_EQ(p.options.format, PictureFormat::PNG);
    EXPECT_EQ(p.options.quality, 90);
    EXPECT_EQ(p.options.jobs, 0);
    EXPECT_FALSE(p.options.force);
    EXPECT_FALSE(p.options.grey);
    EXPECT_FALSE(p.options.outputDir);
    EXPECT_FALSE(p.options.quiet);

    p = parse({"--to", "jpg", "--grey", "-o", "out", "--force", "-j", "3", "--quality", "40",
               "--quiet", "a", "b"});
    ASSERT_EQ(p.action, Parsed::Action::Convert) << p.error;
    EXPECT_EQ(p.options.format, PictureFormat::JPEG);
    EXPECT_TRUE(p.options.grey);
    EXPECT_EQ(*p.options.outputDir, fs::path("out"));
    EXPECT_TRUE(p.options.force);
    EXPECT_EQ(p.options.jobs, 3);
    EXPECT_EQ(p.options.quality, 40);
    EXPECT_TRUE(p.options.quiet);
    EXPECT_EQ(p.options.files, (std::vector<std::string>{"a", "b"}));

    p = parse({"--to=4bt", "-j2", "--", "--force"});
    EXPECT_EQ(p.options.format, PictureFormat::Godot4Bit);
    EXPECT_EQ(p.options.jobs, 2);
    EXPECT_FALSE(p.options.force);
    EXPECT_EQ(p.options.files, std::vector<std::string>{"--force"});

    EXPECT_EQ(parse({"--help"}).action, Parsed::Action::Help);
    EXPECT_EQ(parse({"a", "--version"}).action, Parsed::Action::Version);
}

TEST(ConvertOptions, UsageErrors) {
    for (auto args : std::vector<std::vector<std::string>>{{},
                                                           {"--to", "webp", "a"},
                                                           {"--to", "PNG", "a"},
                                                           {"--to"},
                                                           {"-j", "0", "a"},
                                                           {"-j", "x", "a"},
                                                           {"--quality", "0", "a"},
                                                           {"--quality", "101", "a"},
                                                           {"--bogus", "a"},
                                                           {"-o"},
                                                           {"--grey"}}) {
        const Parsed p = parseArguments(args);
        EXPECT_EQ(p.action, Parsed::Action::UsageError) << (args.empty() ? "" : args[0]);
        EXPECT_FALSE(p.error.empty());
    }
}

TEST(ConvertOutputNames, ExtensionReplacedBesideTheInputOrInTheFolder) {
    EXPECT_EQ(outputPathFor("pic.koa", PictureFormat::PNG, {}), fs::path("pic.png"));
    EXPECT_EQ(outputPathFor("dir/PIC.KOA", PictureFormat::GIF, {}), fs::path("dir/PIC.gif"));
    EXPECT_EQ(outputPathFor("a.b.gg", PictureFormat::TIFF, {}), fs::path("a.b.tif"));
    EXPECT_EQ(outputPathFor("noext", PictureFormat::JPEG, {}), fs::path("noext.jpg"));
    EXPECT_EQ(outputPathFor("x.y/pic", PictureFormat::BMP, {}), fs::path("x.y/pic.bmp"));
    EXPECT_EQ(outputPathFor("in/pic.koa", PictureFormat::Godot4Bit, fs::path("out")),
              fs::path("out/pic.4bt"));
    EXPECT_EQ(outputPathFor("in/pic.koa", PictureFormat::PCX, fs::path("out")),
              fs::path("out/pic.pcx"));
    // A C64-style name, its format named by its prefix, is kept whole.
    const std::pair<const char*, const char*> c64Style[] = {
        {"pi.worldmap", "pi.worldmap.png"},
        {"d/mpic.face", "d/mpic.face.png"},
        {"PI.Europe", "PI.Europe.png"},
        {"pi.koa", "pi.png"},
        {"pi.png", "pi.png"},
        {"x.worldmap", "x.png"},
    };
    for (const auto& [input, output] : c64Style)
        EXPECT_EQ(outputPathFor(input, PictureFormat::PNG, {}), fs::path(output)) << input;
}

TEST(ConvertPng, ExactColoursFewestBitsAndNoLargerThanPlainIndexedPng) {
    for (unsigned seed : {0u, 5u, 11u}) {
        const Decoded d = decodeKoala(samples::makeKoala(samples::testPattern(seed)), {});
        const auto png = encodePng(d.picture);
        const auto plain = encodePng(d.picture, {.fewestBits = false});
        ASSERT_GT(png.size(), 33u);
        EXPECT_EQ(png[24], 4); // bit depth: 16 colours in 4 bits
        EXPECT_EQ(png[25], 3); // palette
        EXPECT_LE(png.size(), plain.size());
        QImage back;
        ASSERT_TRUE(back.loadFromData(png.data(), static_cast<int>(png.size()), "PNG"));
        EXPECT_EQ(pixels(back), pixels(d.picture.toRgb()));
    }
    // Two colours take one bit; colours listed twice in the palette are one entry.
    IndexedImage bw(16, 2);
    bw.setPalette(std::vector<Rgb>{{0, 0, 0}, {9, 9, 9}, {0, 0, 0}, {255, 255, 255}});
    for (int x = 0; x < 16; ++x)
        bw.setIndex(x, 1, static_cast<std::uint8_t>(x % 2 ? 3 : 2));
    const auto png = encodePng(bw);
    EXPECT_EQ(png[24], 1);
    QImage back;
    ASSERT_TRUE(back.loadFromData(png.data(), static_cast<int>(png.size()), "PNG"));
    EXPECT_EQ(pixels(back), pixels(bw.toRgb()));
}

class ConvertRun : public ::testing::Test {
  protected:
    fs::path koala(const std::string& name, unsigned seed = 0) {
        const fs::path p = dir / name;
        writeBytes(p, samples::makeKoala(samples::testPattern(seed)));
        return p;
    }
    TempDir dir;
};

TEST_F(ConvertRun, GoodFileConvertsSilentlyBesideTheInput) {
    koala("pic.koa", 2);
    koala("Mixed.Koa", 3); // the extension in any case, as in the viewer
    const auto r = runTool("quendra-convert", {"pic.koa", "Mixed.Koa"}, dir.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, ""); // no progress bar when standard error is no terminal
    EXPECT_EQ(r.out, "");
    QImage out(QString::fromStdString((dir / "pic.png").string()));
    ASSERT_FALSE(out.isNull());
    EXPECT_EQ(pixels(out), koalaPixels(2));
    QImage mixed(QString::fromStdString((dir / "Mixed.png").string()));
    ASSERT_FALSE(mixed.isNull());
    EXPECT_EQ(pixels(mixed), koalaPixels(3));
}

TEST_F(ConvertRun, RejectedAndUnreadableFilesAreReportedAndTheOthersConvert) {
    koala("good.koa", 1);
    auto wrong = samples::makeKoala(samples::testPattern(0));
    wrong.resize(10400); // no other format's length, nor packed data of a Koala's size
    writeBytes(dir / "long.koa", wrong);
    fs::create_directory(dir / "folder.koa"); // a folder without pictures
    const auto r = runTool("quendra-convert", {"long.koa", "missing.koa", "folder.koa", "good.koa"},
                           dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(
        r.err,
        "long.koa: rejected: not a C64 picture (10400 bytes; no format takes this length or "
        "signature); as Koala Painter: a Koala picture is 10003 or 10006 bytes long, this one "
        "has 10400\n"
        "missing.koa: No such file or directory\n"
        "folder.koa: holds no picture files\n");
    EXPECT_TRUE(fs::exists(dir / "good.png"));
    EXPECT_FALSE(fs::exists(dir / "long.png"));
}

TEST_F(ConvertRun, ProgressBarOnATerminalOnly) {
    for (unsigned i = 0; i < 50; ++i)
        koala("p" + std::to_string(i) + ".koa", i);
    koala("bad.koa");
    writeBytes(dir / "bad.koa", {0, 0x60});
    // `script` gives the program a terminal and copies what it writes there.
    const std::string command =
        (quendra::testing::binDir() / "quendra-convert").string() + " -o out bad.koa p*.koa";
    const auto r = runTool("/usr/bin/script", {"-qec", command, "/dev/null"}, dir.path());
    if (r.status == 127)
        GTEST_SKIP() << "no script program";
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("] 1/51"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\r\033[Kbad.koa: rejected: "), std::string::npos); // the bar gives way
    EXPECT_EQ(r.out.substr(r.out.size() - 4), "\r\033[K"); // and is gone at the end
    // Without a terminal: only the message.
    const auto plain = runTool("quendra-convert", {"-o", "out2", "bad.koa"}, dir.path());
    EXPECT_EQ(plain.err.find('['), std::string::npos);
}

TEST_F(ConvertRun, QuietLeavesOutTheProgressBarButNotTheFailures) {
    for (unsigned i = 0; i < 20; ++i)
        koala("p" + std::to_string(i) + ".koa", i);
    writeBytes(dir / "bad.koa", {0, 0x60});
    const std::string command = (quendra::testing::binDir() / "quendra-convert").string() +
                                " --quiet -o out bad.koa p*.koa";
    const auto r = runTool("/usr/bin/script", {"-qec", command, "/dev/null"}, dir.path());
    if (r.status == 127)
        GTEST_SKIP() << "no script program";
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out.find('['), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("bad.koa: rejected: "), std::string::npos) << r.out;
    EXPECT_TRUE(fs::exists(dir / "out/p19.png"));
}

TEST_F(ConvertRun, UnwritableOutputIsReported) {
    koala("pic.koa");
    writeBytes(dir / "blocker", {1}); // a file where the output folder should be
    const auto r = runTool("quendra-convert", {"-o", "blocker/sub", "pic.koa"}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("pic.koa: cannot write blocker/sub/pic.png: ", 0), 0u) << r.err;
}

TEST_F(ConvertRun, PipesAndDevicesAreNotReadAndOddNamesConvert) {
    koala("my pic \xc3\xbc.koa", 4); // a blank and a non-ASCII letter
    ASSERT_EQ(::mkfifo((dir / "pipe.koa").c_str(), 0600), 0);
    writeBytes(dir / "empty.koa", {});
    // A pipe nobody writes into would keep a reader waiting: the run must end regardless.
    const auto r = runTool("/usr/bin/timeout",
                           {"60", (quendra::testing::binDir() / "quendra-convert").string(),
                            "pipe.koa", "/dev/null", "empty.koa", "my pic \xc3\xbc.koa"},
                           dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "pipe.koa: not a regular file\n"
                     "/dev/null: not a regular file\n"
                     "empty.koa: rejected: not a C64 picture (0 bytes; no format takes this "
                     "length or signature); as Koala Painter: a Koala picture is 10003 or 10006 "
                     "bytes long, this one has 0\n");
    QImage out(QString::fromStdString((dir / "my pic \xc3\xbc.png").string()));
    ASSERT_FALSE(out.isNull());
    EXPECT_EQ(pixels(out), koalaPixels(4));
}

TEST_F(ConvertRun, OutputFolderThatIsAFileIsAUsageError) {
    koala("pic.koa");
    writeBytes(dir / "afile", {1});
    const auto r = runTool("quendra-convert", {"-o", "afile", "pic.koa", "pic.koa"}, dir.path());
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "quendra-convert: -o afile: not a folder\n"
                     "Try 'quendra-convert --help'.\n");
    EXPECT_EQ(slurp(dir / "afile"), "\x01");
    // Numbers out of range are usage errors as well.
    for (const std::vector<std::string>& args : {std::vector<std::string>{"-j", "0", "pic.koa"},
                                                 {"--quality", "0", "pic.koa"},
                                                 {"--quality", "101", "pic.koa"}}) {
        EXPECT_EQ(runTool("quendra-convert", args, dir.path()).status, 2) << args[0];
    }
    EXPECT_FALSE(fs::exists(dir / "pic.png"));
}

TEST_F(ConvertRun, MoreJobsThanTheSystemGivesThreadsStillConvertsEverything) {
    const std::string limited =
        "ulimit -v 400000 && exec " +
        quendra::testing::quoted((quendra::testing::binDir() / "quendra-convert").string());
    koala("good.koa", 5);
    // An instrumented build may not even start in that little address space.
    if (runTool("/bin/sh", {"-c", limited + " -j 1 -o probe good.koa"}, dir.path()).status != 0)
        GTEST_SKIP() << "the converter needs more than 400 MB of address space here";
    std::string command = limited + " -j 2000 -o out";
    for (int i = 0; i < 300; ++i) {
        writeBytes(dir / ("e" + std::to_string(i) + ".koa"), {});
        command += " e" + std::to_string(i) + ".koa";
    }
    command += " good.koa";
    // 2000 thread stacks do not fit in 400 MB of address space.
    const auto r = runTool("/bin/sh", {"-c", command}, dir.path());
    EXPECT_EQ(r.status, 1) << r.err.substr(r.err.size() > 300 ? r.err.size() - 300 : 0);
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 300);
    EXPECT_EQ(r.err.find("terminate"), std::string::npos);
    QImage out(QString::fromStdString((dir / "out/good.png").string()));
    ASSERT_FALSE(out.isNull());
    EXPECT_EQ(pixels(out), koalaPixels(5));
}

TEST_F(ConvertRun, UsageHelpAndVersion) {
    auto r = runTool("quendra-convert", {"--to", "webp", "x.koa"}, dir.path());
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("quendra-convert: --to webp"), std::string::npos) << r.err;
    r = runTool("quendra-convert", {}, dir.path());
    EXPECT_EQ(r.status, 2);
    r = runTool("quendra-convert", {"--help"}, dir.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("Usage: quendra-convert", 0), 0u);
    r = runTool("quendra-convert", {"--version"}, dir.path());
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("quendra-convert ", 0), 0u);
}

TEST_F(ConvertRun, ExistingOutputIsKeptWithoutForce) {
    koala("pic.koa", 3);
    writeBytes(dir / "pic.png", {'o', 'l', 'd'});
    auto r = runTool("quendra-convert", {"pic.koa"}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "pic.koa: pic.png exists; --force replaces it\n");
    EXPECT_EQ(slurp(dir / "pic.png"), "old");

    r = runTool("quendra-convert", {"--force", "pic.koa"}, dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(pixels(QImage(QString::fromStdString((dir / "pic.png").string()))), koalaPixels(3));
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos);
    }

    // A GoDot file converted to GoDot in its own folder would replace itself.
    writeBytes(dir / "self.4bt", {'G', 'O', 'D', '0'});
    r = runTool("quendra-convert", {"--force", "--to", "4bt", "self.4bt"}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "self.4bt: the output would replace the input file\n");
    EXPECT_EQ(slurp(dir / "self.4bt"), "GOD0");
}

TEST_F(ConvertRun, OnlyAFileWrittenClaimsItsOutputName) {
    writeBytes(dir / "a/README.md", {'#', '\n'});
    koala("b/README.md", 1);
    koala("c/README.md", 2);
    const auto r =
        runTool("quendra-convert",
                {"-o", "out", "-j", "2", "a/README.md", "b/README.md", "c/README.md"}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "a/README.md: rejected: not a C64 picture (2 bytes; no format takes this "
                     "length or signature)\n"
                     "c/README.md: out/README.png is already the output of b/README.md\n");
    EXPECT_EQ(pixels(QImage(QString::fromStdString((dir / "out/README.png").string()))),
              koalaPixels(1));
}

TEST_F(ConvertRun, TwoInputsWithOneOutputNameFailTheSecond) {
    koala("a/pic.koa", 1);
    koala("b/pic.koa", 2);
    koala("b/pic.KOA", 3);
    const auto r =
        runTool("quendra-convert", {"-o", "out", "-j", "2", "a/pic.koa", "b/pic.koa", "b/pic.KOA"},
                dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "b/pic.koa: out/pic.png is already the output of a/pic.koa\n"
                     "b/pic.KOA: out/pic.png is already the output of a/pic.koa\n");
    EXPECT_EQ(pixels(QImage(QString::fromStdString((dir / "out/pic.png").string()))),
              koalaPixels(1));
}

TEST_F(ConvertRun, EveryLosslessFormatKeepsTheExactColours) {
    koala("pic.koa", 4);
    for (std::string format : {"png", "gif", "bmp", "pcx", "tif"}) {
        SCOPED_TRACE(format);
        const auto r = runTool("quendra-convert", {"--to", format, "pic.koa"}, dir.path());
        ASSERT_EQ(r.status, 0) << r.err;
        const QString file = QString::fromStdString((dir / ("pic." + format)).string());
        QImage back;
        const imagelib::Status s = format == "png"   ? imagelib::readPNG(file, 0, false, back)
                                   : format == "gif" ? imagelib::readGIF(file, 0, false, back)
                                   : format == "bmp" ? imagelib::readBMP(file, 0, false, back)
                                   : format == "pcx" ? imagelib::readPCX(file, 0, false, back)
                                                     : imagelib::readTIFF(file, 0, false, back);
        ASSERT_TRUE(s.ok()) << s.message.toStdString();
        EXPECT_EQ(back.format(), QImage::Format_Indexed8);
        EXPECT_EQ(pixels(back), koalaPixels(4));
    }
    // Grey: the grey palette's levels.
    ASSERT_EQ(runTool("quendra-convert", {"--grey", "-o", "grey", "pic.koa"}, dir.path()).status,
              0);
    EXPECT_EQ(pixels(QImage(QString::fromStdString((dir / "grey/pic.png").string()))),
              koalaPixels(4, true));
}

// Every sample picture (2, 16 and more colours; pictures of other sizes) in every lossless
// format reads back, through the image library, to the pixels its reader drew.
TEST_F(ConvertRun, EverySampleInEveryLosslessFormatReadsBackToItsPixels) {
    std::vector<std::string> names;
    for (const samples::SampleFile& f : samples::allSampleFiles()) {
        writeBytes(dir / f.name, f.bytes);
        names.push_back(f.name);
    }
    using Read = imagelib::Status (*)(const QString&, int, bool, QImage&);
    const std::pair<std::string, Read> formats[] = {{"png", imagelib::readPNG},
                                                    {"gif", imagelib::readGIF},
                                                    {"bmp", imagelib::readBMP},
                                                    {"pcx", imagelib::readPCX},
                                                    {"tif", imagelib::readTIFF}};
    for (const auto& [format, read] : formats) {
        std::vector<std::string> args = {"--to", format, "-o", format};
        args.insert(args.end(), names.begin(), names.end());
        const auto r = runTool("quendra-convert", args, dir.path());
        ASSERT_EQ(r.status, 0) << r.err;
        for (const std::string& name : names) {
            SCOPED_TRACE(name + " to " + format);
            const fs::path out = outputPathFor(name, *pictureFormatNamed(format), fs::path(format));
            QImage back;
            const imagelib::Status s =
                read(QString::fromStdString((dir / out).string()), 0, false, back);
            ASSERT_TRUE(s.ok()) << s.message.toStdString();
            EXPECT_EQ(pixels(back), pixels(decodeFile(dir / name, {}).picture.toRgb()));
        }
    }
}

// JPEG colour is sampled at full resolution from quality 90 on (C64 colours change every
// few pixels) and at half resolution each way below; grey pictures are one grey component.
TEST_F(ConvertRun, JpegChromaSamplingFollowsTheQualityAndGreyIsOneComponent) {
    koala("pic.koa", 2);
    // The frame header (SOF0): components, then per component its id and sampling factors.
    auto frame = [](const std::string& file) {
        const std::size_t at = file.find("\xff\xc0");
        return at == std::string::npos ? std::string() : file.substr(at + 9, 1 + 3 * file[at + 9]);
    };
    const std::string full("\x03\x01\x11\x00\x02\x11\x01\x03\x11\x01", 10);
    const std::string half("\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01", 10);
    const std::string grey("\x01\x01\x11\x00", 4);
    struct Case {
        std::vector<std::string> options;
        std::string frame;
    };
    const Case cases[] = {
        {{}, full},
        {{"--quality", "89"}, half},
        {{"--grey"}, grey},
        {{"--grey", "--quality", "40"}, grey},
    };
    int n = 0;
    for (const auto& [extra, expected] : cases) {
        const std::string out = "o" + std::to_string(n++);
        std::vector<std::string> args = {"--to", "jpg", "-o", out, "pic.koa"};
        args.insert(args.begin(), extra.begin(), extra.end());
        ASSERT_EQ(runTool("quendra-convert", args, dir.path()).status, 0);
        EXPECT_EQ(frame(slurp(dir / out / "pic.jpg")), expected) << out;
    }
}

TEST_F(ConvertRun, JpegQualityDefaultsTo90) {
    koala("pic.koa", 6);
    ASSERT_EQ(runTool("quendra-convert", {"--to", "jpg", "-o", "d", "pic.koa"}, dir.path()).status,
              0);
    ASSERT_EQ(runTool("quendra-convert", {"--to", "jpg", "-o", "q90", "--quality", "90", "pic.koa"},
                      dir.path())
                  .status,
              0);
    ASSERT_EQ(runTool("quendra-convert", {"--to", "jpg", "-o", "q25", "--quality", "25", "pic.koa"},
                      dir.path())
                  .status,
              0);
    EXPECT_EQ(slurp(dir / "d/pic.jpg"), slurp(dir / "q90/pic.jpg"));
    EXPECT_LT(slurp(dir / "q25/pic.jpg").size(), slurp(dir / "q90/pic.jpg").size());
    EXPECT_EQ(QImage(QString::fromStdString((dir / "d/pic.jpg").string())).size(), QSize(320, 200));
}

TEST_F(ConvertRun, FunPainterPicturesAreNotWrittenAsGodot) {
    writeBytes(dir / "mix.fp2", std::vector<std::uint8_t>{0xF0, 0x3F, 0x46, 0x55});
    const auto r = runTool("quendra-convert", {"--to", "4bt", "mix.fp2"}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "mix.fp2: a FunPainter 2 picture mixes colours that GoDot 4Bit cannot hold\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "mix.4bt"));
}

TEST_F(ConvertRun, ParallelBatchWritesTheSameBytesAsASerialOne) {
    std::vector<std::string> args;
    for (unsigned i = 0; i < 24; ++i)
        args.push_back(koala("p" + std::to_string(i) + ".koa", i).filename());
    writeBytes(dir / "bad.koa", {0, 0x60});
    args.push_back("bad.koa");
    for (std::string format : {"png", "gif", "tif"}) {
        auto serial = args, parallel = args;
        serial.insert(serial.begin(), {"--to", format, "-j", "1", "-o", "serial-" + format});
        parallel.insert(parallel.begin(), {"--to", format, "-j", "4", "-o", "parallel-" + format});
        const auto s = runTool("quendra-convert", serial, dir.path());
        const auto p = runTool("quendra-convert", parallel, dir.path());
        EXPECT_EQ(s.status, 1);
        EXPECT_EQ(p.status, 1);
        EXPECT_EQ(s.err, p.err); // the same reports, in input order
        for (unsigned i = 0; i < 24; ++i) {
            const std::string name = "p" + std::to_string(i) + "." + format;
            const std::string a = slurp(dir / ("serial-" + format) / name);
            EXPECT_FALSE(a.empty()) << name;
            EXPECT_EQ(a, slurp(dir / ("parallel-" + format) / name)) << name;
        }
    }
}

// Files may grow to 100 bytes only while `write` runs: writes of more fail part-way.
template <typename Write> std::string withSmallFileLimit(Write write) {
    rlimit old{};
    EXPECT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 100;
    EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string error = write();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    return error;
}

TEST(ConvertOutputFile, FailedWriteKeepsTheOldFileAndLeavesNoTemporaryFile) {
    TempDir dir;
    const fs::path target = dir / "out.png";
    writeBytes(target, {'o', 'l', 'd'});
    const std::vector<std::uint8_t> big(5000, 7);
    std::string error = withSmallFileLimit([&] { return putFile(target, big, true); });
    EXPECT_EQ(error.rfind("cannot write " + target.string() + ": ", 0), 0u) << error;
    EXPECT_EQ(slurp(target), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);

    // A new file that fails leaves nothing behind.
    const fs::path fresh = dir / "new.png";
    error = withSmallFileLimit([&] { return putFile(fresh, big, false); });
    EXPECT_EQ(error.rfind("cannot write " + fresh.string() + ": ", 0), 0u) << error;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);

    // Without replace, an existing target is never touched.
    EXPECT_EQ(putFile(target, std::vector<std::uint8_t>(10, 1), false),
              target.string() + " exists; --force replaces it");
    EXPECT_EQ(slurp(target), "old");
    EXPECT_EQ(putFile(target, std::vector<std::uint8_t>(3, 'n'), true), "");
    EXPECT_EQ(slurp(target), "nnn");
    EXPECT_EQ(putFile(fresh, std::vector<std::uint8_t>(2, 'f'), false), "");
    EXPECT_EQ(slurp(fresh), "ff");
    EXPECT_EQ(fs::status(fresh).permissions() & fs::perms::owner_read, fs::perms::owner_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
}

} // namespace
} // namespace quendra::convert

namespace quendra::convert {
namespace {

TEST_F(ConvertRun, ListFormatsAndTheVerboseLineNameTheFormatRead) {
    auto r = runTool("quendra-convert", {"--list-formats"}, dir.path());
    EXPECT_EQ(r.status, 0);
    // One line for the heading and one for every registry row, in its order; then, after
    // a blank line and a heading, one for every kind of disk or tape image.
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'),
              static_cast<std::ptrdiff_t>(c64Formats().size() + 3 + diskContainers().size()));
    EXPECT_NE(r.out.find("  D64 disk image (d64)\n"), std::string::npos);
    for (const C64Format& format : c64Formats())
        EXPECT_NE(r.out.find(std::string(format.name)), std::string::npos) << format.name;
    const auto line = r.out.find("Blazing Paddles");
    ASSERT_NE(line, std::string::npos);
    const std::string paddles = r.out.substr(line, r.out.find('\n', line) - line);
    EXPECT_NE(paddles.find("pi bpl"), std::string::npos) << paddles;
    EXPECT_NE(paddles.find("10242"), std::string::npos) << paddles;

    // A Blazing Paddles picture under a name no format holds, and under its C64 prefix.
    const auto picture =
        samples::makeMulticolourFile(samples::testPattern(4), samples::kBlazingPaddlesLayout);
    writeBytes(dir / "world.bin", picture);
    writeBytes(dir / "pi.world", picture);
    r = runTool("quendra-convert", {"-v", "-o", "out", "world.bin", "pi.world"}, dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "world.bin -> out/world.png (Blazing Paddles)\n"
                     "pi.world -> out/pi.world.png (Blazing Paddles)\n");
    const Decoded expected = decodeBlazingPaddles(picture, {});
    EXPECT_EQ(pixels(QImage(QString::fromStdString((dir / "out/world.png").string()))),
              pixels(expected.picture.toRgb()));
}

} // namespace
} // namespace quendra::convert

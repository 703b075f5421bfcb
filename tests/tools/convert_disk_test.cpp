// quendra-convert on disk images: every picture inside to a folder named after the image,
// safe and unique names, one entry by name, the skipped entries under -v.
#include <gtest/gtest.h>

#include <QImage>

#include "convert/disk_inputs.h"
#include "decode/readers.h"
#include "samples/c64_files.h"
#include "samples/disk_files.h"
#include "tool_runner.h"

namespace quendra::convert {
namespace {

namespace fs = std::filesystem;
using quendra::testing::runTool;
using quendra::testing::TempDir;
using quendra::testing::writeBytes;

samples::ByteVector koala(unsigned seed) {
    return samples::makeKoala(samples::testPattern(seed));
}

// Whether the PNG holds the pixels of the Koala picture made from `seed`.
bool holdsKoala(const fs::path& png, unsigned seed) {
    const QImage image(QString::fromStdString(png.string()));
    const Image expected = decodeKoala(koala(seed), {}).picture.toRgb();
    if (image.width() != expected.width() || image.height() != expected.height())
        return false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const Rgb c = expected.pixel(x, y);
            if ((image.pixel(x, y) & 0xFFFFFF) != (qRgb(c.r, c.g, c.b) & 0xFFFFFF))
                return false;
        }
    }
    return true;
}

TEST(ConvertDisk, EveryPictureInsideGoesToTheImagesFolder) {
    TempDir dir;
    writeBytes(dir / "disk.d64", samples::makeD64({
                                     {"\x81PIC A TIGER", koala(1)},
                                     {"SAME", koala(2)},
                                     {"NOTES", {'H', 'I', 0x0D}, 0x81},
                                     {"----", {}, 0x80},
                                     {"SAME", koala(3)},
                                     {"/-ODD", koala(4)},
                                 }));
    auto r = runTool("quendra-convert", {"-v", "disk.d64"}, dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "disk.d64:PIC A TIGER -> disk/PIC A TIGER.png (Koala Painter)\n"
                     "disk.d64:SAME -> disk/SAME.png (Koala Painter)\n"
                     "disk.d64:NOTES: skipped: not a picture (SEQ, 3 bytes)\n"
                     "disk.d64:----: skipped: a DEL entry holds no file\n"
                     "disk.d64:SAME -> disk/SAME_2.png (Koala Painter)\n"
                     "disk.d64:/-ODD -> disk/_-ODD.png (Koala Painter)\n");
    EXPECT_TRUE(holdsKoala(dir / "disk/PIC A TIGER.png", 1));
    EXPECT_TRUE(holdsKoala(dir / "disk/SAME.png", 2));
    EXPECT_TRUE(holdsKoala(dir / "disk/SAME_2.png", 3));
    EXPECT_TRUE(holdsKoala(dir / "disk/_-ODD.png", 4));

    // One entry, by either form, under -o; a name the image lacks fails.
    r = runTool("quendra-convert", {"-o", "out", "disk.d64:pic a tiger"}, dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(holdsKoala(dir / "out/disk/PIC A TIGER.png", 1));
    EXPECT_FALSE(fs::exists(dir / "out/disk/SAME.png"));
    r = runTool("quendra-convert", {"-o", "out", "--entry", "/-ODD", "disk.d64"}, dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(holdsKoala(dir / "out/disk/_-ODD.png", 4));
    r = runTool("quendra-convert", {"disk.d64:NOPE", "disk.d64:NOTES"}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "disk.d64: holds no entry named NOPE\n"
                     "disk.d64:NOTES: not a picture (SEQ, 3 bytes)\n");

    // An image without pictures, and one that is no image, fail.
    writeBytes(dir / "empty.d64", samples::makeD64({{"NOTES", {1, 2}, 0x81}}));
    writeBytes(dir / "cut.d81", {1, 2, 3});
    r = runTool("quendra-convert", {"empty.d64", "cut.d81"}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "empty.d64: holds no picture among its 1 entry\n"
                     "cut.d81: not a D81 disk image: 3 bytes, where one has 819200 or 822400\n");
}

TEST(ConvertDisk, PaddedNamesLoseTheirPaddingAndStayUnique) {
    TempDir dir;
    writeBytes(dir / "disk.d64", samples::makeD64({
                                     {"\x81PIC A MEAN    ", koala(1)},
                                     {"HEMAN\xA0\xA0  ", koala(2)},
                                     {"HEMAN", koala(3)},
                                 }));
    const auto r = runTool("quendra-convert", {"disk.d64", "disk.d64:PIC A MEAN"}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "disk.d64:PIC A MEAN    : disk/PIC A MEAN.png is already the output of "
                     "disk.d64:PIC A MEAN    \n");
    EXPECT_TRUE(holdsKoala(dir / "disk/PIC A MEAN.png", 1));
    EXPECT_TRUE(holdsKoala(dir / "disk/HEMAN.png", 2));
    EXPECT_TRUE(holdsKoala(dir / "disk/HEMAN_2.png", 3));
}

// An image's name makes its folder by the rules of the entries' names: never ".", "..",
// hidden or an option.
TEST(ConvertDisk, AnImagesFolderStaysInsideTheOutputFolder) {
    const std::pair<const char*, const char*> folders[] = {
        {"...d64", "out/_.."},   {"..d64", "out/_."},           {".d64", "out/_"},
        {"-rf.d64", "out/_-rf"}, {"a\x1b[2J.d64", "out/a_[2J"}, {"disk.d64", "out/disk"},
    };
    for (const auto& [image, folder] : folders)
        EXPECT_EQ(imageFolder(image, fs::path("out")), fs::path(folder)) << image;

    TempDir dir;
    writeBytes(dir / "in/...d64", samples::makeD64({{"TIGER", koala(1)}}));
    auto r = runTool("quendra-convert", {"-o", "out", "in/...d64"}, dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(holdsKoala(dir / "out/_../TIGER.png", 1));
    EXPECT_FALSE(fs::exists(dir / "TIGER.png"));

    // A link out of the output folder is never followed, not even with --force.
    writeBytes(dir / "disk.d64", samples::makeD64({{"TIGER", koala(1)}}));
    writeBytes(dir / "elsewhere/TIGER.png", {'k', 'e', 'e', 'p'});
    fs::create_directory_symlink("../elsewhere", dir / "out/disk");
    r = runTool("quendra-convert", {"--force", "-o", "out", "disk.d64"}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "disk.d64:TIGER: out/disk/TIGER.png lies outside the output folder out\n");
    EXPECT_EQ(quendra::testing::slurp(dir / "elsewhere/TIGER.png"), "keep");
    // A link in the output's own place is replaced, never the file it leads to.
    fs::remove(dir / "out/disk");
    fs::create_directories(dir / "out/disk");
    fs::create_symlink("../../elsewhere/TIGER.png", dir / "out/disk/TIGER.png");
    r = runTool("quendra-convert", {"--force", "-o", "out", "disk.d64"}, dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(holdsKoala(dir / "out/disk/TIGER.png", 1));
    EXPECT_EQ(quendra::testing::slurp(dir / "elsewhere/TIGER.png"), "keep");
}

TEST(ConvertDisk, AFailedImageLeavesNoFolder) {
    TempDir dir;
    writeBytes(dir / "disk.d64", samples::makeD64({{"TIGER", koala(1)}}));
    // A Koala picture breaks Doodle's two colours per cell.
    const auto r = runTool("quendra-convert", {"--to", "dd", "-o", "out", "disk.d64"}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(fs::exists(dir / "out"));
    EXPECT_FALSE(fs::exists(dir / "out/disk"));
}

} // namespace
} // namespace quendra::convert

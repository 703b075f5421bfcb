// quendra-convert on folders: a folder's picture files (C64 names by extension or prefix,
// disk images), -r for the folders below, mirrored under -o DIR.
#include <gtest/gtest.h>

#include "convert/batch_plan.h"
#include "samples/c64_files.h"
#include "samples/disk_files.h"
#include "samples/sample_files.h"
#include "tool_runner.h"

namespace quendra::convert {
namespace {

namespace fs = std::filesystem;
using quendra::testing::runTool;
using quendra::testing::TempDir;
using quendra::testing::writeBytes;

TEST(ConvertFolder, PictureFilesByExtensionPrefixOrImage) {
    TempDir dir;
    writeBytes(dir / "p.d64", samples::makeD64({}));
    const Options png, toKoala{.c64 = findC64Writer("koa")};
    const std::tuple<const char*, bool, bool> files[] = {
        // name, a picture for PC pictures out, a picture for C64 files out
        {"pic.koa", true, true},      {"PIC.KOA", true, true},    {"pi.worldmap", true, true},
        {"mpic.face", true, true},    {"p.d64", true, true},      {"README.md", false, false},
        {"x.worldmap", false, false}, {"photo.png", false, true}, {"noext", false, false},
    };
    for (const auto& [name, forPng, forKoala] : files) {
        EXPECT_EQ(isFolderPicture(dir / name, png), forPng) << name;
        EXPECT_EQ(isFolderPicture(dir / name, toKoala), forKoala) << name;
    }
}

TEST(ConvertFolder, ItsPicturesAndWithRThoseBelow) {
    TempDir dir;
    const auto koala = samples::makeKoala(samples::testPattern(1));
    writeBytes(dir / "in/pic.koa", koala);
    writeBytes(dir / "in/notes.txt", {'h', 'i'});
    writeBytes(dir / "in/sub/deep.koa", koala);
    writeBytes(dir / "in/sub/disk.d64", samples::makeD64({{"TIGER", koala}}));
    // C64-style names of one prefix, each its own output.
    writeBytes(dir / "in/pi.worldmap", samples::sampleBytes("blazing-paddles.pi"));
    writeBytes(dir / "in/pi.europe", samples::sampleBytes("blazing-paddles.pi"));
    auto r = runTool("quendra-convert", {"-o", "out", "in"}, dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::exists(dir / "out/pic.png"));
    EXPECT_FALSE(fs::exists(dir / "out/sub"));
    EXPECT_TRUE(fs::exists(dir / "out/pi.worldmap.png"));
    EXPECT_TRUE(fs::exists(dir / "out/pi.europe.png"));

    // The folders below, mirrored; the output folder inside the input is not read.
    r = runTool("quendra-convert", {"-v", "-r", "--force", "-o", "in/out", "in/sub"}, dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "in/sub/deep.koa -> in/out/deep.png (Koala Painter)\n"
                     "in/sub/disk.d64:TIGER -> in/out/disk/TIGER.png (Koala Painter)\n");
    writeBytes(dir / "in/out/old.koa", koala);
    r = runTool("quendra-convert", {"-r", "-o", "in/out", "in"}, dir.path());
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::exists(dir / "in/out/sub/deep.png"));
    EXPECT_TRUE(fs::exists(dir / "in/out/sub/disk/TIGER.png"));
    EXPECT_FALSE(fs::exists(dir / "in/out/out"));

    // Nothing to convert: the reason, and where to look further.
    fs::create_directories(dir / "empty/below");
    r = runTool("quendra-convert", {"empty"}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err,
              "empty: holds no picture files; -r also converts those in the folders below\n");
}

} // namespace
} // namespace quendra::convert

// The sample pictures: a file for every reader, each one well formed for its reader.
// The pictures themselves are checked in samples_decode_test.cpp through the readers.
#include <gtest/gtest.h>

#include <set>

#include "decode/formats.h"
#include "decode/readers.h"
#include "samples/sample_files.h"
#include "tool_runner.h"

namespace quendra::samples {
namespace {

namespace fs = std::filesystem;

TEST(SampleFiles, EveryReaderHasASampleWithAUniqueName) {
    std::set<const C64Format*> rows;
    std::set<std::string> names;
    bool godotPicture = false, godotClip = false;
    for (const SampleFile& f : allSampleFiles()) {
        EXPECT_TRUE(names.insert(f.name).second) << f.name;
        rows.insert(&formatForFile(f.name));
        ASSERT_GE(f.bytes.size(), 4u);
        const std::string magic(f.bytes.begin(), f.bytes.begin() + 4);
        godotPicture |= magic == "GOD0";
        godotClip |= magic == "GOD1";
        EXPECT_LE(f.bytes.size(), formatForFile(f.name).readLimit) << f.name;
    }
    EXPECT_EQ(rows.size(), c64Formats().size());
    EXPECT_TRUE(godotPicture);
    EXPECT_TRUE(godotClip);
}

TEST(SampleFiles, LengthsAndLoadAddressesTheReadersCheck) {
    auto starts = [](const ByteVector& b, std::initializer_list<int> head) {
        return std::equal(head.begin(), head.end(), b.begin());
    };
    EXPECT_EQ(sampleKoala().size(), 10003u);
    EXPECT_EQ(sampleRunPaint().size(), 10006u);
    EXPECT_EQ(sampleAdvancedArtStudio().size(), 10018u);
    EXPECT_EQ(sampleArtStudioHires().size(), 9009u);
    EXPECT_EQ(sampleDoodle().size(), 9218u);
    EXPECT_TRUE(starts(sampleDoodle(), {0x00, 0x1C}));
    EXPECT_TRUE(starts(sampleKoalaCompressed(), {0x00, 0x60}));
    EXPECT_LT(sampleKoalaCompressed().size(), 10100u);
    EXPECT_TRUE(starts(sampleAmica(), {0x00, 0x40}));
    EXPECT_LT(sampleAmica().size(), 10300u);
    EXPECT_TRUE(starts(sampleDoodleCompressed(), {0x00, 0x5C}));
    EXPECT_LT(sampleDoodleCompressed().size(), 9219u);
    EXPECT_TRUE(starts(samplePrintfoxScreen(), {'B'}));
    EXPECT_TRUE(starts(samplePrintfoxLarge(), {'G'}));
    EXPECT_TRUE(starts(samplePagefoxPage(), {'P', 30, 50}));
    EXPECT_TRUE(starts(sampleFunPainter(), {0xF0, 0x3F, 'F', 'U'}));
    EXPECT_LT(sampleFunPainter().size(), 30000u); // within the reader's one read
    EXPECT_TRUE(starts(sampleGodotClip(), {'G', 'O', 'D', '1', 0, 0, 12, 8}));
    EXPECT_EQ(sampleGodotPicture().back(), 0xAD);
}

TEST(SampleFiles, KoalaSamplesShowTheirPictures) {
    for (const ByteVector& f : {sampleKoala(), sampleRunPaint()}) {
        const Decoded d = decodeKoala(f, {});
        ASSERT_TRUE(d.accepted) << d.reason;
        const std::span<const std::uint8_t> first(f.data(), 10003);
        EXPECT_EQ(d.picture, decodeKoala(first, {}).picture);
    }
}

TEST(SampleFiles, TheToolWritesThemAll) {
    quendra::testing::TempDir dir;
    auto r = quendra::testing::runTool("quendra-samples", {"out"}, dir.path());
    ASSERT_EQ(r.status, 0) << r.err;
    for (const SampleFile& f : allSampleFiles()) {
        const std::string bytes = quendra::testing::slurp(dir / "out" / f.name);
        EXPECT_EQ(bytes, std::string(f.bytes.begin(), f.bytes.end())) << f.name;
    }
    r = quendra::testing::runTool("quendra-samples", {"--koala-batch", "3", "batch"}, dir.path());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(fs::file_size(dir / "batch/koala-0002.koa"), 10003u);
    EXPECT_NE(quendra::testing::slurp(dir / "batch/koala-0001.koa"),
              quendra::testing::slurp(dir / "batch/koala-0002.koa"));
    EXPECT_EQ(quendra::testing::runTool("quendra-samples", {}, dir.path()).status, 2);
}

} // namespace
} // namespace quendra::samples

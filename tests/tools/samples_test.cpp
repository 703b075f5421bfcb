// The sample pictures: a file for every reader, each one well formed for its reader.
// The pictures themselves are checked in samples_decode_test.cpp through the readers.
#include <gtest/gtest.h>

#include <set>

#include "decode/formats.h"
#include "decode/open_picture.h"
#include "decode/readers.h"
#include "samples/sample_files.h"
#include "tool_runner.h"

namespace quendra::samples {
namespace {

namespace fs = std::filesystem;

// Every row is shown by the samples it names (or one made from its layout): each sample is
// named by one row, reached by its name's extension, within the row's read limit, accepted
// on the viewer's road at the size its builder gives, and shown as the format the row's
// reader names.
TEST(SampleFiles, EveryRowIsShownByTheSamplesItNames) {
    quendra::testing::TempDir dir;
    std::set<const C64Format*> shown;
    std::set<std::string> names;
    for (const SampleFile& f : allSampleFiles()) {
        SCOPED_TRACE(f.name);
        ASSERT_NE(f.row, nullptr) << "no row names this sample";
        EXPECT_TRUE(names.insert(f.name).second);
        EXPECT_EQ(&formatForFile(f.name), f.row);
        EXPECT_LE(f.bytes.size(), f.row->readLimit);
        shown.insert(f.row);
        quendra::testing::writeBytes(dir / f.name, f.bytes);
        const OpenedPicture opened = openPictureFile(dir / f.name, {});
        ASSERT_TRUE(opened.accepted()) << opened.decoded.reason;
        EXPECT_EQ(opened.format, decodeAs(*f.row, f.bytes, {}).format);
        const IndexedImage& picture = opened.decoded.picture;
        EXPECT_EQ(picture.width(), f.width);
        EXPECT_EQ(picture.height(), f.height);
        const std::set<std::uint8_t> indices(picture.indices().begin(), picture.indices().end());
        EXPECT_GE(indices.size(), 2u);
        // Every picture says what its indices hold, so that a palette applies to it; only
        // Printfox and Pagefox pages keep their black and white.
        const bool page = f.row->decode == decodePrintfox;
        EXPECT_EQ(picture.meaning() == IndexMeaning::fixed, page);
    }
    EXPECT_EQ(shown.size(), c64Formats().size());
}

TEST(SampleFiles, LengthsAndLoadAddressesTheReadersCheck) {
    auto starts = [](const ByteVector& b, std::initializer_list<int> head) {
        return std::equal(head.begin(), head.end(), b.begin());
    };
    EXPECT_EQ(sampleBytes("koala.koa").size(), 10003u);
    EXPECT_EQ(sampleBytes("runpaint.rpm").size(), 10006u);
    EXPECT_EQ(sampleBytes("art-studio-multicolour.ocp").size(), 10018u);
    EXPECT_EQ(sampleBytes("art-studio-hires.ocp").size(), 9009u);
    EXPECT_EQ(sampleBytes("doodle.dd").size(), 9218u);
    EXPECT_TRUE(starts(sampleBytes("doodle.dd"), {0x00, 0x1C}));
    EXPECT_TRUE(starts(sampleBytes("koala-compressed.gg"), {0x00, 0x60}));
    EXPECT_LT(sampleBytes("koala-compressed.gg").size(), 10100u);
    EXPECT_TRUE(starts(sampleBytes("amica.ami"), {0x00, 0x40}));
    EXPECT_LT(sampleBytes("amica.ami").size(), 10300u);
    EXPECT_TRUE(starts(sampleBytes("doodle-compressed.jj"), {0x00, 0x5C}));
    EXPECT_LT(sampleBytes("doodle-compressed.jj").size(), 9219u);
    EXPECT_TRUE(starts(sampleBytes("printfox-screen.bs"), {'B'}));
    EXPECT_TRUE(starts(sampleBytes("printfox-large.gb"), {'G'}));
    EXPECT_TRUE(starts(sampleBytes("pagefox-page.pg"), {'P', 30, 50}));
    EXPECT_TRUE(starts(sampleBytes("funpainter.fp2"), {0xF0, 0x3F, 'F', 'U'}));
    EXPECT_LT(sampleBytes("funpainter.fp2").size(), 30000u); // within the reader's one read
    EXPECT_TRUE(starts(sampleBytes("godot-clip.clp"), {'G', 'O', 'D', '1', 0, 0, 12, 8}));
    EXPECT_EQ(sampleBytes("godot.4bt").back(), 0xAD);
}

TEST(SampleFiles, KoalaSamplesShowTheirPictures) {
    for (const ByteVector& f : {sampleBytes("koala.koa"), sampleBytes("runpaint.rpm")}) {
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

// A converter keeps its buffers from file to file: once it has converted a file of a kind,
// converting another makes no allocation larger than a few hundred bytes. Counted by
// replacing malloc and its kin for this test program, so that the C libraries' allocations
// (zlib's deflate state among them) count as well as the C++ ones.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>

#include "convert/convert.h"
#include "samples/sample_files.h"
#include "tool_runner.h"

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* p, std::size_t size);
void __libc_free(void* p);
}

namespace {

constexpr std::size_t kLarge = 512;
std::atomic<bool> counting{false};
std::atomic<int> largeAllocations{0};

void note(std::size_t size) {
    if (size > kLarge && counting.load(std::memory_order_relaxed))
        largeAllocations.fetch_add(1, std::memory_order_relaxed);
}

} // namespace

extern "C" {
void* malloc(std::size_t size) {
    note(size);
    return __libc_malloc(size);
}
void* calloc(std::size_t count, std::size_t size) {
    note(count * size);
    return __libc_calloc(count, size);
}
void* realloc(void* p, std::size_t size) {
    note(size);
    return __libc_realloc(p, size);
}
void free(void* p) {
    __libc_free(p);
}
}

namespace quendra::convert {
namespace {

namespace fs = std::filesystem;

// One file of each reader family: cell bitmaps, packed bitmaps, FLI, BFLI, the interlaced
// pictures, FunPainter 2, GoDot and Printfox.
constexpr const char* kInputs[] = {"koala.koa",
                                   "runpaint.rpm",
                                   "art-studio-multicolour.ocp",
                                   "art-studio-hires.ocp",
                                   "amica.ami",
                                   "koala-compressed.gg",
                                   "doodle.dd",
                                   "doodle-compressed.jj",
                                   "fli-graph.bml",
                                   "hires-fli.hfc",
                                   "bfli.bfli",
                                   "true-paint.mci",
                                   "drazlace.drl",
                                   "gunpaint.gun",
                                   "ffli.ffli",
                                   "hires-interlace.hlf",
                                   "funpainter.fp2",
                                   "godot.4bt",
                                   "godot-clip.clp",
                                   "printfox-large.gb",
                                   "printfox-screen.bs",
                                   "pagefox-page.pg"};

TEST(ConvertAllocations, NoLargeAllocationPerFileOnceWarm) {
    quendra::testing::TempDir dir;
    for (const samples::SampleFile& f : samples::allSampleFiles())
        quendra::testing::writeBytes(dir / f.name, f.bytes);
    // PNG is the common case; BMP, PCX and GoDot 4Bit are written here without a library.
    for (PictureFormat format :
         {PictureFormat::PNG, PictureFormat::BMP, PictureFormat::PCX, PictureFormat::Godot4Bit}) {
        Options options;
        options.format = format;
        Converter converter(options);
        for (const char* input : kInputs) {
            SCOPED_TRACE(std::string(input) + " to " + std::string(extensionOf(format)));
            const std::string in = (dir / input).string();
            const fs::path warm = outputPathFor(in, format, dir / "warm");
            const fs::path out = outputPathFor(in, format, dir / "out");
            fs::create_directories(warm.parent_path());
            fs::create_directories(out.parent_path());
            const Outcome warmed = converter.convert(in, warm);
            if (!warmed.converted && format == PictureFormat::Godot4Bit)
                continue; // mixed colours, which GoDot 4Bit cannot hold
            ASSERT_TRUE(warmed.converted) << warmed.message;
            largeAllocations = 0;
            counting = true;
            const Outcome outcome = converter.convert(in, out);
            counting = false;
            ASSERT_TRUE(outcome.converted) << outcome.message;
            EXPECT_EQ(largeAllocations.load(), 0);
        }
    }
}

} // namespace
} // namespace quendra::convert

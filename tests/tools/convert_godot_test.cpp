// quendra-convert --to 4bt: GoDot files that the GoDot reader shows as the picture that
// was converted. (These need the GoDot reader and writer.)
#include <gtest/gtest.h>

#include "decode/formats.h"
#include "decode/readers.h"
#include "samples/c64_files.h"
#include "samples/sample_files.h"
#include "tool_runner.h"

namespace quendra::convert {
namespace {

using quendra::testing::runTool;
using quendra::testing::slurp;
using quendra::testing::TempDir;
using quendra::testing::writeBytes;

TEST(ConvertGodot, KoalaBecomesAGodotPictureOfTheSameColours) {
    TempDir dir;
    writeBytes(dir / "pic.koa", samples::makeKoala(samples::testPattern(8)));
    for (bool grey : {false, true}) {
        SCOPED_TRACE(grey);
        std::vector<std::string> args{"--to", "4bt", "--force", "pic.koa"};
        if (grey)
            args.push_back("--grey");
        const auto r = runTool("quendra-convert", args, dir.path());
        ASSERT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(slurp(dir / "pic.4bt").substr(0, 4), "GOD0");
        const Decoded shown = decodeFile(dir / "pic.4bt", {.grey = grey});
        ASSERT_TRUE(shown.accepted) << shown.reason;
        const Decoded original = decodeFile(dir / "pic.koa", {.grey = grey});
        EXPECT_EQ(shown.picture.toRgb(), original.picture.toRgb());
    }
}

TEST(ConvertGodot, LargePagesBecomeClips) {
    TempDir dir;
    writeBytes(dir / "page.gb", samples::sampleBytes("printfox-large.gb"));
    const auto r = runTool("quendra-convert", {"--to", "4bt", "page.gb"}, dir.path());
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string bytes = slurp(dir / "page.4bt");
    EXPECT_EQ(bytes.substr(0, 8), std::string("GOD1\0\0\x50\x32", 8)); // 80 x 50 cells
    const Decoded shown = decodeFile(dir / "page.4bt", {});
    ASSERT_TRUE(shown.accepted) << shown.reason;
    EXPECT_EQ(shown.picture.toRgb(), decodeFile(dir / "page.gb", {}).picture.toRgb());
}

} // namespace
} // namespace quendra::convert

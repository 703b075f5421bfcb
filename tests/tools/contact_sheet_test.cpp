// A disk image's thumbnail: its first four pictures on a sheet, one picture alone, none
// gives no thumbnail.
#include <gtest/gtest.h>

#include "decode/readers.h"
#include "samples/c64_files.h"
#include "samples/disk_files.h"
#include "thumbnailer/contact_sheet.h"
#include "thumbnailer/thumbnail.h"
#include "tool_runner.h"

namespace quendra::thumbnail {
namespace {

using quendra::testing::runTool;
using quendra::testing::TempDir;
using quendra::testing::writeBytes;

samples::DiskFile koalaFile(const char* name, unsigned seed) {
    return {name, samples::makeKoala(samples::testPattern(seed))};
}

Image koalaRgb(unsigned seed) {
    return decodeKoala(samples::makeKoala(samples::testPattern(seed)), {}).picture.toRgb();
}

// The `cell`-sized square of `sheet` at (left, top) holds `picture` fitted and centred.
void expectInCell(const Image& sheet, const Image& picture, int left, int top, int cell) {
    const Image fitted = fitInto(picture, cell);
    const int x0 = left + (cell - fitted.width()) / 2, y0 = top + (cell - fitted.height()) / 2;
    for (int y = 0; y < fitted.height(); ++y) {
        for (int x = 0; x < fitted.width(); ++x)
            ASSERT_EQ(sheet.pixel(x0 + x, y0 + y), fitted.pixel(x, y)) << x << "," << y;
    }
}

TEST(ContactSheet, FirstFourPicturesInTheDirectorysOrder) {
    TempDir dir;
    writeBytes(dir / "five.d64", samples::makeD64({koalaFile("A", 1),
                                                   {"TEXT", {'H', 'I'}, 0x81},
                                                   koalaFile("B", 2), koalaFile("C", 3),
                                                   koalaFile("D", 4), koalaFile("E", 5)}));
    const Sheet sheet = contactSheet(dir / "five.d64", 128, defaultPalette().colours);
    ASSERT_EQ(sheet.image.width(), 128) << sheet.error;
    const int gap = 2, cell = 63;
    EXPECT_EQ(sheet.image.height(), 2 * cell + gap);
    for (int i = 0; i < 4; ++i)
        expectInCell(sheet.image, koalaRgb(static_cast<unsigned>(i + 1)), (i % 2) * (cell + gap),
                     (i / 2) * (cell + gap), cell);

    writeBytes(dir / "one.d64", samples::makeD64({koalaFile("A", 1)}));
    EXPECT_EQ(contactSheet(dir / "one.d64", 128, defaultPalette().colours).image,
              fitInto(koalaRgb(1), 128));

    writeBytes(dir / "none.d64", samples::makeD64({{"TEXT", {'H', 'I'}, 0x81}}));
    const auto r = runTool("quendra-thumbnailer", {"-s", "128", "none.d64", "none.png"}, dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "none.png"));
    EXPECT_EQ(runTool("quendra-thumbnailer", {"-s", "128", "five.d64", "five.png"}, dir.path()).status, 0);
}

} // namespace
} // namespace quendra::thumbnail

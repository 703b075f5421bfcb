#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "decode/formats.h"
#include "decode/palette.h"
#include "decode/readers.h"
#include "samples/printfox_files.h"

namespace quendra {
namespace {

using samples::ByteVector;

struct Recorder : Progress {
    std::vector<int> maxima;
    std::vector<int> positions;
    void start(int maximum) override { maxima.push_back(maximum); }
    void position(int p) override { positions.push_back(p); }
};

std::vector<int> upTo(int n) {
    std::vector<int> v;
    for (int i = 0; i < n; ++i)
        v.push_back(i);
    return v;
}

Decoded decode(const ByteVector& file) {
    return decodePrintfox(file, {});
}

// Every pixel against the page: a set bit black, a clear bit white.
void expectPage(const Decoded& d, const ByteVector& page, int columns, int rows) {
    ASSERT_TRUE(d.accepted) << d.reason;
    ASSERT_EQ(d.picture.width(), 8 * columns);
    ASSERT_EQ(d.picture.height(), 8 * rows);
    const Image rgb = d.picture.toRgb();
    int wrong = 0;
    for (int y = 0; y < 8 * rows && wrong < 5; ++y) {
        for (int x = 0; x < 8 * columns && wrong < 5; ++x) {
            const std::uint8_t b =
                page[(static_cast<std::size_t>(y / 8) * columns + x / 8) * 8 + y % 8];
            const Rgb want = (b >> (7 - x % 8)) & 1 ? kBlack : kWhite;
            if (rgb.pixel(x, y) != want) {
                ADD_FAILURE() << "pixel " << x << "," << y;
                ++wrong;
            }
        }
    }
}

// A page that is white but for the bytes given at the start.
ByteVector pageStartingWith(int columns, int rows, const ByteVector& bytes) {
    ByteVector page(static_cast<std::size_t>(columns) * rows * 8, 0);
    std::copy(bytes.begin(), bytes.end(), page.begin());
    return page;
}

ByteVector concat(ByteVector a, const ByteVector& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(Printfox, ThreeTypesDrawTheirPagesBlackOnWhite) {
    const ByteVector screen = samples::printfoxPage(40, 25);
    const Decoded b = decode(samples::makePrintfoxScreen(screen, true));
    expectPage(b, screen, 40, 25);
    EXPECT_EQ(b.picture.palette(), (std::vector<Rgb>{kBlack, kWhite}));

    const ByteVector large = samples::printfoxPage(80, 50, 3);
    expectPage(decode(samples::makePrintfoxLarge(large, true)), large, 80, 50);

    const ByteVector page = samples::printfoxPage(20, 10, 1);
    const Decoded p = decode(samples::makePagefoxPage(10, 20, page));
    expectPage(p, page, 20, 10);
    EXPECT_EQ(p.picture.width(), 160);
    EXPECT_EQ(p.picture.height(), 80);
}

TEST(Printfox, SetBitsAreIndexZeroBlack) {
    const Decoded d = decode({'B', 0x80});
    ASSERT_TRUE(d.accepted);
    EXPECT_EQ(d.picture.index(0, 0), 0);
    EXPECT_EQ(d.picture.index(1, 0), 1);
    EXPECT_EQ(d.picture.pixel(0, 0), kBlack);
    EXPECT_EQ(d.picture.pixel(1, 0), kWhite);
}

TEST(Printfox, GreyFlagChangesNothing) {
    const ByteVector file = samples::makePrintfoxScreen(samples::printfoxPage(40, 25));
    EXPECT_EQ(decodePrintfox(file, {.grey = true}).picture, decode(file).picture);
}

TEST(Printfox, FirstByteDecidesTheTypeNotTheExtension) {
    const ByteVector file = samples::makePrintfoxLarge(samples::printfoxPage(80, 50));
    const Decoded d = formatForFile("PIC.bs").decode(file, {});
    ASSERT_TRUE(d.accepted);
    EXPECT_EQ(d.picture.width(), 640);
    EXPECT_EQ(d.picture.height(), 400);
}

TEST(Printfox, PagesWithoutRowsOrColumnsAreEmpty) {
    for (const auto& [rows, columns] : {std::pair{0, 20}, std::pair{10, 0}, std::pair{0, 0}}) {
        const Decoded d = decode(samples::makePagefoxPage(rows, columns, {}));
        ASSERT_TRUE(d.accepted) << d.reason;
        EXPECT_EQ(d.picture.width(), 8 * columns);
        EXPECT_EQ(d.picture.height(), 8 * rows);
        EXPECT_TRUE(d.picture.toRgb().empty());
    }
    // Data for an empty page goes nowhere.
    EXPECT_TRUE(decode({'P', 0, 0, 0, 0xFF, 0x9B, 0x00, 0xFF}).accepted);
}

TEST(Printfox, RejectsWhatIsNoPrintfoxFile) {
    const ByteVector bad[] = {{}, {'P'}, {'P', 10}, {'b', 0xFF}, {'X'}, {0x00, 'B'}};
    for (const ByteVector& f : bad) {
        Recorder progress;
        const Decoded d = decodePrintfox(f, {.progress = &progress});
        EXPECT_FALSE(d.accepted) << f.size();
        EXPECT_FALSE(d.reason.empty());
        EXPECT_FALSE(d.decodingBegan);
        EXPECT_TRUE(progress.maxima.empty());
        EXPECT_TRUE(progress.positions.empty());
    }
    EXPECT_NE(decode({'P', 10}).reason.find('2'), std::string::npos);
    // Three bytes make a page header with no data: accepted, all white.
    const Decoded d = decode({'P', 1, 1});
    ASSERT_TRUE(d.accepted);
    EXPECT_EQ(d.picture.pixel(7, 7), kWhite);
}

TEST(Printfox, ScreenAndLargeRunsHaveSixteenBitCounts) {
    const int cols = 40, rows = 25;
    // Low byte first: 0x9B 0x00 0x01 is 256 bytes, not 1.
    expectPage(decode({'B', 0x9B, 0x00, 0x01, 0xFF, 0x81}),
               pageStartingWith(cols, rows, concat(ByteVector(256, 0xFF), {0x81})), cols, rows);
    expectPage(decode({'B', 0x9B, 0x08, 0x00, 0xFF}),
               pageStartingWith(cols, rows, ByteVector(8, 0xFF)), cols, rows);
    // A count of 0 appends nothing.
    expectPage(decode({'B', 0x9B, 0x00, 0x00, 0xFF, 0x81}), pageStartingWith(cols, rows, {0x81}),
               cols, rows);
    // 8000 bytes fill the page even when the run is the last thing in the file.
    expectPage(decode({'B', 0x9B, 0x40, 0x1F, 0xFF}), ByteVector(8000, 0xFF), cols, rows);
    expectPage(decode({'B', 0x9B, 0x40, 0x1F, 0x00, 1, 2, 3, 4, 5}), ByteVector(8000, 0x00), cols,
               rows);
    // The same tokens in a large picture.
    expectPage(decode({'G', 0x9B, 0x00, 0x7D, 0xFF}), ByteVector(32000, 0xFF), 80, 50);
}

TEST(Printfox, PageRunsHaveOneCountByteWithZeroMeaning256) {
    expectPage(decode({'P', 2, 20, 0, 0x9B, 0x00, 0xFF, 0x81}),
               pageStartingWith(20, 2, concat(ByteVector(256, 0xFF), {0x81})), 20, 2);
    expectPage(decode({'P', 2, 20, 0, 0x9B, 0x08, 0xFF, 0x81}),
               pageStartingWith(20, 2, concat(ByteVector(8, 0xFF), {0x81})), 20, 2);
    // A 0x9B in the data is stored as a run of one.
    expectPage(decode({'P', 1, 1, 0, 0x9B, 0x01, 0x9B}), pageStartingWith(1, 1, {0x9B}), 1, 1);
}

TEST(Printfox, PageDataBeginsAfterTheFieldsZeroOrAtOffset3) {
    expectPage(decode({'P', 1, 1, 'n', 'a', 'm', 'e', 0, 0xF0, 0x0F}),
               pageStartingWith(1, 1, {0xF0, 0x0F}), 1, 1);
    // No zero byte anywhere from offset 3: the data begins at offset 3.
    expectPage(decode({'P', 1, 1, 0xF0, 0x0F, 0x9B, 0x02, 0x3C}),
               pageStartingWith(1, 1, {0xF0, 0x0F, 0x3C, 0x3C}), 1, 1);
}

TEST(Printfox, TokensMayBeginAtAnyByteUpToTheLast) {
    expectPage(decode({'B', 0x81}), pageStartingWith(40, 25, {0x81}), 40, 25);
    expectPage(decode({'G', 0x01, 0x02, 0x03}), pageStartingWith(80, 50, {0x01, 0x02, 0x03}), 80,
               50);
    expectPage(decode({'P', 1, 1, 0, 0xC3}), pageStartingWith(1, 1, {0xC3}), 1, 1);
    // Six bytes or fewer still expand.
    expectPage(decode({'B', 0x9B, 0x10, 0x00, 0xFF}),
               pageStartingWith(40, 25, ByteVector(16, 0xFF)), 40, 25);
}

TEST(Printfox, RunCutOffByTheEndAppendsNothing) {
    expectPage(decode({'B', 0x81, 0x9B}), pageStartingWith(40, 25, {0x81}), 40, 25);
    expectPage(decode({'B', 0x81, 0x9B, 0x10}), pageStartingWith(40, 25, {0x81}), 40, 25);
    expectPage(decode({'B', 0x81, 0x9B, 0x10, 0x00}), pageStartingWith(40, 25, {0x81}), 40, 25);
    expectPage(decode({'P', 1, 1, 0, 0x81, 0x9B}), pageStartingWith(1, 1, {0x81}), 1, 1);
    expectPage(decode({'P', 1, 1, 0, 0x81, 0x9B, 0x05}), pageStartingWith(1, 1, {0x81}), 1, 1);
}

TEST(Printfox, TrailingBytesPastThePageChangeNothing) {
    const ByteVector page = samples::printfoxPage(40, 25, 2);
    const Decoded plain = decode(samples::makePrintfoxScreen(page));
    ASSERT_TRUE(plain.accepted);
    EXPECT_EQ(decode(samples::makePrintfoxScreen(page, true)).picture, plain.picture);
    // Runs of 65535 bytes past the page, up to the read limit: dropped.
    ByteVector flood = samples::makePrintfoxScreen(page);
    while (flood.size() + 4 <= kPrintfoxReadLimit)
        flood.insert(flood.end(), {0x9B, 0xFF, 0xFF, 0xFF});
    EXPECT_EQ(decode(flood).picture, plain.picture);
}

TEST(Printfox, Largest255By255PageDrawsWhole) {
    const int n = 255;
    ByteVector page(static_cast<std::size_t>(n) * n * 8, 0xFF);
    // A pattern in the last cell, so the page's end is checked exactly.
    for (int k = 0; k < 8; ++k)
        page[page.size() - 8 + k] = static_cast<std::uint8_t>(1 << k);
    const ByteVector file = samples::makePagefoxPage(n, n, page);
    ASSERT_LE(file.size(), kPrintfoxReadLimit);
    const Decoded d = decode(file);
    ASSERT_TRUE(d.accepted);
    EXPECT_EQ(d.picture.width(), 2040);
    EXPECT_EQ(d.picture.height(), 2040);
    expectPage(d, page, n, n);
}

TEST(Printfox, ReadsNoMoreThanTheReadLimit) {
    // A page larger than the read limit filled with literals: the byte at offset 60000 is not read.
    ByteVector file{'P', 255, 255, 0};
    file.resize(kPrintfoxReadLimit, 0x01);
    file.push_back(0xFF);
    ByteVector page(255 * 255 * 8, 0);
    std::fill(page.begin(), page.begin() + (kPrintfoxReadLimit - 4), 0x01);
    expectPage(decode(file), page, 255, 255);
}

TEST(Printfox, ProgressCountsCellRows) {
    struct Case {
        ByteVector file;
        int rows;
    };
    const Case cases[] = {
        {samples::makePrintfoxScreen(samples::printfoxPage(40, 25)), 25},
        {samples::makePrintfoxLarge(samples::printfoxPage(80, 50)), 50},
        {samples::makePagefoxPage(10, 20, samples::printfoxPage(20, 10)), 10},
        {samples::makePagefoxPage(0, 20, {}), 0},
    };
    for (const Case& c : cases) {
        Recorder progress;
        const Decoded d = decodePrintfox(c.file, {.progress = &progress});
        ASSERT_TRUE(d.accepted);
        EXPECT_TRUE(d.decodingBegan);
        EXPECT_EQ(progress.maxima, std::vector<int>{c.rows});
        EXPECT_EQ(progress.positions, upTo(c.rows));
    }
}

} // namespace
} // namespace quendra

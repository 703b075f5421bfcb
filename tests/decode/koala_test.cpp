#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "decode/formats.h"
#include "decode/palette.h"
#include "decode/readers.h"
#include "samples/c64_files.h"

namespace quendra {
namespace {

using samples::CellPicture;
using samples::makeKoala;

TEST(Koala, DecodesEveryBitPairOfACell) {
    CellPicture p;
    p.background = 0x06;
    p.screen[0] = 0x52;
    p.colour[0] = 0xF7;
    p.bitmap[3] = 0x1B; // pairs 00 01 10 11 on line 3 of cell 0
    const Decoded d = decodeKoala(makeKoala(p), {});
    ASSERT_TRUE(d.accepted) << d.reason;
    const Rgb expected[4] = {{0, 0, 170}, {0, 204, 85}, {136, 0, 0}, {238, 238, 119}};
    const Image rgb = d.picture.toRgb();
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(rgb.pixel(x, 3), expected[x / 2]) << x;
}

TEST(Koala, GreyUsesTheGreyLevels) {
    CellPicture p;
    p.background = 0x06;
    p.screen[0] = 0x52;
    p.colour[0] = 0xF7;
    p.bitmap[3] = 0x1B;
    const Image rgb = decodeKoala(makeKoala(p), {.grey = true}).picture.toRgb();
    const int levels[8] = {17, 17, 170, 170, 68, 68, 221, 221};
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(rgb.pixel(x, 3),
                  (Rgb{uint8_t(levels[x]), uint8_t(levels[x]), uint8_t(levels[x])}));
}

TEST(Koala, AcceptsOnlyTheTwoLengthsAtLoadAddress6000) {
    const auto good = makeKoala(samples::testPattern());
    auto padded = makeKoala(samples::testPattern(), true);
    const Decoded a = decodeKoala(good, {});
    const Decoded b = decodeKoala(padded, {});
    ASSERT_TRUE(a.accepted);
    ASSERT_TRUE(b.accepted);
    EXPECT_EQ(a.picture, b.picture);

    auto longer = good;
    longer.push_back(0);
    auto shorter = good;
    shorter.pop_back();
    auto wrongAddress = good;
    wrongAddress[1] = 0x40;
    for (const auto* f : {&longer, &shorter, &wrongAddress}) {
        const Decoded d = decodeKoala(*f, {});
        EXPECT_FALSE(d.accepted);
        EXPECT_FALSE(d.reason.empty());
    }
    EXPECT_NE(decodeKoala(longer, {}).reason.find("10004"), std::string::npos);
    EXPECT_FALSE(decodeKoala({}, {}).accepted);
}

TEST(Koala, OnlyLowNibblesOfBackgroundAndColourCount) {
    CellPicture p;
    p.background = 0xF6;
    p.colour[1] = 0x3E;
    p.bitmap[8] = 0xC0; // cell 1, line 0: first pair 11, the rest 00
    const Image rgb = decodeKoala(makeKoala(p), {}).picture.toRgb();
    EXPECT_EQ(rgb.pixel(0, 0), (Rgb{0, 0, 170}));
    EXPECT_EQ(rgb.pixel(8, 0), (Rgb{0, 136, 255}));
    EXPECT_EQ(rgb.pixel(10, 0), (Rgb{0, 0, 170}));
}

TEST(Dispatch, ExactFormsComeFirstThenAnyCase) {
    EXPECT_EQ(formatForFile("PIC.KOA").decode, decodeKoala);
    EXPECT_EQ(formatForFile("dir.koa/pic.rpm").decode, decodeKoala);
    EXPECT_EQ(formatForFile("pic.Koa").decode, decodeKoala);
    EXPECT_EQ(formatForFile("Mixed.Gg").decode, decodeKoalaCompressed);
    EXPECT_EQ(formatForFile("a.Fp2").decode, decodeFunPainter);
    EXPECT_EQ(formatForFile("a.4BT").decode, decodeGodot);
    EXPECT_EQ(&formatForFile("noext"), &fallbackFormat());
    EXPECT_EQ(formatForFile("a.BS").decode, decodePrintfox);
    EXPECT_EQ(formatForFile("a.Bs").name, "Printfox screen");
    EXPECT_EQ(formatForFile("a.rPm").name, "RunPaint");
    EXPECT_EQ(&formatForFile("a.kob"), &fallbackFormat());
    EXPECT_EQ(formatForFile("a.fp2").decode, decodeFunPainter);
    EXPECT_EQ(fallbackFormat().decode, decodeGodot);
    EXPECT_EQ(extensionOf("x.y/name"), "");
    EXPECT_EQ(extensionOf("pics/a:b.koa"), ".koa");
    EXPECT_EQ(&formatForFile("pics/x.koa:y"), &fallbackFormat());
    EXPECT_EQ(extensionOf("a.b.koa"), ".koa");
    EXPECT_EQ(typeTextFor(".KoA"), "Koala Painter picture");
    EXPECT_EQ(typeTextFor(".RPM"), "RunPaint picture");
    EXPECT_EQ(typeTextFor(".Clp"), "GoDot 4Bit clip");
    EXPECT_EQ(typeTextFor(".txt"), "");
}

TEST(Palette, GreyLevelsFollowTheGodotOrder) {
    for (int c : {0, 11, 12, 15, 1})
        EXPECT_EQ(kC64Palette[c], kC64GreyPalette[c]) << c;
    for (int c : {2, 3, 4, 5, 6, 7, 8, 9, 10, 13, 14})
        EXPECT_NE(kC64Palette[c], kC64GreyPalette[c]) << c;
    for (int c = 0; c < 16; ++c)
        EXPECT_EQ(kGodotPalette[kGodotIndexOfC64[c]], kC64Palette[c]) << c;
}

} // namespace
} // namespace quendra

namespace quendra {
namespace {

TEST(ReadFilePrefix, ReadsUpToTheLimitAndOnlyPlainFiles) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("quendra-read-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto file = dir / "pic.koa";
    {
        std::ofstream out(file, std::ios::binary);
        for (int i = 0; i < 300; ++i)
            out.put(static_cast<char>(i));
    }
    EXPECT_EQ(readFilePrefix(file, 1000).size(), 300u);
    const auto first = readFilePrefix(file, 100);
    ASSERT_EQ(first.size(), 100u);
    EXPECT_EQ(first[99], 99);
    EXPECT_TRUE(readFilePrefix(dir / "missing.koa", 100).empty());
    EXPECT_TRUE(readFilePrefix(dir, 100).empty()); // a folder
    const auto fifo = dir / "fifo.koa";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_TRUE(readFilePrefix(fifo, 100).empty()); // returns at once, reads nothing

    // The road: one read up to the row's limit, the file's real size in the options.
    static std::size_t bytesSeen = 0;
    static std::uint64_t sizeSeen = 0;
    const C64Format row{
        .name = "probe", .readLimit = 100, .decode = [](Bytes b, const DecodeOptions& o) {
            bytesSeen = b.size();
            sizeSeen = o.fileSize;
            return Decoded{};
        }};
    readPicture(file, row, {});
    EXPECT_EQ(bytesSeen, 100u);
    EXPECT_EQ(sizeSeen, 300u);
    readPicture(dir / "missing.koa", row, {.fileSize = 7});
    EXPECT_EQ(sizeSeen, 0u); // nothing to name: no stale size either
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace quendra

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "decode/formats.h"
#include "decode/godot_format.h"
#include "decode/palette.h"
#include "decode/readers.h"
#include "samples/godot_files.h"

namespace quendra {
namespace {

using samples::ByteVector;
using samples::makeGodotClip;
using samples::makeGodotPicture;

struct RecordedProgress : Progress {
    std::vector<int> starts;
    std::vector<int> positions;
    void start(int maximum) override { starts.push_back(maximum); }
    void position(int p) override { positions.push_back(p); }
};

// Where the p-th decoded pixel of a picture `columns` cells wide lands.
struct Place {
    int x, y;
};
Place placeOf(std::size_t p, int columns) {
    const std::size_t c = p / 64;
    return {static_cast<int>(8 * (c % columns) + p % 8),
            static_cast<int>(8 * (c / columns) + (p % 64) / 8)};
}

// Cell data bytes with every value but the escape byte, in a pattern that does not repeat
// along a cell.
ByteVector literalBytes(std::size_t n) {
    ByteVector v(n);
    for (std::size_t i = 0; i < n; ++i) {
        v[i] = static_cast<std::uint8_t>((i * 7 + i / 256) % 256);
        if (v[i] == kGodotEscape)
            v[i] = 0x5A;
    }
    return v;
}

// The picture that `bytes`, read as expanded cell data from pixel 0, make in a picture of
// columns x rows cells; pixels beyond it are dropped.
IndexedImage placed(const ByteVector& bytes, int columns, int rows) {
    IndexedImage picture(8 * columns, 8 * rows);
    for (std::size_t p = 0; p < 2 * bytes.size(); ++p) {
        const Place at = placeOf(p, columns);
        if (at.y >= picture.height())
            break;
        picture.setIndex(at.x, at.y, p % 2 == 0 ? bytes[p / 2] >> 4 : bytes[p / 2] & 0x0F);
    }
    return picture;
}

::testing::AssertionResult sameIndices(const IndexedImage& a, const IndexedImage& b) {
    if (a.width() != b.width() || a.height() != b.height()) {
        return ::testing::AssertionFailure() << a.width() << " x " << a.height() << " against "
                                             << b.width() << " x " << b.height();
    }
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (a.index(x, y) != b.index(x, y)) {
                return ::testing::AssertionFailure()
                       << "at (" << x << ", " << y << "): " << int(a.index(x, y)) << " against "
                       << int(b.index(x, y));
            }
        }
    }
    return ::testing::AssertionSuccess();
}

int countNonBlack(const IndexedImage& picture) {
    int n = 0;
    for (std::uint8_t i : picture.indices())
        n += i != 0;
    return n;
}

std::filesystem::path tempFile(const std::string& name, const ByteVector& bytes) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("quendra-godot-test-" + std::to_string(::getpid()) + "-" + name);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path;
}

TEST(GodotMagic, OnlyGod0AndGod1AreDecoded) {
    for (const ByteVector& f :
         {ByteVector{}, ByteVector{'G', 'O', 'D'}, ByteVector{'G', 'O', 'D', '2'},
          ByteVector{'g', 'o', 'd', '0', 0}, ByteVector{0x00, 0x60, 1, 2, 3}}) {
        const Decoded d = decodeGodot(f, {});
        EXPECT_FALSE(d.accepted);
        EXPECT_FALSE(d.reason.empty());
    }
    const Decoded bare = decodeGodot(ByteVector{'G', 'O', 'D', '0'}, {});
    ASSERT_TRUE(bare.accepted);
    EXPECT_EQ(bare.format, &formatRow(FormatId::godot));
    EXPECT_EQ(bare.picture.width(), 320);
    EXPECT_EQ(bare.picture.height(), 200);
    EXPECT_EQ(countNonBlack(bare.picture), 0);
}

TEST(GodotPicture, DrawsCellsInFileOrderWithTheGodotPalettes) {
    const IndexedImage pattern = samples::godotTestPattern();
    const ByteVector file = samples::makeGodot(pattern);
    const Decoded colour = decodeGodot(file, {});
    ASSERT_TRUE(colour.accepted);
    EXPECT_EQ(colour.picture, pattern);
    EXPECT_FALSE(colour.decodingBegan);

    const Decoded grey = decodeGodot(file, {.grey = true});
    EXPECT_EQ(grey.picture.indices().size(), pattern.indices().size());
    EXPECT_TRUE(std::equal(grey.picture.indices().begin(), grey.picture.indices().end(),
                           pattern.indices().begin()));
    ASSERT_EQ(grey.picture.palette().size(), 16u);
    EXPECT_EQ(grey.picture.palette()[9], (Rgb{153, 153, 153}));
    EXPECT_EQ(colour.picture.palette()[9], (Rgb{255, 119, 119}));
}

TEST(GodotPicture, EveryLiteralByteLandsInItsCell) {
    // 32000 literal bytes and the lone escape byte of a file's end.
    ByteVector data = literalBytes(32000);
    data.push_back(kGodotEscape);
    const Decoded d = decodeGodot(makeGodotPicture(data), {});
    ASSERT_TRUE(d.accepted);
    data.pop_back();
    EXPECT_TRUE(sameIndices(d.picture, placed(data, 40, 25)));
}

TEST(GodotPicture, RunsExpandToTheirCount) {
    // 0xAD 0x00 0x12: 256 bytes 0x12, 512 pixels alternating index 1 and 2 (cells 0 to 7).
    const Decoded d = decodeGodot(makeGodotPicture(ByteVector{0xAD, 0x00, 0x12, 0xAD}), {});
    ASSERT_TRUE(d.accepted);
    EXPECT_TRUE(sameIndices(d.picture, placed(ByteVector(256, 0x12), 40, 25)));
    EXPECT_EQ(countNonBlack(d.picture), 512);

    // 0xAD 0x01 0xAD is one byte 0xAD: index 10, then 13.
    const Decoded e = decodeGodot(makeGodotPicture(ByteVector{0xAD, 0x01, 0xAD, 0x37}), {});
    EXPECT_TRUE(sameIndices(e.picture, placed(ByteVector{0xAD, 0x37}, 40, 25)));
    EXPECT_EQ(countNonBlack(e.picture), 4);
}

TEST(GodotPicture, KeepsTheFirst64000PixelsOfLongerData) {
    // 35000 bytes: 70000 pixels.
    ByteVector data = literalBytes(31000);
    for (int i = 0; i < 15; ++i)
        data.insert(data.end(), {0xAD, 0xC8, 0x33}); // 15 x 200
    const Decoded d = decodeGodot(makeGodotPicture(data), {});
    ASSERT_TRUE(d.accepted);
    EXPECT_EQ(d.picture.width(), 320);
    EXPECT_EQ(d.picture.height(), 200);
    ByteVector expected = literalBytes(31000);
    expected.resize(32000, 0x33);
    EXPECT_TRUE(sameIndices(d.picture, placed(expected, 40, 25)));
}

TEST(GodotPicture, AnEscapeWithoutTwoMoreBytesEndsTheData) {
    for (const ByteVector& tail : {ByteVector{0xAD}, ByteVector{0xAD, 0x05}}) {
        ByteVector data{0x12, 0x34};
        data.insert(data.end(), tail.begin(), tail.end());
        const Decoded d = decodeGodot(makeGodotPicture(data), {});
        ASSERT_TRUE(d.accepted);
        EXPECT_TRUE(sameIndices(d.picture, placed(ByteVector{0x12, 0x34}, 40, 25)));
        EXPECT_EQ(countNonBlack(d.picture), 4);
    }
    // An escape in the middle with its two bytes is a run, also when its value is 0xAD.
    const auto cells = expandGodotData(ByteVector{0xAD, 0x03, 0xAD, 0x01, 0xAD}, 100);
    EXPECT_EQ(cells, (ByteVector{0xAD, 0xAD, 0xAD, 0x01}));
}

TEST(GodotClip, IsWholeCellsOfTheHeadersSize) {
    // 3 x 2 cells: 24 x 16 pixels; pixel 96 (byte 48, its high nibble) lies at (8, 4).
    ByteVector cells(6 * 32, 0x00);
    cells[48] = 0x70;
    const Decoded d = decodeGodot(makeGodotClip(3, 2, cells), {});
    ASSERT_TRUE(d.accepted);
    EXPECT_EQ(d.format, &formatRow(FormatId::godotClip));
    EXPECT_EQ(d.picture.width(), 24);
    EXPECT_EQ(d.picture.height(), 16);
    EXPECT_EQ(d.picture.index(8, 4), 7);
    EXPECT_EQ(countNonBlack(d.picture), 1);

    const IndexedImage pattern = samples::godotTestPattern(24, 16, 3);
    EXPECT_EQ(decodeGodot(samples::makeGodot(pattern), {}).picture, pattern);
}

TEST(GodotClip, IgnoresHeaderBytes4And5) {
    ByteVector file = samples::makeGodot(samples::godotTestPattern(40, 8));
    const Decoded plain = decodeGodot(file, {});
    file[4] = 0xFF;
    file[5] = 0x12;
    EXPECT_EQ(decodeGodot(file, {}).picture, plain.picture);
}

TEST(GodotClip, ShortDataLeavesBlackAndSurplusIsDropped) {
    const ByteVector some = literalBytes(40);
    const Decoded shortClip = decodeGodot(makeGodotClip(2, 2, some), {});
    ASSERT_TRUE(shortClip.accepted);
    EXPECT_TRUE(sameIndices(shortClip.picture, placed(some, 2, 2)));

    const ByteVector many = literalBytes(3 * 32 * 4);
    const Decoded longClip = decodeGodot(makeGodotClip(2, 1, many), {});
    ByteVector kept(many.begin(), many.begin() + 64);
    EXPECT_TRUE(sameIndices(longClip.picture, placed(kept, 2, 1)));
}

TEST(GodotClip, ZeroCellsGiveAnEmptyPicture) {
    const Decoded noWidth = decodeGodot(makeGodotClip(0, 5, literalBytes(100)), {});
    ASSERT_TRUE(noWidth.accepted);
    EXPECT_EQ(noWidth.picture.width(), 0);
    EXPECT_EQ(noWidth.picture.height(), 40);
    EXPECT_TRUE(noWidth.picture.indices().empty());
    const Decoded none = decodeGodot(makeGodotClip(0, 0, {}), {});
    ASSERT_TRUE(none.accepted);
    EXPECT_TRUE(none.picture.toRgb().empty());
    const Decoded noHeight = decodeGodot(makeGodotClip(7, 0, literalBytes(100)), {});
    EXPECT_EQ(noHeight.picture.width(), 56);
    EXPECT_EQ(noHeight.picture.height(), 0);
}

TEST(GodotClip, AnIncompleteHeaderIsRejected) {
    for (std::size_t n = 4; n < 8; ++n) {
        ByteVector f = makeGodotClip(1, 1, {});
        f.resize(n);
        const Decoded d = decodeGodot(f, {});
        EXPECT_FALSE(d.accepted) << n;
        EXPECT_EQ(d.format, &formatRow(FormatId::godotClip));
        EXPECT_FALSE(d.reason.empty());
    }
}

TEST(GodotClip, ReportsCellRowsOnlyWhenTheFileIsLarge) {
    RecordedProgress small;
    const ByteVector tiny = samples::makeGodot(samples::godotTestPattern(8, 8));
    const Decoded a = decodeGodot(tiny, {.progress = &small});
    EXPECT_FALSE(a.decodingBegan);
    EXPECT_TRUE(small.starts.empty());
    EXPECT_TRUE(small.positions.empty());
    EXPECT_FALSE(decodeGodot(tiny, {}).decodingBegan);

    // 40 x 30 cells of literal data: 38400 bytes.
    const ByteVector cells = literalBytes(40 * 30 * 32);
    ByteVector file = makeGodotClip(40, 30, cells);
    RecordedProgress large;
    const Decoded b = decodeGodot(file, {.progress = &large});
    ASSERT_TRUE(b.accepted);
    EXPECT_TRUE(b.decodingBegan);
    EXPECT_EQ(large.starts, std::vector<int>{30});
    std::vector<int> expected;
    for (int r = 0; r < 30; ++r)
        expected.push_back(std::min(r + 2, 30));
    EXPECT_EQ(large.positions, expected);
    EXPECT_TRUE(sameIndices(b.picture, placed(cells, 40, 30)));
    EXPECT_TRUE(decodeGodot(file, {}).decodingBegan); // no callback needed

    // Rows the data does not complete are not reported.
    file.resize(8 + 32001);
    RecordedProgress cut;
    decodeGodot(file, {.progress = &cut});
    EXPECT_EQ(cut.positions.size(), 32001u / (40 * 32));
}

TEST(GodotFile, TheMagicDecidesAndLargestFilesReadWhole) {
    // A 255 x 255-cell clip whose every byte is 0xAD, written as 0xAD 0x01 0xAD: the
    // longest clip file there is. Its last pixel must show.
    const std::size_t cellBytes = 255 * 255 * 32;
    ByteVector clipCells(cellBytes, 0xAD);
    clipCells.back() = 0x0F;
    const ByteVector clip = makeGodotClip(255, 255, samples::godotLiterals(clipCells));
    ASSERT_EQ(clip.size(), kGodotClipReadLimit - 2);
    const auto clipPath = tempFile("largest.4bt", clip);
    const Decoded c = decodeFile(clipPath, {});
    std::filesystem::remove(clipPath);
    ASSERT_TRUE(c.accepted);
    EXPECT_EQ(c.format, &formatRow(FormatId::godotClip));
    EXPECT_EQ(c.picture.width(), 2040);
    EXPECT_EQ(c.picture.height(), 2040);
    EXPECT_EQ(c.picture.index(2039, 2039), 0x0F);
    EXPECT_EQ(c.picture.index(2038, 2039), 0x00);
    EXPECT_EQ(c.picture.index(2037, 2039), 0x0D);

    ByteVector fullCells(32000, 0xAD);
    fullCells.back() = 0xA1;
    const ByteVector full = makeGodotPicture(samples::godotLiterals(fullCells));
    ASSERT_EQ(full.size(), kGodotReadLimit - 2);
    const auto fullPath = tempFile("largest.clp", full);
    const Decoded f = decodeFile(fullPath, {});
    std::filesystem::remove(fullPath);
    ASSERT_TRUE(f.accepted);
    EXPECT_EQ(f.format, &formatRow(FormatId::godot));
    EXPECT_EQ(f.picture.index(319, 199), 0x01);
    EXPECT_EQ(f.picture.index(318, 199), 0x0A);
}

} // namespace
} // namespace quendra

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <numeric>
#include <random>
#include <unistd.h>

#include "decode/godot_format.h"
#include "decode/palette.h"
#include "decode/readers.h"
#include "export/godot_writer.h"
#include "samples/c64_files.h"
#include "samples/godot_files.h"
#include "samples/printfox_files.h"

namespace quendra {
namespace {

namespace fs = std::filesystem;
using Bytes8 = std::vector<std::uint8_t>;

struct RecordedProgress : Progress {
    std::vector<int> starts;
    std::vector<int> positions;
    void start(int maximum) override { starts.push_back(maximum); }
    void position(int p) override { positions.push_back(p); }
};

Image filled(int width, int height, Rgb colour) {
    Image picture(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, colour);
    }
    return picture;
}

Bytes8 header(const Bytes8& file, std::size_t n) {
    return Bytes8(file.begin(),
                  file.begin() + static_cast<std::ptrdiff_t>(std::min(n, file.size())));
}

// ---- Matching pixels to indices

TEST(GodotMatch, TablesAreThePalettesRoundedToMultiplesOf8) {
    const Rgb colour[16] = {{0, 0, 0},       {0, 0, 168},     {104, 72, 0},    {48, 48, 48},
                            {136, 0, 0},     {208, 72, 208},  {224, 136, 88},  {120, 120, 120},
                            {0, 136, 255},   {255, 120, 120}, {0, 208, 88},    {184, 184, 184},
                            {168, 255, 240}, {240, 240, 120}, {168, 255, 104}, {255, 255, 255}};
    const int grey[16] = {0, 16, 32, 48, 72, 88, 104, 120, 136, 152, 168, 184, 208, 224, 240, 255};
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(godotMatchTable(false)[i], colour[i]) << i;
        const auto g = static_cast<std::uint8_t>(grey[i]);
        EXPECT_EQ(godotMatchTable(true)[i], (Rgb{g, g, g})) << i;
    }
}

TEST(GodotMatch, EveryColourTheReadersDrawFindsItsOwnIndex) {
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(matchGodotIndex(kGodotPalette[i], false), i);
        EXPECT_EQ(matchGodotIndex(kGodotGreyPalette[i], true), i);
    }
    for (int c = 0; c < 16; ++c) {
        EXPECT_EQ(matchGodotIndex(kC64Palette[c], false), kGodotIndexOfC64[c]) << c;
        EXPECT_EQ(matchGodotIndex(kC64GreyPalette[c], true), kGodotIndexOfC64[c]) << c;
    }
}

TEST(GodotMatch, RoundsEachChannelThenTakesAnExactMatchOrBlack) {
    EXPECT_EQ(matchGodotIndex({136, 136, 136}, true), 8);
    EXPECT_EQ(matchGodotIndex({120, 120, 120}, true), 7);
    EXPECT_EQ(matchGodotIndex({120, 120, 120}, false), 7);
    EXPECT_EQ(matchGodotIndex({255, 255, 255}, false), 15);
    EXPECT_EQ(matchGodotIndex({255, 255, 255}, true), 15);
    // Halves go up, 252 and above become 255.
    EXPECT_EQ(matchGodotIndex({12, 12, 12}, true), 1);
    EXPECT_EQ(matchGodotIndex({12, 19, 15}, true), 1);
    EXPECT_EQ(matchGodotIndex({12, 20, 15}, true), 0); // 20 is halfway: 24
    EXPECT_EQ(matchGodotIndex({252, 253, 254}, true), 15);
    EXPECT_EQ(matchGodotIndex({3, 3, 3}, true), 0);
    EXPECT_EQ(matchGodotIndex({4, 4, 4}, true), 0);       // rounds to 8: no entry
    EXPECT_EQ(matchGodotIndex({251, 251, 251}, true), 0); // 248: no entry
    // Colours of the other table, and colours of none, are black.
    EXPECT_EQ(matchGodotIndex({0, 0, 170}, true), 0);
    EXPECT_EQ(matchGodotIndex({17, 17, 17}, false), 0);
    EXPECT_EQ(matchGodotIndex({1, 2, 200}, false), 0);
}

// The rule spelled out: round every channel, then scan the table in order.
std::uint8_t firstExactMatch(Rgb c, bool grey) {
    auto round = [](int v) { return static_cast<std::uint8_t>(std::min(255, (v + 4) / 8 * 8)); };
    const Rgb rounded{round(c.r), round(c.g), round(c.b)};
    for (int i = 0; i < 16; ++i) {
        if (godotMatchTable(grey)[i] == rounded)
            return static_cast<std::uint8_t>(i);
    }
    return 0;
}

TEST(GodotMatch, AgreesWithAScanOfTheTableAroundEveryEntry) {
    for (bool grey : {false, true}) {
        for (const Rgb& entry : godotMatchTable(grey)) {
            for (int dr = -6; dr <= 6; ++dr) {
                for (int dg = -6; dg <= 6; ++dg) {
                    for (int db = -6; db <= 6; ++db) {
                        auto at = [](int v, int d) {
                            return static_cast<std::uint8_t>(std::clamp(v + d, 0, 255));
                        };
                        const Rgb c{at(entry.r, dr), at(entry.g, dg), at(entry.b, db)};
                        ASSERT_EQ(matchGodotIndex(c, grey), firstExactMatch(c, grey))
                            << int(c.r) << ", " << int(c.g) << ", " << int(c.b);
                    }
                }
            }
        }
        for (int v = 0; v < 256; ++v) {
            const auto u = static_cast<std::uint8_t>(v);
            ASSERT_EQ(matchGodotIndex({u, u, u}, grey), firstExactMatch({u, u, u}, grey)) << v;
        }
    }
}

// ---- Compression

TEST(GodotCompress, RunsOf4To256AreCompressedShorterOnesStayLiteral) {
    EXPECT_EQ(compressGodotCells(Bytes8(3, 0x11)), Bytes8(3, 0x11));
    EXPECT_EQ(compressGodotCells(Bytes8(4, 0x11)), (Bytes8{0xAD, 0x04, 0x11}));
    EXPECT_EQ(compressGodotCells(Bytes8(5, 0x11)), (Bytes8{0xAD, 0x05, 0x11}));
    EXPECT_EQ(compressGodotCells(Bytes8(256, 0x00)), (Bytes8{0xAD, 0x00, 0x00}));
    EXPECT_EQ(compressGodotCells(Bytes8(257, 0x22)), (Bytes8{0xAD, 0x00, 0x22, 0x22}));
    EXPECT_EQ(compressGodotCells(Bytes8(300, 0x22)), (Bytes8{0xAD, 0x00, 0x22, 0xAD, 0x2C, 0x22}));
    EXPECT_EQ(compressGodotCells(Bytes8(259, 0x22)), (Bytes8{0xAD, 0x00, 0x22, 0x22, 0x22, 0x22}));
    EXPECT_EQ(compressGodotCells(Bytes8{0x01, 0x02, 0x02, 0x03, 0x03, 0x03, 0x03, 0x04}),
              (Bytes8{0x01, 0x02, 0x02, 0xAD, 0x04, 0x03, 0x04}));
    EXPECT_TRUE(compressGodotCells({}).empty());
}

TEST(GodotCompress, TheEscapeByteIsNeverPartOfARun) {
    EXPECT_EQ(compressGodotCells(Bytes8{0xAD}), (Bytes8{0xAD, 0x01, 0xAD}));
    EXPECT_EQ(compressGodotCells(Bytes8{0xAD, 0xAD}), (Bytes8{0xAD, 0x01, 0xAD, 0xAD, 0x01, 0xAD}));
    Bytes8 six;
    for (int i = 0; i < 6; ++i)
        six.insert(six.end(), {0xAD, 0x01, 0xAD});
    EXPECT_EQ(compressGodotCells(Bytes8(6, 0xAD)), six);
    EXPECT_EQ(compressGodotCells(Bytes8{0x11, 0x11, 0xAD, 0x11, 0x11}),
              (Bytes8{0x11, 0x11, 0xAD, 0x01, 0xAD, 0x11, 0x11}));
}

TEST(GodotCompress, ExpandsBackToTheSameBytes) {
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        Bytes8 cells;
        const int pieces = static_cast<int>(random() % 40);
        for (int p = 0; p < pieces; ++p) {
            // Runs of any length of a few values, the escape byte among them.
            const std::uint8_t values[] = {0x00, 0xAD, 0x11, 0xFF, 0x01};
            const std::uint8_t v = values[random() % 5];
            cells.insert(cells.end(), random() % 600, v);
        }
        Bytes8 data = compressGodotCells(cells);
        EXPECT_LE(data.size(), 3 * cells.size());
        data.push_back(kGodotEscape);
        ASSERT_EQ(expandGodotData(data, cells.size() + 1000), cells) << "round " << round;
    }
}

// ---- Whole files

TEST(GodotEncode, APicture320x200IsAFullPictureAnyOtherSizeAClip) {
    const GodotEncoded full = encodeGodot(filled(320, 200, kWhite), false);
    ASSERT_TRUE(full.ok);
    EXPECT_EQ(header(full.bytes, 7), (Bytes8{'G', 'O', 'D', '0', 0xAD, 0x00, 0xFF}));

    const GodotEncoded tall = encodeGodot(filled(320, 208, kWhite), false);
    ASSERT_TRUE(tall.ok);
    EXPECT_EQ(header(tall.bytes, 11), (Bytes8{'G', 'O', 'D', '1', 0, 0, 40, 26, 0xAD, 0x00, 0xFF}));

    const GodotEncoded small = encodeGodot(filled(8, 8, kWhite), false);
    EXPECT_EQ(small.bytes, (Bytes8{'G', 'O', 'D', '1', 0, 0, 1, 1, 0xAD, 32, 0xFF, 0xAD}));
}

TEST(GodotEncode, AnAllBlackPictureIs380Bytes) {
    const GodotEncoded e = encodeGodot(Image(), false);
    ASSERT_TRUE(e.ok);
    Bytes8 expected{'G', 'O', 'D', '0'};
    for (int i = 0; i < 125; ++i)
        expected.insert(expected.end(), {0xAD, 0x00, 0x00});
    expected.push_back(0xAD);
    EXPECT_EQ(e.bytes.size(), 380u);
    EXPECT_EQ(e.bytes, expected);
}

TEST(GodotEncode, CellsAreLaidOutAsTheReaderPlacesThem) {
    const IndexedImage pattern = samples::godotTestPattern(72, 40, 5);
    const GodotEncoded e = encodeGodot(pattern.toRgb(), false);
    ASSERT_TRUE(e.ok);
    Bytes8 data(e.bytes.begin() + 8, e.bytes.end());
    EXPECT_EQ(data.back(), kGodotEscape);
    EXPECT_EQ(expandGodotData(data, 1 << 20), samples::godotCells(pattern));
}

TEST(GodotEncode, SidesThatAreNotWholeCellsArePaddedWithBlack) {
    // 100 x 50: 13 x 7 cells, the header saying so.
    const GodotEncoded e = encodeGodot(filled(100, 50, kWhite), false);
    ASSERT_TRUE(e.ok);
    EXPECT_EQ(header(e.bytes, 8), (Bytes8{'G', 'O', 'D', '1', 0, 0, 13, 7}));
    const Decoded back = decodeGodot(e.bytes, {});
    ASSERT_TRUE(back.accepted);
    ASSERT_EQ(back.picture.width(), 104);
    ASSERT_EQ(back.picture.height(), 56);
    for (int y = 0; y < 56; ++y) {
        for (int x = 0; x < 104; ++x) {
            ASSERT_EQ(back.picture.index(x, y), x < 100 && y < 50 ? 15 : 0) << x << ", " << y;
        }
    }
    // 316 x 200 pads to 320 x 200 but stays a clip, as only that exact size is a picture.
    EXPECT_EQ(header(encodeGodot(filled(316, 200, kWhite), false).bytes, 8),
              (Bytes8{'G', 'O', 'D', '1', 0, 0, 40, 25}));
}

TEST(GodotEncode, RefusesMoreThan255CellsEitherWay) {
    for (const auto& [w, h] : {std::pair{2041, 8}, std::pair{8, 2041}, std::pair{4000, 4000}}) {
        RecordedProgress progress;
        const GodotEncoded e = encodeGodot(Image(w, h), false, &progress);
        EXPECT_FALSE(e.ok) << w << " x " << h;
        EXPECT_TRUE(e.bytes.empty());
        EXPECT_NE(e.error.find("255"), std::string::npos) << e.error;
        EXPECT_TRUE(progress.starts.empty());
    }
    // 255 x 255 cells is the largest clip and saves whole.
    const IndexedImage largest = samples::godotTestPattern(2040, 2033, 2);
    const GodotEncoded e = encodeGodot(largest.toRgb(), false);
    ASSERT_TRUE(e.ok);
    EXPECT_EQ(header(e.bytes, 8), (Bytes8{'G', 'O', 'D', '1', 0, 0, 255, 255}));
    EXPECT_LE(e.bytes.size(), kGodotClipReadLimit);
    const Decoded back = decodeGodot(e.bytes, {});
    ASSERT_EQ(back.picture.height(), 2040);
    for (int y = 0; y < 2033; y += 7) {
        for (int x = 0; x < 2040; x += 3)
            ASSERT_EQ(back.picture.index(x, y), largest.index(x, y));
    }
    EXPECT_EQ(back.picture.index(2039, 2039), 0);
}

TEST(GodotEncode, EmptyPicturesGiveEmptyClips) {
    const GodotEncoded e = encodeGodot(Image(0, 16), false);
    ASSERT_TRUE(e.ok);
    EXPECT_EQ(e.bytes, (Bytes8{'G', 'O', 'D', '1', 0, 0, 0, 2, 0xAD}));
    const Decoded back = decodeGodot(e.bytes, {});
    EXPECT_EQ(back.picture.width(), 0);
    EXPECT_EQ(back.picture.height(), 16);
}

TEST(GodotEncode, ReportsEachCellRow) {
    RecordedProgress full;
    encodeGodot(Image(), false, &full);
    EXPECT_EQ(full.starts, std::vector<int>{24});
    std::vector<int> rows(25);
    std::iota(rows.begin(), rows.end(), 0);
    EXPECT_EQ(full.positions, rows);

    RecordedProgress clip;
    encodeGodot(Image(100, 50), true, &clip);
    EXPECT_EQ(clip.starts, std::vector<int>{6});
    EXPECT_EQ(clip.positions, (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
}

// ---- Writing the file

class GodotFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("quendra-godot-writer-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    static Bytes8 read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes8((std::istreambuf_iterator<char>(in)), {});
    }
    static void write(const fs::path& path, const Bytes8& bytes) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    std::size_t entries() const {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
    }

    fs::path folder_;
};

TEST_F(GodotFileTest, WritesTheEncodedBytesAndReplacesAFile) {
    const Image picture = samples::godotTestPattern().toRgb();
    const fs::path target = folder_ / "pic.4bt";
    write(target, Bytes8(50000, 0x55));
    RecordedProgress progress;
    const WriteResult r = writeGodotFile(target, picture, false, &progress);
    ASSERT_TRUE(r.written) << r.error;
    EXPECT_EQ(read(target), encodeGodot(picture, false).bytes);
    EXPECT_EQ(progress.positions.size(), 25u);
    EXPECT_EQ(entries(), 1u); // no temporary file left behind
}

TEST_F(GodotFileTest, AFailedWriteLeavesTheFolderAsItWas) {
    const Image picture = samples::godotTestPattern().toRgb();
    const Bytes8 old(1234, 0x42);

    // A folder that does not exist, and a "folder" that is a file.
    const WriteResult missing = writeGodotFile(folder_ / "missing" / "pic.4bt", picture, false);
    EXPECT_FALSE(missing.written);
    EXPECT_FALSE(missing.error.empty());
    write(folder_ / "plain", old);
    const WriteResult notFolder = writeGodotFile(folder_ / "plain" / "pic.4bt", picture, false);
    EXPECT_FALSE(notFolder.written);
    EXPECT_EQ(read(folder_ / "plain"), old);

    // An existing file whose name leaves no room for the temporary one beside it.
    const fs::path longName = folder_ / std::string(250, 'p');
    write(longName, old);
    const WriteResult tooLong = writeGodotFile(longName, picture, false);
    EXPECT_FALSE(tooLong.written);
    EXPECT_EQ(read(longName), old);

    // A picture that cannot be saved writes nothing.
    const fs::path target = folder_ / "pic.clp";
    write(target, old);
    const WriteResult refused = writeGodotFile(target, Image(2048, 8), false);
    EXPECT_FALSE(refused.written);
    EXPECT_NE(refused.error.find("255"), std::string::npos);
    EXPECT_EQ(read(target), old);

    EXPECT_EQ(entries(), 3u);
}

// ---- Round trips: what a reader draws, saved and read back, gives the same pixels.

struct RoundTripCase {
    std::string name;
    std::function<Decoded(bool grey)> draw;
    int colours = 16;  // how many palette entries the fixture must draw
};
void PrintTo(const RoundTripCase& c, std::ostream* os) {
    *os << c.name;
}

RoundTripCase c64Case(std::string name, Decoded (*reader)(Bytes, const DecodeOptions&),
                      samples::ByteVector (*make)(const samples::CellPicture&)) {
    return {std::move(name), [reader, make](bool grey) {
                return reader(make(samples::testPattern()), {.grey = grey});
            }};
}

samples::ByteVector makePlainKoala(const samples::CellPicture& p) { return samples::makeKoala(p); }
samples::ByteVector makePlainDoodle(const samples::CellPicture& p) { return samples::makeDoodle(p); }

std::vector<RoundTripCase> roundTripCases() {
    return {
        c64Case("Koala", decodeKoala, makePlainKoala),
        c64Case("KoalaCompressed", decodeKoalaCompressed, samples::makeKoalaCompressed),
        c64Case("AdvancedArtStudio", decodeArtStudio, samples::makeArtStudio),
        c64Case("ArtStudioHires", decodeArtStudio, samples::makeArtStudioHires),
        c64Case("Amica", decodeAmica, samples::makeAmica),
        c64Case("Doodle", decodeDoodle, makePlainDoodle),
        c64Case("DoodleCompressed", decodeDoodleCompressed, samples::makeDoodleCompressed),
        {"PrintfoxLarge",
         [](bool grey) {
             return decodePrintfox(samples::makePrintfoxLarge(samples::printfoxPage(80, 50)),
                                   {.grey = grey});
         },
         2},
        {"GodotPicture",
         [](bool grey) {
             return decodeGodot(samples::makeGodot(samples::godotTestPattern()), {.grey = grey});
         }},
        {"GodotClip",
         [](bool grey) {
             return decodeGodot(samples::makeGodot(samples::godotTestPattern(72, 40, 1)),
                                {.grey = grey});
         }},
    };
}

class GodotRoundTrip : public ::testing::TestWithParam<std::tuple<RoundTripCase, bool>> {};

TEST_P(GodotRoundTrip, GivesTheSamePixels) {
    const auto& [which, grey] = GetParam();
    const Decoded drawn = which.draw(grey);
    ASSERT_TRUE(drawn.accepted) << drawn.reason;
    const Image pixels = drawn.picture.toRgb();
    std::vector<bool> seen(256);
    for (std::uint8_t i : drawn.picture.indices())
        seen[i] = true;
    ASSERT_EQ(std::count(seen.begin(), seen.end(), true), which.colours) << "every colour drawn";

    const GodotEncoded saved = encodeGodot(pixels, grey);
    ASSERT_TRUE(saved.ok) << saved.error;
    const Decoded back = decodeGodot(saved.bytes, {.grey = grey});
    ASSERT_TRUE(back.accepted) << back.reason;
    EXPECT_TRUE(back.picture.toRgb() == pixels);
}

INSTANTIATE_TEST_SUITE_P(Readers, GodotRoundTrip,
                         ::testing::Combine(::testing::ValuesIn(roundTripCases()),
                                            ::testing::Bool()),
                         [](const auto& info) {
                             return std::get<0>(info.param).name +
                                    (std::get<1>(info.param) ? "Grey" : "Colour");
                         });

} // namespace
} // namespace quendra

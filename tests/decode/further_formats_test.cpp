// The further formats: their pictures are checked against an independent decoder's
// (reference_pictures_test.cpp); here the packed forms against the plain ones, the packers'
// edges, and the files the readers refuse, each with its reason.
#include <gtest/gtest.h>

#include <array>
#include <set>

#include "decode/escape_runs.h"
#include "decode/formats.h"
#include "decode/further_readers.h"
#include "decode/readers.h"
#include "samples/bitmap_files.h"
#include "samples/further_files.h"

namespace quendra {
namespace {

using samples::ByteVector;

Decoded decodeAs(const std::string& name, Bytes bytes) {
    return decodeAs(formatForFile(name), bytes, {});
}

TEST(FurtherSamples, PackedFormsShowWhatTheirPlainFormsShow) {
    const samples::CellPicture p = samples::testPattern(3);
    EXPECT_EQ(decodeMicroIllustrator(samples::makeMicroIllustrator(p, true), {}).picture,
              decodeMicroIllustrator(samples::makeMicroIllustrator(p, false), {}).picture);
    ByteVector vhi;
    for (samples::FurtherSample& s : samples::furtherSamples())
        if (s.name == "hires-interlace-vhi.vhi")
            vhi = s.bytes;
    ByteVector packed{0x00, 0x20};
    const ByteVector runs = samples::vhiRuns(ByteVector(vhi.begin() + 2, vhi.end() - 3));
    packed.insert(packed.end(), runs.begin(), runs.end());
    EXPECT_EQ(decodeVhi(packed, {}).picture, decodeVhi(vhi, {}).picture);
}

TEST(CharPad, WithoutTilesEachMapWordIsTheCharacterOfItsCell) {
    // As two real projects: 4 hires characters, colour per character, a 40 x 25 map of
    // character numbers up to 3; the tile count and size bytes hold what they may.
    ByteVector ctm{'C', 'T', 'M', 5, 6, 0, 0, 0, 2, 0, 3, 0, 0, 0, 9, 7, 40, 0, 25, 0};
    for (int c = 0; c < 4; ++c)
        ctm.insert(ctm.end(), 8, static_cast<std::uint8_t>(0xF0 >> c)); // column c set
    ctm.insert(ctm.end(), {1, 2, 5, 7});
    for (int m = 0; m < 1000; ++m)
        ctm.insert(ctm.end(), {static_cast<std::uint8_t>(m % 4), 0});
    ASSERT_EQ(ctm.size(), 2056u);
    const Decoded d = decodeAs("x.ctm", ctm);
    ASSERT_TRUE(d.accepted) << d.reason;
    ASSERT_EQ(d.picture.width(), 320);
    ASSERT_EQ(d.picture.height(), 200);
    for (int cell : {0, 1, 2, 3, 41, 999}) {
        const int c = cell % 4, x = 8 * (cell % 40), y = 8 * (cell / 40);
        const std::uint8_t colour = std::array<std::uint8_t, 4>{1, 2, 5, 7}[c];
        EXPECT_EQ(d.picture.index(x + c, y + 3), colour) << cell;
        EXPECT_EQ(d.picture.index(x + (c + 4) % 8, y + 3), 6) << cell;
    }
    ctm[ctm.size() - 2] = 4; // a character the project does not hold
    EXPECT_NE(decodeAs("x.ctm", ctm).reason.find("character it does not hold"), std::string::npos);
}

TEST(EscapeRuns, EdgesOfTheStreams) {
    const ByteVector data{0x10, 0xAA, 0x00, 0x42, 0xAA, 0x02, 0x07};
    std::uint8_t out[260] = {};
    // A run that ends the data exactly fills the output; count 0 means 256.
    EscapeStream exact(data, 1, false);
    EXPECT_TRUE(exact.fill(std::span(out, 257), 0xAA, RunCount::zeroIs256));
    EXPECT_EQ(out[255], 0x42);
    EXPECT_EQ(out[256], 0x07);
    EXPECT_TRUE(exact.atEnd());
    // Count 0 is nothing in the other kind; then the input is cut before the output is full.
    EscapeStream none(data, 1, false);
    EXPECT_FALSE(none.fill(std::span(out, 3), 0xAA, RunCount::zeroIsNothing));
    // A run longer than one part goes on into the next.
    EscapeStream carried(data, 4, false);
    EXPECT_TRUE(carried.fill(std::span(out, 1), 0xAA, RunCount::zeroIs256));
    EXPECT_TRUE(carried.runLeft());
    EXPECT_TRUE(carried.fill(std::span(out, 1), 0xAA, RunCount::zeroIs256));
    EXPECT_EQ(out[0], 0x07);
    // Backward: `value count escape` in file order fills from the end, never below offset 2.
    const ByteVector backward{0xAA, 0xAA, 0x33, 0x03, 0xAA, 0x44};
    EscapeStream back(backward, backward.size() - 1, true);
    EXPECT_TRUE(back.fill(std::span(out, 4), 0xAA, RunCount::zeroIs256));
    EXPECT_EQ((ByteVector(out, out + 4)), (ByteVector{0x33, 0x33, 0x33, 0x44}));
    EXPECT_FALSE(back.fill(std::span(out, 1), 0xAA, RunCount::zeroIs256));
}

TEST(FurtherFormats, RefusalsSayWhy) {
    std::map<std::string, ByteVector> files;
    for (samples::FurtherSample& s : samples::furtherSamples())
        files[s.name] = std::move(s.bytes);
    ByteVector ppLeftover = files["pixel-perfect-pp.pp"];
    ppLeftover.push_back(0);
    ByteVector cut = files["zoomatic-zom.zom"];
    cut.erase(cut.begin() + 2, cut.begin() + 2000);
    ByteVector milType = files["micro-illustrator-mil.mil"];
    milType[7] = 3;
    ByteVector bdp4{0x00, 0x60, 0xFF, 0x10, 0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08};
    ByteVector cgx = files["cgfx-cgx.cgx"];
    cgx[12] = 'X';
    const std::tuple<const char*, ByteVector, const char*> refusals[] = {
        {"x.cdu", ByteVector(10278, 0), "10277 bytes long"},
        {"x.vic", ByteVector(10000, 0), "one of the lengths"},
        {"x.pp", ppLeftover, "go on past"},
        {"x.zom", cut, "end before"},
        {"x.mil", milType, "unknown type 3"},
        {"x.bdp", bdp4, "spoilt"},
        {"x.cgx", cgx, "unknown kind"},
        {"x.shp", ByteVector{0, 0x60, 7, 0, 0, 0}, "unknown kind 7"},
        {"x.xfl", ByteVector{0, 0x20, 0xA7, 0, 1, 2, 3}, "end before"},
    };
    for (const auto& [name, bytes, why] : refusals) {
        SCOPED_TRACE(name);
        const Decoded d = decodeAs(name, bytes);
        EXPECT_FALSE(d.accepted);
        EXPECT_NE(d.reason.find(why), std::string::npos) << d.reason;
    }
}

} // namespace
} // namespace quendra

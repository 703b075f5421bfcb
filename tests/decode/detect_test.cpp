#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

#include "decode/detect.h"
#include "decode/readers.h"
#include "samples/bitmap_files.h"
#include "samples/c64_files.h"

namespace quendra {
namespace {

using samples::ByteVector;

const C64Format* detect(const ByteVector& file, std::string_view name = "picture.bin",
                        const C64Format* refused = nullptr) {
    return detectFormat(file, file.size(), name, refused);
}

TEST(C64NamePrefix, IsTheTextBeforeTheFirstDotOfTheName) {
    EXPECT_EQ(c64NamePrefix("pi.worldmap"), "pi");
    EXPECT_EQ(c64NamePrefix("disk/DD.PICTURE.2"), "DD");
    EXPECT_EQ(c64NamePrefix("a.b/noprefix"), "");
    EXPECT_EQ(c64NamePrefix(".hidden"), "");
}

TEST(Detection, TheSurestProbeWinsAndTheEarlierRowOnATie) {
    const samples::CellPicture p = samples::testPattern();
    // 10242 bytes: three formats of that length, told apart by the load address.
    const ByteVector paddles = samples::makeMulticolourFile(p, samples::kBlazingPaddlesLayout);
    const ByteVector artist = samples::makeMulticolourFile(p, samples::kArtist64Layout);
    const ByteVector rainbow = samples::makeMulticolourFile(p, samples::kRainbowPainterLayout);
    EXPECT_EQ(detect(paddles), &formatRow(FormatId::blazingPaddles));
    EXPECT_EQ(detect(artist), &formatRow(FormatId::artist64));
    EXPECT_EQ(detect(rainbow), &formatRow(FormatId::rainbowPainter));
    // At an address none of them uses, the length alone speaks: the first of them.
    ByteVector nowhere = rainbow;
    nowhere[1] = 0x12;
    const C64Format* first = detect(nowhere);
    ASSERT_NE(first, nullptr);
    for (const C64Format& row : c64Formats()) {
        if (&row == first)
            break;
        EXPECT_EQ(probeAs(row, nowhere, nowhere.size()), 0) << row.name;
    }
    // A Koala file at $4000 is Interpaint's; at $2000 a PC editor's .kla.
    ByteVector koala = samples::makeKoala(p);
    EXPECT_EQ(detect(koala)->decode, decodeKoala);
    koala[1] = 0x40;
    EXPECT_EQ(detect(koala), &formatRow(FormatId::interpaint));
    koala[1] = 0x20;
    EXPECT_EQ(detect(koala)->decode, decodeKla);
}

TEST(Detection, AC64PrefixNamesTheFormatWhenItsProbeAcceptsTheFile) {
    const samples::CellPicture p = samples::testPattern();
    ByteVector nowhere = samples::makeMulticolourFile(p, samples::kArtist64Layout);
    nowhere[1] = 0x12;
    EXPECT_EQ(detect(nowhere, "folder/a64.sunset"), &formatRow(FormatId::artist64));
    EXPECT_EQ(detect(nowhere, "RP.SUNSET"), &formatRow(FormatId::rainbowPainter));
    // A prefix whose format does not take the file does not matter.
    EXPECT_EQ(detect(samples::makeDoodle(p), "pi.doodle")->decode, decodeDoodle);
    EXPECT_EQ(detect(samples::makeDoodle(p), "dd.picture")->decode, decodeDoodle);
}

TEST(Detection, TheRefusingFormatIsNotTriedAgainAndNothingFitsNothing) {
    const ByteVector hed = samples::makeHiEddi(samples::testPattern());
    const C64Format* found = detect(hed);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found, &formatRow(FormatId::hiEddi));
    EXPECT_NE(detect(hed, "x.bin", found), found);
    EXPECT_EQ(detect(ByteVector(5000, 0x11)), nullptr);
    EXPECT_EQ(detect(ByteVector{}), nullptr);
}

TEST(Detection, RandomBytesOfEveryAcceptedLengthAreShownOrRefusedByTheFormatFound) {
    std::mt19937 random(15);
    std::set<std::size_t> lengths;
    for (const C64Format& format : c64Formats()) {
        for (const LayoutLengths* some :
             {&format.lengths, &format.cells.lengths, &format.fli.lengths}) {
            for (std::uint32_t length : *some) {
                if (length != 0)
                    lengths.insert(length);
            }
        }
    }
    for (std::size_t length : lengths) {
        for (int round = 0; round < 4; ++round) {
            ByteVector file(length);
            for (auto& b : file)
                b = static_cast<std::uint8_t>(random());
            if (round == 1) { // a load address some format knows
                file[0] = 0x00;
                file[1] = 0x40;
            }
            const C64Format* row = detect(file);
            if (!row)
                continue;
            const Decoded d = decodeAs(*row, file, {});
            EXPECT_TRUE(d.accepted || !d.reason.empty()) << length << " " << row->name;
        }
    }
}

} // namespace
} // namespace quendra

namespace quendra {
namespace {

TEST(Detection, PlainMemoriesAtAPackedFormatsAddressAreTheirOwnFormat) {
    // Raw data expands to itself, so Amica Paint's probe may pass a plain $4000 picture of
    // its size (real Interpaint and Artist 64 files do); the exact length with its load
    // address wins.
    const samples::CellPicture p = samples::testPattern(9);
    const ByteVector interpaint = samples::makeMulticolourFile(p, samples::kInterpaintLayout);
    const ByteVector artist = samples::makeMulticolourFile(p, samples::kArtist64Layout);
    EXPECT_EQ(detect(interpaint), &formatRow(FormatId::interpaint));
    EXPECT_EQ(detect(artist), &formatRow(FormatId::artist64));
    // Packed data is still found by the size it expands to.
    EXPECT_EQ(detect(samples::makeAmica(p))->decode, decodeAmica);
    EXPECT_EQ(detect(samples::makeKoalaCompressed(p))->decode, decodeKoalaCompressed);
    EXPECT_EQ(detect(samples::makeDoodleCompressed(p))->decode, decodeDoodleCompressed);
}

} // namespace
} // namespace quendra

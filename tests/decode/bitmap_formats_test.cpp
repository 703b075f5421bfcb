// The bitmap-family readers beyond Koala, Art Studio and Doodle: each fixture is built from
// its format's layout and must show the same picture as the Koala or Art Studio file of the
// same memories. A layout a real file shows against an independent decoder's picture
// (reference_pictures_test.cpp) has no picture of its own here: a fixture built from its
// row would only repeat the row; its probe and its refusals are checked.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "c64_pictures.h"
#include "decode/hires_manager_packer.h"
#include "decode/readers.h"
#include "samples/bitmap_files.h"

namespace quendra {
namespace {

using namespace quendra::testing;
using samples::HiresFliPicture;

using Reader = Decoded (*)(Bytes, const DecodeOptions&);
using Probe = int (*)(Bytes, std::uint64_t);
using Builder = std::function<ByteVector(const CellPicture&)>;

IndexedImage koalaPicture(const CellPicture& p, bool grey = false) {
    return decodeKoala(samples::makeKoala(p), {.grey = grey}).picture;
}

IndexedImage hiresPicture(const CellPicture& p, bool grey = false) {
    return decodeArtStudio(samples::makeArtStudioHires(p), {.grey = grey}).picture;
}

CellPicture withScreen(CellPicture p, std::uint8_t colours) {
    p.screen.fill(colours);
    return p;
}

Builder layout(samples::LayoutName l, std::size_t length = 0) {
    return [l, length](const CellPicture& p) { return samples::makeMulticolourFile(p, l, length); };
}

struct Case {
    const char* name;
    Reader decode;
    Probe probe;
    Builder build;
    // The picture the fixture must show, as another reader draws it; none where a real
    // file's reference picture shows the layout.
    std::function<IndexedImage(const CellPicture&, bool grey)> expected;
};

std::vector<Case> cases() {
    const auto koala = [](const CellPicture& p, bool grey) { return koalaPicture(p, grey); };
    const auto hires = [](const CellPicture& p, bool grey) { return hiresPicture(p, grey); };
    const auto artStudioHires = [](std::size_t length, std::uint16_t address) {
        return [=](const CellPicture& p) {
            return samples::makeArtStudioHiresLayout(p, length, address);
        };
    };
    return {
        {"BlazingPaddles", decodeBlazingPaddles, probeBlazingPaddles,
         layout(samples::kBlazingPaddlesLayout), nullptr},
        {"Artist64", decodeArtist64, probeArtist64, layout(samples::kArtist64Layout), nullptr},
        {"Vidcom64", decodeVidcom64, probeVidcom64, layout(samples::kVidcom64Layout), nullptr},
        {"Vidcom64_10241", decodeVidcom64, probeVidcom64, layout(samples::kVidcom64Layout, 10241),
         koala},
        {"Vidcom64_10242", decodeVidcom64, probeVidcom64, layout(samples::kVidcom64Layout, 10242),
         koala},
        {"ImageSystem", decodeImageSystem, probeImageSystem, layout(samples::kImageSystemLayout),
         nullptr},
        {"SaracenPaint", decodeSaracenPaint, probeSaracenPaint,
         layout(samples::kSaracenPaintLayout), nullptr},
        {"RainbowPainter", decodeRainbowPainter, probeRainbowPainter,
         layout(samples::kRainbowPainterLayout), nullptr},
        {"PaintMagic", decodePaintMagic, probePaintMagic, samples::makePaintMagic, nullptr},
        {"Interpaint", decodeInterpaint, probeInterpaint, layout(samples::kInterpaintLayout),
         nullptr},
        {"Kla", decodeKla, probeKla, [](const CellPicture& p) { return samples::makeKoala(p); },
         koala},
        {"KlaAt2000", decodeKla, probeKla,
         [](const CellPicture& p) {
             ByteVector f = samples::makeKoala(p, true);
             f[1] = 0x20; // as a PC editor writes it
             return f;
         },
         koala},
        {"KlaWithoutLoadAddress", decodeKla, probeKla, samples::koalaData, koala},
        {"KlaCompressed", decodeKla, nullptr, samples::makeKoalaCompressed, koala},
        {"AdvancedArtStudio", decodeAdvancedArtStudio, probeAdvancedArtStudio,
         samples::makeArtStudio, koala},
        {"ArtStudioHires", decodeArtStudioHires, probeArtStudioHires, samples::makeArtStudioHires,
         hires},
        {"ArtStudioHires9003", decodeArtStudioHires, probeArtStudioHires,
         artStudioHires(9003, 0x2000), hires},
        {"ArtStudioHires9002", decodeArtStudioHires, probeArtStudioHires,
         artStudioHires(9002, 0x6000), hires},
        {"InterpaintHires", decodeInterpaintHires, probeInterpaintHires,
         artStudioHires(9002, 0x4000), nullptr},
        {"HiEddi", decodeHiEddi, probeHiEddi, samples::makeHiEddi, nullptr},
        {"ImageSystemHires", decodeImageSystemHires, probeImageSystemHires,
         samples::makeImageSystemHires, hires},
        {"HiresBitmap", decodeHiresBitmap, probeHiresBitmap,
         [](const CellPicture& p) { return samples::makeHiresBitmap(p); }, nullptr},
        {"HiresBitmap8194At6000", decodeHiresBitmap, probeHiresBitmap,
         [](const CellPicture& p) { return samples::makeHiresBitmap(p, 8194, 0x6000); },
         [](const CellPicture& p, bool grey) { return hiresPicture(withScreen(p, 0x10), grey); }},
        {"HiresBitmapInverted", decodeHiresBitmapInverted, probeHiresBitmapInverted,
         [](const CellPicture& p) { return samples::makeHiresBitmap(p); }, nullptr},
    };
}

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

class BitmapFormat : public ::testing::TestWithParam<Case> {};

TEST_P(BitmapFormat, ShowsThePictureItsLayoutHolds) {
    const Case& c = GetParam();
    for (const CellPicture& base : {samples::testPattern(0), samples::testPattern(7)}) {
        CellPicture p = base;
        p.background |= 0xA0; // junk in the high nibble, as real files have
        const ByteVector file = c.build(p);
        for (bool grey : {false, true}) {
            if (!c.expected)
                break;
            const Decoded d = c.decode(file, {.grey = grey});
            ASSERT_TRUE(d.accepted) << d.reason;
            EXPECT_EQ(d.picture, c.expected(p, grey));
        }
        if (c.probe) {
            EXPECT_GT(c.probe(file, file.size()), 0);
            EXPECT_EQ(c.probe(file, file.size() + 1000), 0);
        }
    }
}

TEST_P(BitmapFormat, RefusesOtherLengthsWithAReason) {
    const Case& c = GetParam();
    if (c.decode == decodeKla)
        return; // other lengths are packed (see below)
    const ByteVector good = c.build(samples::testPattern());
    for (std::size_t length : {good.size() - 1, good.size() + 1, std::size_t{2}}) {
        ByteVector f = good;
        f.resize(length);
        const Decoded d = c.decode(f, {});
        if (d.accepted)
            continue; // another length the format has (Vidcom 64, Art Studio)
        EXPECT_NE(d.reason.find(std::to_string(length)), std::string::npos) << d.reason;
    }
    // Cut at the read limit, a longer file arrives with an accepted length: its own size
    // decides and is named.
    const Decoded cut = c.decode(good, {.fileSize = 70000});
    EXPECT_FALSE(cut.accepted);
    EXPECT_NE(cut.reason.find("70000"), std::string::npos) << cut.reason;
    EXPECT_FALSE(c.decode(ByteVector{}, {}).accepted);
}

INSTANTIATE_TEST_SUITE_P(Readers, BitmapFormat, ::testing::ValuesIn(cases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BitmapFormats, OnlyTheNamedByteOfEachLayoutIsTheBackground) {
    // Moving the background byte changes the picture; the spare bytes around it do not.
    struct Row {
        samples::LayoutName layout;
        Reader decode;
        std::size_t spare; // a byte beside the background that no memory uses
    };
    for (const Row& r : {Row{samples::kBlazingPaddlesLayout, decodeBlazingPaddles, 8065},
                         Row{samples::kArtist64Layout, decodeArtist64, 10240},
                         Row{samples::kVidcom64Layout, decodeVidcom64, 2027},
                         Row{samples::kImageSystemLayout, decodeImageSystem, 9216},
                         Row{samples::kSaracenPaintLayout, decodeSaracenPaint, 1011}}) {
        const CellPicture p = samples::testPattern(2);
        ByteVector f = samples::makeMulticolourFile(p, r.layout);
        const std::size_t background = formatRow(r.layout).cells.background;
        const IndexedImage before = r.decode(f, {}).picture;
        f[background] ^= 0x05;
        EXPECT_NE(r.decode(f, {}).picture, before) << formatRow(r.layout).name;
        f[background] ^= 0x05;
        f[r.spare] ^= 0x05;
        EXPECT_EQ(r.decode(f, {}).picture, before) << formatRow(r.layout).name;
    }
}

TEST(BitmapFormats, CompressedKlaReadsLikeKoalaCompressedAtAnyAddress) {
    const CellPicture p = blockyPicture();
    ByteVector f = samples::makeKoalaCompressed(p);
    f[1] = 0x20;
    const Decoded whole = decodeKla(f, {});
    ASSERT_TRUE(whole.accepted) << whole.reason;
    EXPECT_EQ(whole.picture, koalaPicture(p));

    ByteVector padded = f; // bytes after the full picture are left alone
    padded.insert(padded.end(), 40, 0x77);
    EXPECT_EQ(decodeKla(padded, {}).picture, whole.picture);

    ByteVector cut = f; // data that ends early leaves the rest black, as in .gg
    cut.resize(f.size() / 2);
    const Decoded part = decodeKla(cut, {});
    ASSERT_TRUE(part.accepted) << part.reason;
    EXPECT_EQ(part.picture.index(0, 0), whole.picture.index(0, 0));
    EXPECT_EQ(part.picture.index(319, 199), 0);

    ByteVector tooLong(10100, 0);
    const Decoded refused = decodeKla(tooLong, {});
    EXPECT_FALSE(refused.accepted);
    EXPECT_NE(refused.reason.find("10100"), std::string::npos) << refused.reason;
    EXPECT_FALSE(decodeKla(ByteVector{0x00}, {}).accepted);
}

// Hires Manager -------------------------------------------------------------------------

TEST(HiresManagerPacker, UnpacksWhatThePackerWroteAndStopsWhenFull) {
    ByteVector data(3000);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<std::uint8_t>(i < 1000 ? i * 7 : (i < 2000 ? 0 : i / 300));
    const ByteVector packed = samples::packHiresManager(data);
    ASSERT_LT(packed.size(), data.size());

    ByteVector out(data.size());
    ASSERT_TRUE(unpackHiresManager(packed, out));
    EXPECT_EQ(out, data);

    ByteVector leftover = packed; // bytes before the data are read last: never reached
    leftover.insert(leftover.begin(), {1, 2, 3});
    std::ranges::fill(out, 0);
    EXPECT_TRUE(unpackHiresManager(leftover, out));
    EXPECT_EQ(out, data);

    const ByteVector cut(packed.begin() + 1, packed.end()); // the last-read byte missing
    EXPECT_FALSE(unpackHiresManager(cut, out));

    // A run longer than the room left is cut; a run of 0 is refused.
    ByteVector three(3);
    EXPECT_TRUE(unpackHiresManager(ByteVector{0x09, 200, 0x00}, three));
    EXPECT_EQ(three, (ByteVector{9, 9, 9}));
    EXPECT_FALSE(unpackHiresManager(ByteVector{0x09, 0, 0x00}, three));
    EXPECT_FALSE(unpackHiresManager(ByteVector{0x00}, three));
    EXPECT_FALSE(unpackHiresManager(ByteVector{}, three));
}

// The pixel shown at (x, y): screen pixel (x + 24, y + 8) of the hires FLI picture.
std::uint8_t hiresFliIndex(const HiresFliPicture& p, int x, int y) {
    const int sx = x + 24, sy = y + 8;
    const int cell = sy / 8 * 40 + sx / 8;
    const std::uint8_t byte = p.bitmap[8 * cell + sy % 8];
    const std::uint8_t screen = p.screens[sy % 8][cell];
    return (byte >> (7 - sx % 8)) & 1 ? screen >> 4 : screen & 15;
}

TEST(HiresManager, ShowsEveryLineWithItsOwnScreenWithoutTheHiddenEdges) {
    const HiresFliPicture p = samples::hiresFliPattern(3);
    const Decoded plain = decodeHiresManager(samples::makeHiresManager(p, false), {});
    ASSERT_TRUE(plain.accepted) << plain.reason;
    ASSERT_EQ(plain.picture.width(), 296);
    ASSERT_EQ(plain.picture.height(), 192);
    for (int y = 0; y < 192; ++y)
        for (int x = 0; x < 296; ++x)
            ASSERT_EQ(plain.picture.index(x, y), hiresFliIndex(p, x, y)) << x << "," << y;

    const ByteVector packedFile = samples::makeHiresManager(p, true);
    ASSERT_LT(packedFile.size(), 16385u);
    const Decoded packed = decodeHiresManager(packedFile, {.grey = true});
    ASSERT_TRUE(packed.accepted) << packed.reason;
    EXPECT_EQ(packed.picture.indices().size(), plain.picture.indices().size());
    EXPECT_TRUE(std::ranges::equal(packed.picture.indices(), plain.picture.indices()));
    EXPECT_EQ(packed.picture.palette(),
              std::vector<Rgb>(kC64GreyPalette.begin(), kC64GreyPalette.end()));
}

ByteVector withLength(ByteVector f) { // the packed header's word follows the length
    const std::size_t word = 16381 + f.size();
    f[2] = static_cast<std::uint8_t>(word & 0xFF);
    f[3] = static_cast<std::uint8_t>(word >> 8);
    return f;
}

TEST(HiresManager, PackedFilesAreCheckedByTheirHeaderAndTheirData) {
    const HiresFliPicture p = samples::hiresFliPattern();
    const ByteVector good = samples::makeHiresManager(p, true);
    const IndexedImage picture = decodeHiresManager(good, {}).picture;

    ByteVector padded = good; // leftover bytes in front of the data are never read
    padded.insert(padded.begin() + 18, 100, 0xEE);
    const Decoded fromPadded = decodeHiresManager(withLength(padded), {});
    ASSERT_TRUE(fromPadded.accepted) << fromPadded.reason;
    EXPECT_EQ(fromPadded.picture, picture);

    ByteVector cut = good; // the data's first bytes, read last, missing
    cut.erase(cut.begin() + 18, cut.begin() + 28);
    const Decoded fromCut = decodeHiresManager(withLength(cut), {});
    EXPECT_FALSE(fromCut.accepted);
    EXPECT_NE(fromCut.reason.find("ends before"), std::string::npos) << fromCut.reason;

    ByteVector appended = good; // bytes after it without the word that counts them
    appended.push_back(0);
    ByteVector wrongMark = good;
    wrongMark[5] = 0x7E;
    ByteVector plainWithout = samples::makeHiresManager(p, false);
    plainWithout[3] = 0xFE;
    for (const ByteVector* f : {&appended, &wrongMark, &plainWithout}) {
        const Decoded d = decodeHiresManager(*f, {});
        EXPECT_FALSE(d.accepted);
        EXPECT_NE(d.reason.find(std::to_string(f->size())), std::string::npos) << d.reason;
        EXPECT_EQ(probeHiresManager(*f, f->size()), 0);
    }

    ByteVector elsewhere = samples::makeHiresManager(p, false); // its load address counts
    elsewhere[1] = 0x20;
    const Decoded atWrongAddress = decodeHiresManager(elsewhere, {});
    EXPECT_FALSE(atWrongAddress.accepted);
    EXPECT_NE(atWrongAddress.reason.find("$4000"), std::string::npos) << atWrongAddress.reason;
    EXPECT_FALSE(decodeHiresManager(ByteVector{0x00, 0x40, 0x10}, {}).accepted);
    EXPECT_GT(probeHiresManager(good, good.size()), 0);
}

} // namespace
} // namespace quendra

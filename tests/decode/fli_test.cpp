#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "decode/blend.h"
#include "decode/fli_readers.h"
#include "decode/formats.h"
#include "decode/palette.h"
#include "samples/fli_files.h"

namespace quendra {
namespace {

using samples::ByteVector;
using samples::FliLayer;
using samples::FliPicture;

// A registry row's reading and probe.
struct Row {
    FormatId id;
    Decoded operator()(Bytes file, const DecodeOptions& options) const {
        return decodeAs(formatRow(id), file, options);
    }
};
struct Probe {
    FormatId id;
    int operator()(Bytes file, std::uint64_t fileSize) const {
        return probeAs(formatRow(id), file, fileSize);
    }
};
using Builder = ByteVector (*)(const FliPicture&);
using Normaliser = void (*)(FliPicture&);

// How a format shows its frames: one frame, two mixed, or BFLI's two halves one above the other.
enum class Shows { OneFrame, Mix, TwoHalves };

// The colour number frame f shows at screen pixel x (0..319) of line y (0..199), read
// straight from the parts; cellBase is the number of the frame's first cell.
std::uint8_t colourAt(const FliPicture& p, int f, bool hires, int x, int y, int cellBase = 0) {
    const FliLayer& layer = p.frames[f];
    const int n = (cellBase + 40 * (y / 8) + x / 8) & 1023;
    const std::uint8_t bits = layer.bitmap[8 * n + y % 8];
    const std::uint8_t screen = layer.screens[y % 8][n];
    if (hires)
        return (bits >> (7 - x % 8)) & 1 ? screen >> 4 : screen & 15;
    switch ((bits >> (6 - 2 * (x % 8 / 2))) & 3) {
    case 0:
        return layer.backgrounds[y] & 15;
    case 1:
        return screen >> 4;
    case 2:
        return screen & 15;
    default:
        return p.colour[n] & 15;
    }
}

// What a format cannot store, made as the format shows it.
void oneScreen(FliLayer& layer) {
    for (auto& s : layer.screens)
        s = layer.screens[0];
}
void oneBackground(FliLayer& layer, std::uint8_t background) {
    layer.backgrounds.fill(background);
}
// Interlaced multicolour without FLI: one screen per frame, the first frame's background.
void oneScreenEachOneBackground(FliPicture& p) {
    for (FliLayer& f : p.frames) {
        oneScreen(f);
        oneBackground(f, p.frames[0].backgrounds[0]);
    }
}
// The same with both frames on the first frame's screen.
void oneSharedScreenOneBackground(FliPicture& p) {
    p.frames[1].screens = p.frames[0].screens;
    oneScreenEachOneBackground(p);
}

const struct Format {
    const char* name;
    Builder make;
    Row decode;
    Normaliser normalise;
    int width, height;
    bool hires;
    Shows shows;
    int shift; // of the second frame, in pixels to the right
} kFormats[] = {
    {"FLI Designer", [](const FliPicture& p) { return samples::makeFliDesigner(p); },
     Row{FormatId::fliDesigner}, [](FliPicture& p) { oneBackground(p.frames[0], 0); }, 296, 200,
     false, Shows::OneFrame, 0},
    {"FLI Designer 17409", [](const FliPicture& p) { return samples::makeFliDesigner(p, true); },
     Row{FormatId::fliDesigner}, [](FliPicture& p) { oneBackground(p.frames[0], 0); }, 296, 200,
     false, Shows::OneFrame, 0},
    {"FLI Graph", samples::makeFliGraph, Row{FormatId::fliGraph}, [](FliPicture&) {}, 296, 200,
     false, Shows::OneFrame, 0},
    {"FLI Graph as .fli", samples::makeFliGraph, Row{FormatId::fliDesigner}, [](FliPicture&) {},
     296, 200, false, Shows::OneFrame, 0},
    {"FLI Graph packed", [](const FliPicture& p) { return samples::makeFliGraphPacked(p); },
     Row{FormatId::fliGraph}, [](FliPicture&) {}, 296, 200, false, Shows::OneFrame, 0},
    {"FLI Graph packed as .fli",
     [](const FliPicture& p) { return samples::makeFliGraphPacked(p, 0); },
     Row{FormatId::fliDesigner}, [](FliPicture&) {}, 296, 200, false, Shows::OneFrame, 0},
    {"AFLI", samples::makeAfli, Row{FormatId::afli}, [](FliPicture&) {}, 296, 200, true,
     Shows::OneFrame, 0},
    {"Hires FLI", samples::makeHiresFli, Row{FormatId::hiresFli}, [](FliPicture&) {}, 296, 112,
     true, Shows::OneFrame, 0},
    {"BFLI", samples::makeBfli, Row{FormatId::bfli},
     [](FliPicture& p) {
         oneBackground(p.frames[0], 0);
         oneBackground(p.frames[1], 0);
     },
     296, 400, false, Shows::TwoHalves, 0},
    {"True Paint", samples::makeTruePaint, Row{FormatId::truePaint}, oneScreenEachOneBackground,
     320, 200, false, Shows::Mix, 1},
    {"True Paint packed", samples::makeTruePaintPacked, Row{FormatId::truePaint},
     oneScreenEachOneBackground, 320, 200, false, Shows::Mix, 1},
    {"Drazlace", [](const FliPicture& p) { return samples::makeDrazlace(p); },
     Row{FormatId::drazlace}, oneSharedScreenOneBackground, 320, 200, false, Shows::Mix, 1},
    {"Drazlace unshifted", [](const FliPicture& p) { return samples::makeDrazlace(p, 0); },
     Row{FormatId::drazlace}, oneSharedScreenOneBackground, 320, 200, false, Shows::Mix, 0},
    {"Drazlace packed", [](const FliPicture& p) { return samples::makeDrazlacePacked(p); },
     Row{FormatId::drazlace}, oneSharedScreenOneBackground, 320, 200, false, Shows::Mix, 1},
    {"Gunpaint", samples::makeGunpaint, Row{FormatId::gunpaint},
     [](FliPicture& p) {
         auto& b = p.frames[0].backgrounds;
         std::fill(b.begin() + 197, b.end(), b[196]);
         p.frames[1].backgrounds = b;
     },
     296, 200, false, Shows::Mix, 1},
    {"FFLI", samples::makeFfli, Row{FormatId::ffli},
     [](FliPicture& p) { p.frames[1].bitmap = p.frames[0].bitmap; }, 296, 200, false, Shows::Mix,
     0},
    {"Drazpaint", samples::makeDrazpaint, Row{FormatId::drazpaint},
     [](FliPicture& p) {
         oneScreen(p.frames[0]);
         oneBackground(p.frames[0], p.frames[0].backgrounds[0]);
     },
     320, 200, false, Shows::OneFrame, 0},
    {"Drazpaint packed", [](const FliPicture& p) { return samples::makeDrazpaintPacked(p); },
     Row{FormatId::drazpaint},
     [](FliPicture& p) {
         oneScreen(p.frames[0]);
         oneBackground(p.frames[0], p.frames[0].backgrounds[0]);
     },
     320, 200, false, Shows::OneFrame, 0},
    // The generic builder of FLI-layout rows, through each kind of layout.
    {"FLI Designer by its row",
     [](const FliPicture& p) { return samples::makeFliFile(formatRow(FormatId::fliDesigner), p); },
     Row{FormatId::fliDesigner}, [](FliPicture& p) { oneBackground(p.frames[0], 0); }, 296, 200,
     false, Shows::OneFrame, 0},
    {"Hires FLI by its row",
     [](const FliPicture& p) { return samples::makeFliFile(formatRow(FormatId::hiresFli), p); },
     Row{FormatId::hiresFli}, [](FliPicture&) {}, 296, 112, true, Shows::OneFrame, 0},
    {"BFLI by its row",
     [](const FliPicture& p) { return samples::makeFliFile(formatRow(FormatId::bfli), p); },
     Row{FormatId::bfli},
     [](FliPicture& p) {
         oneBackground(p.frames[0], 0);
         oneBackground(p.frames[1], 0);
     },
     296, 400, false, Shows::TwoHalves, 0},
    {"FFLI by its row",
     [](const FliPicture& p) { return samples::makeFliFile(formatRow(FormatId::ffli), p); },
     Row{FormatId::ffli}, [](FliPicture& p) { p.frames[1].bitmap = p.frames[0].bitmap; }, 296, 200,
     false, Shows::Mix, 0},
    {"Hires-Interlace by its row",
     [](const FliPicture& p) {
         return samples::makeFliFile(formatRow(FormatId::hiresInterlace), p);
     },
     Row{FormatId::hiresInterlace},
     [](FliPicture& p) {
         for (FliLayer& f : p.frames)
             oneScreen(f);
     },
     320, 200, true, Shows::Mix, 0},
    {"Hires-Interlace", samples::makeHiresInterlace, Row{FormatId::hiresInterlace},
     [](FliPicture& p) {
         for (FliLayer& f : p.frames)
             oneScreen(f);
     },
     320, 200, true, Shows::Mix, 0},
};

// The index the picture should hold at (x, y): a C64 colour number, or the blend position
// of the two frames' pair.
std::uint8_t expected(const Format& format, const FliPicture& p, int x, int y) {
    const int left = format.width == 296 ? 24 : 0;
    switch (format.shows) {
    case Shows::OneFrame:
        return colourAt(p, 0, format.hires, x + left, y);
    case Shows::TwoHalves:
        return y < 200 ? colourAt(p, 0, format.hires, x + left, y)
                       : colourAt(p, 1, format.hires, x + left, y - 200, 1000);
    case Shows::Mix:
    default: {
        const std::uint8_t second = format.shift != 0 && x == 0
                                        ? p.frames[1].backgrounds[y] & 15
                                        : colourAt(p, 1, format.hires, x + left - format.shift, y);
        return blendPosition(colourAt(p, 0, format.hires, x + left, y), second);
    }
    }
}

void expectPicture(const Format& format, const FliPicture& p, const Decoded& d) {
    ASSERT_TRUE(d.accepted) << d.reason;
    ASSERT_EQ(d.picture.width(), format.width);
    ASSERT_EQ(d.picture.height(), format.height);
    if (format.shows == Shows::Mix)
        EXPECT_EQ(d.picture.palette(),
                  std::vector<Rgb>(blendPalette().begin(), blendPalette().end()));
    else
        EXPECT_EQ(d.picture.palette(), std::vector<Rgb>(kC64Palette.begin(), kC64Palette.end()));
    int wrong = 0;
    for (int y = 0; y < format.height && wrong < 5; ++y) {
        for (int x = 0; x < format.width && wrong < 5; ++x) {
            if (d.picture.index(x, y) != expected(format, p, x, y)) {
                ADD_FAILURE() << "pixel " << x << "," << y << " is " << int(d.picture.index(x, y))
                              << ", not " << int(expected(format, p, x, y));
                ++wrong;
            }
        }
    }
}

TEST(FliFamily, EveryPixelComesFromItsScreenBitmapAndColours) {
    for (const Format& format : kFormats) {
        for (unsigned seed : {0u, 1u}) {
            SCOPED_TRACE(std::string(format.name) + " seed " + std::to_string(seed));
            FliPicture p = samples::fliPattern(seed);
            format.normalise(p);
            expectPicture(format, p, format.decode(format.make(p), {}));
        }
    }
}

TEST(FliFamily, GreyDrawsSingleFramesInGreyAndLeavesMixesAlone) {
    for (const Format& format : kFormats) {
        const ByteVector file = format.make(samples::fliPattern());
        const Decoded grey = format.decode(file, {.grey = true});
        const Decoded colour = format.decode(file, {});
        EXPECT_EQ(grey.picture.indices().size(), colour.picture.indices().size()) << format.name;
        EXPECT_TRUE(std::ranges::equal(grey.picture.indices(), colour.picture.indices()))
            << format.name;
        if (format.shows == Shows::Mix)
            EXPECT_EQ(grey.picture.palette(), colour.picture.palette()) << format.name;
        else
            EXPECT_EQ(grey.picture.palette()[1], kC64GreyPalette[1]) << format.name;
    }
}

ByteVector with(ByteVector file, std::size_t at, std::uint8_t value) {
    file[at] = value;
    return file;
}
ByteVector resized(ByteVector file, std::size_t size) {
    file.resize(size, 0);
    return file;
}
ByteVector withoutFirst(ByteVector file, std::size_t at, std::size_t count) {
    file.erase(file.begin() + static_cast<std::ptrdiff_t>(at),
               file.begin() + static_cast<std::ptrdiff_t>(at + count));
    return file;
}

TEST(FliFamily, RejectsWithAReason) {
    const FliPicture p = samples::fliPattern();
    const ByteVector bfli = samples::makeBfli(p), ffli = samples::makeFfli(p);
    const ByteVector fliGraph = samples::makeFliGraphPacked(p);
    const ByteVector truePaint = samples::makeTruePaintPacked(p);
    const ByteVector drazlace = samples::makeDrazlacePacked(p);
    const ByteVector drazpaint = samples::makeDrazpaintPacked(p);
    const struct {
        const char* what;
        Row decode;
        ByteVector file;
        const char* reason;
    } cases[] = {
        {"AFLI one byte long", Row{FormatId::afli}, resized(samples::makeAfli(p), 16386), "16386"},
        {"Hires FLI one byte short", Row{FormatId::hiresFli},
         resized(samples::makeHiresFli(p), 16385), "16385"},
        {"BFLI one byte short", Row{FormatId::bfli}, resized(bfli, 33794), "33794"},
        {"BFLI without 'b'", Row{FormatId::bfli}, with(bfli, 2, 'B'), "'b'"},
        {"FFLI without 'f'", Row{FormatId::ffli}, with(ffli, 2, 0), "'f'"},
        {"FFLI one byte long", Row{FormatId::ffli}, resized(ffli, 26116), "26116"},
        {"Gunpaint of 33604", Row{FormatId::gunpaint}, resized(samples::makeGunpaint(p), 33604),
         "33604"},
        {"Hires-Interlace of 24577", Row{FormatId::hiresInterlace},
         resized(samples::makeHiresInterlace(p), 24577), "24577"},
        {"Drazlace without name, long", Row{FormatId::drazlace},
         resized(samples::makeDrazlace(p), 18243), "18243"},
        {"Drazlace shift 2", Row{FormatId::drazlace}, samples::makeDrazlace(p, 2), "shift"},
        {"Drazlace packed shift 2", Row{FormatId::drazlace}, samples::makeDrazlacePacked(p, 2),
         "shift"},
        {"Drazpaint without name", Row{FormatId::drazpaint},
         resized(samples::makeDrazpaint(p), 10050), "10050"},
        {"FLI of 4 bytes", Row{FormatId::fliDesigner}, {0x00, 0x3C, 0, 0}, "17218"},
        {"FLI Graph of 4 bytes", Row{FormatId::fliGraph}, {0x00, 0x3B, 0, 0}, "4"},
        {"True Paint of 141 bytes", Row{FormatId::truePaint}, resized(truePaint, 141), "141"},
        // Packed data cut off: a backward stream loses its first token, a forward one its end.
        {"FLI Graph cut off", Row{FormatId::fliGraph}, resized(fliGraph, fliGraph.size() - 1),
         "ends"},
        {"FLI Graph cut off at its start", Row{FormatId::fliGraph}, withoutFirst(fliGraph, 3, 40),
         "ends"},
        {"True Paint cut off", Row{FormatId::truePaint}, resized(truePaint, 1000), "ends"},
        {"Drazlace cut off", Row{FormatId::drazlace}, resized(drazlace, drazlace.size() - 1),
         "ends"},
        {"Drazpaint cut off", Row{FormatId::drazpaint}, resized(drazpaint, drazpaint.size() - 1),
         "ends"},
        {"Drazpaint name only", Row{FormatId::drazpaint}, resized(drazpaint, 16), "ends"},
    };
    for (const auto& c : cases) {
        const Decoded d = c.decode(c.file, {});
        EXPECT_FALSE(d.accepted) << c.what;
        EXPECT_NE(d.reason.find(c.reason), std::string::npos) << c.what << ": " << d.reason;
    }
    for (const Format& format : kFormats) {
        for (std::size_t size : {0, 1, 2, 3, 15, 16, 17}) {
            EXPECT_FALSE(format.decode(ByteVector(size, 0x44), {}).accepted) << format.name << size;
        }
    }
}

TEST(FliFamily, RejectionsNameTheFilesOwnSize) {
    const ByteVector cut = resized(samples::makeGunpaint(samples::fliPattern()), 100);
    const Decoded d = Row{FormatId::gunpaint}(cut, {.fileSize = 2'000'000'000});
    EXPECT_NE(d.reason.find("2000000000"), std::string::npos) << d.reason;
    // A packed file read only in part cannot be read from its end.
    const ByteVector packed = samples::makeFliGraphPacked(samples::fliPattern());
    EXPECT_FALSE(Row{FormatId::fliGraph}(packed, {.fileSize = packed.size() + 1}).accepted);
    EXPECT_TRUE(Row{FormatId::fliGraph}(packed, {.fileSize = packed.size()}).accepted);
    const ByteVector truePaint = samples::makeTruePaintPacked(samples::fliPattern());
    EXPECT_FALSE(Row{FormatId::truePaint}(truePaint, {.fileSize = 70000}).accepted);
}

TEST(FliFamily, PackedDataIgnoresWhatFollowsThePicture) {
    const FliPicture p = samples::fliPattern(3);
    const auto same = [](Row decode, const ByteVector& a, const ByteVector& b) {
        const Decoded x = decode(a, {}), y = decode(b, {});
        ASSERT_TRUE(x.accepted && y.accepted) << x.reason << y.reason;
        EXPECT_EQ(x.picture, y.picture);
    };
    // Forward streams: bytes after the end.
    ByteVector drazlace = samples::makeDrazlacePacked(p);
    same(Row{FormatId::drazlace}, drazlace, resized(drazlace, drazlace.size() + 300));
    ByteVector drazpaint = samples::makeDrazpaintPacked(p);
    same(Row{FormatId::drazpaint}, drazpaint, resized(drazpaint, drazpaint.size() + 3));
    // Backward streams: bytes below the last one read.
    ByteVector fliGraph = samples::makeFliGraphPacked(p);
    ByteVector padded = fliGraph;
    padded.insert(padded.begin() + 3, 50, 0xF7);
    same(Row{FormatId::fliGraph}, fliGraph, padded);
    ByteVector truePaint = samples::makeTruePaintPacked(p);
    padded = truePaint;
    padded.insert(padded.begin() + 142, 50, 0xE2);
    same(Row{FormatId::truePaint}, truePaint, padded);
}

// A packed FLI Graph file that is one run token: the whole picture one value.
TEST(FliFamily, FliGraphRunsCountZeroAs256AndAreCutAtTheStart) {
    ByteVector file{0x00, 0x3B, 0xAA};
    // 68 runs of 256 and one of 64 fill 17472 bytes; the first run read is the picture's end.
    file.insert(file.end(), {0x55, 64, 0xAA});
    for (int i = 0; i < 68; ++i)
        file.insert(file.end(), {0x55, 0, 0xAA});
    const Decoded d = Row{FormatId::fliGraph}(file, {});
    ASSERT_TRUE(d.accepted) << d.reason;
    // Every background, screen and colour 5 (green): all pixels green.
    for (std::uint8_t i : d.picture.indices())
        ASSERT_EQ(i, 5);
    // One more run than needed is cut, the extra 64 lost at the start.
    file.insert(file.begin() + 3, {0x11, 64, 0xAA});
    EXPECT_EQ(Row{FormatId::fliGraph}(file, {}).picture, d.picture);
}

TEST(FliFamily, DrazRunOfZeroWritesNothing) {
    const FliPicture p = samples::fliPattern(4);
    const ByteVector plain = samples::makeDrazpaint(p);
    ByteVector packed = samples::makeDrazpaintPacked(p, 0x0E);
    packed.insert(packed.begin() + 16, {0x0E, 0x00, 0x99});
    EXPECT_EQ(Row{FormatId::drazpaint}(packed, {}).picture,
              Row{FormatId::drazpaint}(plain, {}).picture);
}

TEST(FliFamily, ProbesScoreLengthsAddressesAndSignatures) {
    const FliPicture p = samples::fliPattern();
    const auto probeWhole = [](Probe probe, const ByteVector& f) { return probe(f, f.size()); };
    ByteVector plain = samples::makeFliDesigner(p);
    EXPECT_EQ(probeWhole(Probe{FormatId::fliDesigner}, plain), 2);
    EXPECT_EQ(probeWhole(Probe{FormatId::fliDesigner}, with(plain, 1, 0x40)), 1);
    EXPECT_EQ(probeWhole(Probe{FormatId::fliDesigner}, samples::makeFliGraph(p)), 0);
    EXPECT_EQ(probeWhole(Probe{FormatId::fliGraph}, samples::makeFliGraph(p)), 2);
    EXPECT_EQ(probeWhole(Probe{FormatId::fliGraph}, samples::makeFliGraphPacked(p)), 1);
    EXPECT_EQ(probeWhole(Probe{FormatId::fliGraph}, with(samples::makeFliGraphPacked(p), 1, 0x40)),
              0);
    EXPECT_EQ(probeWhole(Probe{FormatId::afli}, samples::makeAfli(p)), 2);
    EXPECT_EQ(probeWhole(Probe{FormatId::hiresFli}, samples::makeHiresFli(p)), 2);
    EXPECT_EQ(probeWhole(Probe{FormatId::bfli}, samples::makeBfli(p)), 3);
    EXPECT_EQ(probeWhole(Probe{FormatId::bfli}, with(samples::makeBfli(p), 2, 'f')), 0);
    EXPECT_EQ(probeWhole(Probe{FormatId::ffli}, samples::makeFfli(p)), 3);
    EXPECT_EQ(probeWhole(Probe{FormatId::ffli}, with(samples::makeFfli(p), 2, 'b')), 0);
    EXPECT_EQ(probeWhole(Probe{FormatId::truePaint}, samples::makeTruePaint(p)), 2);
    EXPECT_EQ(probeWhole(Probe{FormatId::truePaint}, samples::makeTruePaintPacked(p)), 0);
    EXPECT_EQ(probeWhole(Probe{FormatId::drazlace}, samples::makeDrazlace(p)), 2);
    EXPECT_EQ(probeWhole(Probe{FormatId::drazlace}, samples::makeDrazlacePacked(p)), 3);
    EXPECT_EQ(probeWhole(Probe{FormatId::drazpaint}, samples::makeDrazpaint(p)), 2);
    EXPECT_EQ(probeWhole(Probe{FormatId::drazpaint}, samples::makeDrazpaintPacked(p)), 3);
    EXPECT_EQ(probeWhole(Probe{FormatId::drazpaint}, samples::makeDrazlacePacked(p)), 0);
    EXPECT_EQ(probeWhole(Probe{FormatId::gunpaint}, samples::makeGunpaint(p)), 3);
    EXPECT_EQ(probeWhole(Probe{FormatId::gunpaint}, with(samples::makeGunpaint(p), 1003, 'O')), 2);
    EXPECT_EQ(probeWhole(Probe{FormatId::hiresInterlace}, samples::makeHiresInterlace(p)), 2);
    // Probes see a prefix of the file and its whole length.
    const ByteVector gunpaint = samples::makeGunpaint(p);
    EXPECT_EQ(Probe{FormatId::gunpaint}(Bytes(gunpaint).first(2000), gunpaint.size()), 3);
    EXPECT_EQ(Probe{FormatId::gunpaint}(Bytes(gunpaint).first(2), gunpaint.size()), 2);
    EXPECT_EQ(Probe{FormatId::bfli}(Bytes(gunpaint).first(0), 33795), 0);
    for (Probe probe :
         {Probe{FormatId::fliDesigner}, Probe{FormatId::fliGraph}, Probe{FormatId::afli},
          Probe{FormatId::hiresFli}, Probe{FormatId::bfli}, Probe{FormatId::truePaint},
          Probe{FormatId::drazlace}, Probe{FormatId::gunpaint}, Probe{FormatId::ffli},
          Probe{FormatId::drazpaint}, Probe{FormatId::hiresInterlace}}) {
        EXPECT_EQ(probe({}, 0), 0);
        EXPECT_EQ(probe(Bytes(plain).first(2), 12345), 0);
    }
}

} // namespace
} // namespace quendra

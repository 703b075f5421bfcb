// Sample pictures of the routed extensions and of the paint programs with plain or packed
// memories.
#include <algorithm>

#include "samples/bitmap_files.h"
#include "samples/funpainter_files.h"
#include "samples/further_pictures.h"

namespace quendra::samples {

namespace {

// A Koala image without load address: bitmap, screen, colour, background.
ByteVector koalaImage(const CellPicture& p) {
    return koalaData(p);
}

// Bytes in front of packed data.
ByteVector withHeader(ByteVector header, const ByteVector& data) {
    header.insert(header.end(), data.begin(), data.end());
    return header;
}

} // namespace

ByteVector xeKoalaRuns(const ByteVector& data) {
    ByteVector out;
    std::size_t literalsAt = 0;
    auto flushLiterals = [&](std::size_t end) {
        while (literalsAt < end) {
            const std::size_t n = std::min<std::size_t>(127, end - literalsAt);
            out.push_back(static_cast<std::uint8_t>(128 + n));
            out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(literalsAt),
                       data.begin() + static_cast<std::ptrdiff_t>(literalsAt + n));
            literalsAt += n;
        }
    };
    for (std::size_t i = 0; i < data.size();) {
        std::size_t run = 1;
        while (i + run < data.size() && data[i + run] == data[i])
            ++run;
        if (run < 4) {
            i += run;
            continue;
        }
        flushLiterals(i);
        if (run < 128) {
            out.insert(out.end(), {static_cast<std::uint8_t>(run), data[i]});
        } else { // a long run: count 0 and a 16-bit count, high byte first
            out.insert(out.end(), {0, static_cast<std::uint8_t>(run >> 8),
                                   static_cast<std::uint8_t>(run & 0xFF), data[i]});
        }
        i += run;
        literalsAt = i;
    }
    flushLiterals(data.size());
    return out;
}

ByteVector vhiRuns(const ByteVector& data) {
    ByteVector out;
    for (std::size_t i = 0; i < data.size();) {
        std::size_t run = 1;
        while (i + run < data.size() && run < 256 && data[i + run] == data[i])
            ++run;
        if (run >= 3) {
            out.insert(out.end(), {1, static_cast<std::uint8_t>(run & 0xFF), data[i]});
            i += run;
            continue;
        }
        const std::size_t n = std::min<std::size_t>(256, data.size() - i);
        out.insert(out.end(), {0, static_cast<std::uint8_t>(n & 0xFF)});
        out.insert(out.end(), data.begin() + static_cast<std::ptrdiff_t>(i),
                   data.begin() + static_cast<std::ptrdiff_t>(i + n));
        i += n;
    }
    return out;
}

namespace {

ByteVector hiresInterlaceImage(const FliPicture& p, std::size_t secondBitmap, std::size_t screen) {
    ByteVector image(screen + 1000, 0);
    putBytes(image, 0, std::span(p.frames[0].bitmap).first(8000));
    putBytes(image, secondBitmap, std::span(p.frames[1].bitmap).first(8000));
    putBytes(image, screen, std::span(p.frames[0].screens[0]).first(1000));
    return image;
}

} // namespace

ByteVector makeMicroIllustrator(const CellPicture& mil, bool packed) {
    if (!packed) {
        constexpr MulticolourLayout kType0{10022, 0x3000, 2022, 22, 1022, 8};
        return makeMulticolourFile(mil, kType0);
    }
    // Type 1: column by column with the cell rows interleaved, XE Koala packed.
    ByteVector milImage(10000, 0);
    for (int column = 0; column < 40; ++column) {
        for (int r = 0; r < 25; ++r) {
            const int at = 25 * column + 13 * (r & 1) + (r >> 1), cell = 40 * r + column;
            milImage[static_cast<std::size_t>(at)] = mil.screen[static_cast<std::size_t>(cell)];
            milImage[1000 + static_cast<std::size_t>(at)] =
                mil.colour[static_cast<std::size_t>(cell)];
            for (int k = 0; k < 8; ++k) {
                const int y = 8 * r + k;
                milImage[static_cast<std::size_t>(2000 + 200 * column + 100 * (y & 1) + (y >> 1))] =
                    mil.bitmap[static_cast<std::size_t>(8 * cell + k)];
            }
        }
    }
    ByteVector milFile(22, 0);
    milFile[7] = 1;
    milFile[8] = mil.background;
    return withHeader(milFile, xeKoalaRuns(milImage));
}

void appendRoutedSamples(std::vector<FurtherSample>& all) {
    all.push_back({"art-studio-hires-hre.hre",
                   makeArtStudioHiresLayout(testPattern(20), 9009, 0x2000), 320, 200});
    all.push_back({"koala-or-art-studio-gig.gig", makeKoala(testPattern(21)), 320, 200});
    all.push_back({"doodle-ddp.ddp", makeDoodle(testPattern(22)), 320, 200});
    all.push_back({"fli-graph-flg.flg", makeFliGraph(fliPattern(1)), 296, 200});
    all.push_back({"hires-fli-hfd.hfd", makeHiresFli(fliPattern(2)), 296, 112});
    all.push_back({"hires-interlace-hie.hie", makeHiresInterlace(fliPattern(3)), 320, 200});
    all.push_back({"gunpaint-ifl.ifl", makeGunpaint(fliPattern(4)), 296, 200});
    all.push_back({"drazlace-dlp.dlp", makeDrazlace(fliPattern(5)), 320, 200});
    all.push_back({"ffli-ffl.ffl", makeFfli(fliPattern(6)), 296, 200});
    all.push_back({"bfli-bfl.bfl", makeBfli(fliPattern(7)), 296, 400});
    all.push_back({"funpainter-fun.fun", makeFunPainter(funPainterPattern(1), false), 320, 200});
    all.push_back({"blazing-paddles-vic.vic",
                   makeMulticolourFile(testPattern(23), kBlazingPaddlesLayout), 320, 200});
}

void appendPaintSamples(std::vector<FurtherSample>& all) {
    // The plain layouts of their rows, each file at an address such files load at.
    const struct {
        const char* name;
        FormatId row;
        std::uint16_t loadAddress;
    } layouts[] = {
        {"cdu-paint-cdu.cdu", FormatId::cduPaint, 0x3000},
        {"face-painter-fpt.fpt", FormatId::facePainter, 0x3000},
        {"cheese-che.che", FormatId::cheese, 0x3000},
        {"garfield-cwg.cwg", FormatId::garfield, 0x3000},
        {"picasso-64-fly.fly", FormatId::picasso64, 0x4000},
        {"koala-layout-lre.lre", FormatId::koalaLayoutLre, 0x6000},
    };
    for (std::size_t i = 0; i < std::size(layouts); ++i) {
        all.push_back({layouts[i].name,
                       makeCellFile(formatRow(layouts[i].row), testPattern(30 + unsigned(i)), 0,
                                    layouts[i].loadAddress),
                       320, 200});
    }

    const CellPicture mil = testPattern(37);
    all.push_back({"micro-illustrator-mil.mil", makeMicroIllustrator(mil, false), 320, 200});

    // Mwin: 160 x 100 starting 2 pixels and 3 lines into a grid of 21 x 14 cells.
    ByteVector mwin{0, 1, 3, 80, 100};
    const CellPicture mw = testPattern(38);
    for (std::size_t cell = 0; cell < 21 * 14; ++cell) {
        mwin.push_back(mw.screen[cell]);
        mwin.push_back(mw.colour[cell]);
        mwin.insert(mwin.end(), mw.bitmap.begin() + static_cast<std::ptrdiff_t>(8 * cell),
                    mw.bitmap.begin() + static_cast<std::ptrdiff_t>(8 * cell + 8));
    }
    all.push_back({"mwin-mwi.mwi", mwin, 160, 100});

    ByteVector gr{32, 20};
    const CellPicture g = testPattern(39);
    gr.insert(gr.end(), g.bitmap.begin(), g.bitmap.begin() + 32 * 20 * 8);
    all.push_back({"graphics-gr.gr", gr, 256, 160});

    // CGFX: a grid of 2 x 3 frames of 6 x 5 cells.
    const CellPicture cg = testPattern(40);
    ByteVector data;
    for (int f = 0; f < 6; ++f) {
        const auto at = [&](std::size_t n) { return static_cast<std::ptrdiff_t>(n + 30 * f); };
        data.insert(data.end(), cg.bitmap.begin() + 8 * at(0), cg.bitmap.begin() + 8 * at(30));
        data.insert(data.end(), cg.screen.begin() + at(0), cg.screen.begin() + at(30));
        data.insert(data.end(), cg.colour.begin() + at(0), cg.colour.begin() + at(30));
        data.insert(data.end(), {0, static_cast<std::uint8_t>(f + 2)});
    }
    auto le32 = [](ByteVector& v, std::size_t n) {
        for (int i = 0; i < 4; ++i)
            v.push_back(static_cast<std::uint8_t>(n >> (8 * i)));
    };
    ByteVector cgx{'R', 'I', 'F', 'F'};
    le32(cgx, 4 + 8 + 12 + 8 + data.size());
    cgx.insert(cgx.end(), {'C', 'G', 'F', 'X', 'F', 'R', 'M', 'T'});
    le32(cgx, 12);
    cgx.insert(cgx.end(), {2, 3, 0, 0, 6, 0, 0, 0, 5, 6, 4, 0, 'D', 'A', 'T', 'A'});
    le32(cgx, data.size());
    cgx.insert(cgx.end(), data.begin(), data.end());
    all.push_back({"cgfx-cgx.cgx", cgx, 144, 80});

    const FliPicture il = fliPattern(41);
    ByteVector fp = zeroFile(19266, 0x4000);
    putBytes(fp, 2, std::span(il.colour).first(1000));
    putBytes(fp, 1026, std::span(il.frames[0].screens[0]).first(1000));
    putBytes(fp, 2050, std::span(il.frames[1].screens[0]).first(1000));
    putBytes(fp, 3074, std::span(il.frames[0].bitmap).first(8000));
    putBytes(fp, 11266, std::span(il.frames[1].bitmap).first(8000));
    fp[11074] = 6;
    all.push_back({"fp-interlace-fp.fp", fp, 320, 200});

    ByteVector ihe = zeroFile(16194, 0x2000);
    putBytes(ihe, 2, std::span(il.frames[0].bitmap).first(8000));
    putBytes(ihe, 8194, std::span(il.frames[1].bitmap).first(8000));
    all.push_back({"hires-interlace-ihe.ihe", ihe, 320, 200});

    ByteVector hle = zeroFile(32770, 0x2000);
    putBytes(hle, 2, std::span(il.frames[0].bitmap).first(8000));
    putBytes(hle, 8194, std::span(il.frames[0].screens[0]).first(1000));
    putBytes(hle, 16386, std::span(il.frames[1].screens[0]).first(1000));
    putBytes(hle, 24578, std::span(il.frames[1].bitmap).first(8000));
    all.push_back({"hires-interlace-hle.hle", hle, 320, 200});

    ByteVector vhi = withHeader({0x00, 0x20}, hiresInterlaceImage(il, 8192, 16384));
    vhi.resize(17389, 0);
    all.push_back({"hires-interlace-vhi.vhi", vhi, 320, 200});

    // Pixel Perfect, packed.
    const FliPicture pp = fliPattern(42);
    ByteVector ppImage = zeroFile(33602, 0x4000);
    putBytes(ppImage, 2, std::span(pp.colour).first(1000));
    putScreens(ppImage, 1026, pp.frames[0]);
    putBytes(ppImage, 9218, std::span(pp.frames[0].bitmap).first(8000));
    putScreens(ppImage, 17410, pp.frames[1]);
    putBytes(ppImage, 25602, std::span(pp.frames[1].bitmap).first(8000));
    ppImage[17281] = 11;
    all.push_back({"pixel-perfect-pp.pp",
                   withHeader({0x00, 0x40, 0x10, 0x10, 0x10, 0xE7},
                              escapeRuns(std::span(ppImage).subspan(2), 0xE7, RunCount::plusOne)),
                   296, 200});

    ByteVector zom = escapeRuns(koalaImage(testPattern(43)), 0xBB, RunCount::zeroIs256, true);
    zom.insert(zom.begin(), {0x00, 0x30});
    zom.push_back(0xBB);
    all.push_back({"zoomatic-zom.zom", zom, 320, 200});

    all.push_back({"big-display-bdp.bdp",
                   withHeader({0x00, 0x60, 0x02, 0x04, 0x10, 0x36, 0x30, 0x30, 0xC1, 0x00},
                              escapeRuns(koalaImage(testPattern(44)), 0xC1, RunCount::zeroIs256)),
                   320, 200});

    // SHP type 0: the bitmap with escape E, the screen with escape 0, colours with $FF.
    const CellPicture shp = testPattern(45);
    ByteVector shpFile{0x00, 0x30, 0, 0xE5, shp.background};
    for (const auto& [part, escape] :
         {std::pair{std::span<const std::uint8_t>(shp.bitmap), std::uint8_t{0xE5}},
          std::pair{std::span<const std::uint8_t>(shp.screen), std::uint8_t{0}},
          std::pair{std::span<const std::uint8_t>(shp.colour), std::uint8_t{0xFF}}}) {
        const ByteVector packed = escapeRuns(part, escape, RunCount::zeroIs256);
        shpFile.insert(shpFile.end(), packed.begin(), packed.end());
    }
    all.push_back({"shp-shp.shp", shpFile, 320, 200});
}

} // namespace quendra::samples

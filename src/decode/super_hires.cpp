// Hires pictures under a layer of sprites (the "super hires" family): where a sprite bit is
// set, the first layer listed that has one gives the colour; elsewhere the hires cell rule
// (set bit: the screen's high nibble, clear: its low nibble). Sprites are hires and not
// expanded. None of these was checked against a real file.
#include <algorithm>
#include <array>
#include <vector>

#include "decode/cell_words.h"
#include "decode/escape_runs.h"
#include "decode/fli.h"
#include "decode/formats.h"
#include "decode/further_readers.h"
#include "decode/readers.h"
#include "decode/row_facts.h"

namespace quendra {

namespace {

using namespace cellwords;

// One cell line (8 pixels) as it is drawn: layers from the top down, each showing its colour
// where its bit is set and no layer above it has shown, then the hires cell under them all
// (set bit: the screen's high nibble, clear: its low nibble).
class CellLine {
  public:
    explicit CellLine(const Word* parts) : parts_(parts) {}

    void layer(std::uint8_t bits, std::uint8_t colour) {
        const Word shown = kMasks.hires[bits] & ~covered_;
        pixels_ = select(pixels_, parts_[colour & 15], shown);
        covered_ |= shown;
    }
    void hiresCell(std::uint8_t bits, std::uint8_t screen) {
        const Word cell = select(parts_[screen & 15], parts_[screen >> 4], kMasks.hires[bits]);
        pixels_ = select(pixels_, cell, ~covered_);
    }
    // The hires cell of cell column `column`, line y, of a bitmap and screen `stride` cells
    // wide.
    void hiresCell(const std::uint8_t* m, std::size_t bitmap, std::size_t screen, int stride,
                   int column, int y) {
        const std::size_t cell = static_cast<std::size_t>((y >> 3) * stride + column);
        hiresCell(m[bitmap + 8 * cell + (y & 7)], m[screen + cell]);
    }
    Word pixels() const { return pixels_; }

  private:
    const Word* parts_;
    Word pixels_ = 0;
    Word covered_ = 0;
};

// Sprites numbered across, 2^k per 21-line band: the byte of cell column `column`, line y.
inline int grid(int column, int y, int k) {
    return 64 * ((y / 21 << k) + column / 3) + 3 * (y % 21) + column % 3;
}

// A picture of one frame drawn cell line by cell line by `draw(line, column, y)`.
template <typename Draw>
Decoded single(const DecodeOptions& options, int width, int height, Draw draw) {
    Decoded d = fli::accepted(options, width, height, fli::Colours::single);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = d.picture.row(y);
        for (int column = 0; column < width / 8; ++column) {
            CellLine line(kColourParts.colourNumbers);
            draw(line, column, y);
            store(row + 8 * column, line.pixels());
        }
    }
    return d;
}

// Two frames mixed, no shift: `draw(line, frame, column, y)`.
template <typename Draw>
Decoded mixed(const DecodeOptions& options, int width, int height, Draw draw) {
    Decoded d = fli::accepted(options, width, height, fli::Colours::mixed);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = d.picture.row(y);
        for (int column = 0; column < width / 8; ++column) {
            CellLine first(kColourParts.first), second(kColourParts.second);
            draw(first, 0, column, y);
            draw(second, 1, column, y);
            store(row + 8 * column, first.pixels() | second.pixels());
        }
    }
    return d;
}

Decoded cutOff() {
    return Decoded::reject("the packed data of this picture end before the picture is "
                           "complete");
}

} // namespace

// .shs: 14338 bytes, bitmap 2 and screen 13314; sprites over lines 17-184, columns 2-13.
Decoded decodeShs(Bytes file, const DecodeOptions& options) {
    if (!hasLayoutLength(formatRow(FormatId::superHiresShs).lengths, file, options))
        return rowLengthRejection("an .shs picture", formatRow(FormatId::superHiresShs), file,
                                  options);
    const std::uint8_t* m = file.data();
    return single(options, 320, 200, [m](CellLine& line, int column, int y) {
        if (y >= 17 && y <= 184 && column >= 2 && column <= 13) {
            const int c = column - 2, s = c / 3;
            const int so = 64 * (8 * s + (y - 17) / 21) + 3 * ((y - 17) % 21) + c % 3;
            line.layer(m[10242 + so], m[8006 + s]);
            line.layer(m[8194 + so], m[8002 + s]);
        }
        line.hiresCell(m, 2, 13314, 40, column, y);
    });
}

// .sh1 (96 x 168) and .sh2 (192 x 168): 14770 bytes, or packed without load address (byte
// 0 the escape, a forward stream with count 0 = nothing from 1).
Decoded decodeSh1(Bytes file, const DecodeOptions& options) {
    const C64Format& row = formatRow(FormatId::superHiresSh1);
    if (hasLayoutLength(row.lengths, file, options)) {
        const std::uint8_t* m = file.data();
        return single(options, 96, 168, [m](CellLine& line, int column, int y) {
            const int so = grid(column, y, 2);
            line.layer(m[4530 + so], m[430 + column / 3]);
            line.layer(m[2482 + so], m[426 + column / 3]);
            line.hiresCell(m, 6690, 448, 40, column, y);
        });
    }
    if (file.size() < 3 || reportedSize(file, options) != file.size())
        return lengthRejection("an .sh1 picture", sizesOf(row), file, options);
    std::vector<std::uint8_t> image(6304);
    EscapeStream stream(file, 1, false);
    if (!stream.fill(image, file[0], RunCount::zeroIsNothing))
        return cutOff();
    if (stream.leftTooMuch())
        return tooMuchLeftRejection(stream);
    const std::uint8_t* m = image.data();
    return single(options, 96, 168, [m](CellLine& line, int column, int y) {
        const int so = 168 * column + y;
        const std::uint8_t colours = m[6300 + column / 3];
        line.layer(m[4032 + so], colours >> 4);
        line.layer(m[2016 + so], colours & 15);
        line.hiresCell(m, 0, 6048, 12, column, y);
    });
}

Decoded decodeSh2(Bytes file, const DecodeOptions& options) {
    const C64Format& row = formatRow(FormatId::superHiresSh2);
    if (hasLayoutLength(row.lengths, file, options)) {
        const std::uint8_t* m = file.data();
        return single(options, 192, 168, [m](CellLine& line, int column, int y) {
            line.layer(m[2482 + grid(column, y, 3)], m[426 + column / 3]);
            line.hiresCell(m, 6642, 442, 40, column, y);
        });
    }
    if (file.size() < 3 || reportedSize(file, options) != file.size())
        return lengthRejection("an .sh2 picture", sizesOf(row), file, options);
    std::vector<std::uint8_t> image(8576);
    EscapeStream stream(file, 1, false);
    if (!stream.fill(image, file[0], RunCount::zeroIsNothing))
        return cutOff();
    if (stream.leftTooMuch())
        return tooMuchLeftRejection(stream);
    const std::uint8_t* m = image.data();
    return single(options, 192, 168, [m](CellLine& line, int column, int y) {
        line.layer(m[4032 + 168 * column + y], m[8568 + column / 3]);
        line.hiresCell(m, 0, 8064, 24, column, y);
    });
}

// .she: its row's first length (96 x 88, sprites on lines 0-83) or its second (192 x 168,
// sprites from line 1).
Decoded decodeShe(Bytes file, const DecodeOptions& options) {
    const C64Format& row = formatRow(FormatId::superHiresShe);
    const std::uint8_t* m = file.data();
    if (hasLengthOneOf(file, options, {row.lengths[0]})) {
        return single(options, 96, 88, [m](CellLine& line, int column, int y) {
            if (y < 84) {
                const int so = grid(column, y, 3);
                line.layer(m[1446 + so], m[3239]);
                line.layer(m[1190 + so], m[3238]);
            }
            line.hiresCell(m, 2, 1058, 12, column, y);
        });
    }
    if (hasLengthOneOf(file, options, {row.lengths[1]})) {
        return single(options, 192, 168, [m](CellLine& line, int column, int y) {
            if (y >= 1)
                line.layer(m[4034 + grid(column, y - 1, 3)], m[8634 + column / 3]);
            line.hiresCell(m, 2, 8130, 24, column, y);
        });
    }
    return rowLengthRejection("an .she picture", row, file, options);
}

int probeShe(Bytes, std::uint64_t fileSize) {
    return takesLength(formatRow(FormatId::superHiresShe), fileSize) ? kProbeLength : 0;
}

// .shi (96 x 200) and .esh (192 x 200): interlaced, one screen, two bitmaps; unpacked when
// byte 2 is 0, else PGC-packed from 3.
Decoded decodeShi(Bytes file, const DecodeOptions& options) {
    std::vector<std::uint8_t> image(formatRow(FormatId::superHiresInterlaceShi).lengths[0], 0);
    if (file.size() >= 3 && file[2] == 0) {
        if (!hasLayoutLength(formatRow(FormatId::superHiresInterlaceShi).lengths, file, options))
            return rowLengthRejection("an unpacked .shi picture",
                                      formatRow(FormatId::superHiresInterlaceShi), file, options);
        std::copy(file.begin(), file.end(), image.begin());
    } else if (file.size() < 4 || reportedSize(file, options) != file.size() ||
               !unpackPgc(file, 3, std::span(image).subspan(3, 15352))) {
        return cutOff();
    }
    const std::uint8_t* m = image.data();
    return mixed(options, 96, 200, [m](CellLine& line, int frame, int column, int y) {
        const int so = grid(column, y, 3), layer = frame ? 9923 : 4803;
        line.layer(m[layer + so], m[15343 + column / 3]);
        line.layer(m[layer + 256 + so], m[15347 + column / 3]);
        line.hiresCell(m, frame ? 2403 : 3, 15043, 12, column, y);
    });
}

Decoded decodeEsh(Bytes file, const DecodeOptions& options) {
    std::vector<std::uint8_t> image(formatRow(FormatId::superHiresInterlaceEsh).lengths[0], 0);
    if (file.size() >= 3 && file[2] == 0) {
        if (!hasLayoutLength(formatRow(FormatId::superHiresInterlaceEsh).lengths, file, options))
            return rowLengthRejection("an unpacked .esh picture",
                                      formatRow(FormatId::superHiresInterlaceEsh), file, options);
        std::copy(file.begin(), file.end(), image.begin());
    } else if (file.size() < 4 || reportedSize(file, options) != file.size() ||
               !unpackPgc(file, 3, std::span(image).subspan(3, 20449))) {
        return cutOff();
    }
    const std::uint8_t* m = image.data();
    return mixed(options, 192, 200, [m](CellLine& line, int frame, int column, int y) {
        line.layer(m[(frame ? 14723 : 9603) + grid(column, y, 3)], m[20443 + column / 3]);
        line.hiresCell(m, frame ? 4803 : 3, 19843, 24, column, y);
    });
}

// .shx: 144 x 168, hires FLI (columns 11-28 of an FLI screen) under one sprite layer;
// 15362 bytes, or packed (the last byte the escape, a backward stream into 9168 bytes of
// lines of 18 bytes: sprite 0, bitmap 3072, screen 6144 per line, colour 3025).
Decoded decodeShx(Bytes file, const DecodeOptions& options) {
    if (hasLayoutLength(formatRow(FormatId::superHiresFliShx).lengths, file, options)) {
        const std::uint8_t* m = file.data();
        return single(options, 144, 168, [m](CellLine& line, int column, int y) {
            const int s = column / 3;
            int n = 15 * ((y - 1) & 7) + s;
            if (n < 105)
                n += 3 * ((s + 1) >> 1);
            line.layer(m[8194 + 64 * n + 3 * (y % 21) + column % 3], m[1003]);
            const int cell = 40 * (y >> 3) + column;
            line.hiresCell(m[8282 + 8 * cell + (y & 7)], m[13 + 1024 * (y & 7) + cell]);
        });
    }
    if (file.size() < 6 || reportedSize(file, options) != file.size())
        return lengthRejection("an .shx picture", sizesOf(formatRow(FormatId::superHiresFliShx)),
                               file, options);
    std::vector<std::uint8_t> image(9168);
    EscapeStream stream(file, file.size() - 2, true);
    if (!stream.fill(image, file.back(), RunCount::zeroIs256))
        return cutOff();
    if (stream.leftTooMuch())
        return tooMuchLeftRejection(stream);
    const std::uint8_t* m = image.data();
    return single(options, 144, 168, [m](CellLine& line, int column, int y) {
        const int at = 18 * y + column;
        line.layer(m[at], m[3025]);
        line.hiresCell(m[3072 + at], m[6144 + at]);
    });
}

// .shf unpacked (15874 bytes, 208 x 167): hires FLI of screen line y + 1 (screens at 16,
// bitmap 8306) under two sprite layers over columns 0-11, colours 1002 and 1003; the
// sprites' blocks come from the table below (entry 8 (y & 7) + slot for the first layer,
// 4 more for the second), their data at 2 + 64 block.
// .shf packed (96 x 167): escape byte 2, a forward stream (count 0 = 256) from 3 into 8170
// bytes of lines of 12 bytes: sprite layers 0 and 2048 (both colour 8168), bitmap 4096,
// screen 6144 per line.
Decoded decodeShf(Bytes file, const DecodeOptions& options) {
    if (hasLayoutLength(formatRow(FormatId::superHiresFliShf).lengths, file, options)) {
        static constexpr std::array<std::uint8_t, 64> kBlocks{
            128, 132, 133, 137, 138, 142, 143, 147, 148, 152, 153, 157, 158, 162, 163, 167,
            168, 172, 173, 177, 178, 182, 183, 187, 188, 192, 193, 197, 198, 202, 203, 207,
            208, 212, 213, 217, 218, 222, 223, 227, 228, 232, 233, 234, 235, 236, 237, 238,
            239, 240, 241, 242, 243, 244, 245, 246, 247, 30,  46,  62,  78,  94,  110, 126};
        const std::uint8_t* m = file.data();
        return single(options, 208, 167, [m](CellLine& line, int column, int y) {
            if (column < 12) {
                const std::size_t entry = static_cast<std::size_t>(8 * (y & 7) + column / 3);
                const int at = 2 + 3 * (y % 21) + column % 3;
                line.layer(m[at + 64 * kBlocks[entry]], m[1002]);
                line.layer(m[at + 64 * kBlocks[entry + 4]], m[1003]);
            }
            const int screenLine = y + 1;
            const int cell = 40 * (screenLine >> 3) + column;
            line.hiresCell(m[8306 + 8 * cell + (screenLine & 7)],
                           m[16 + 1024 * (screenLine & 7) + cell]);
        });
    }
    if (file.size() < 6 || reportedSize(file, options) != file.size())
        return lengthRejection("a packed .shf picture", "at least 6", file, options);
    std::vector<std::uint8_t> image(8170);
    EscapeStream stream(file, 3, false);
    if (!stream.fill(image, file[2], RunCount::zeroIs256))
        return cutOff();
    const std::uint8_t* m = image.data();
    return single(options, 96, 167, [m](CellLine& line, int column, int y) {
        const int at = 12 * y + column;
        line.layer(m[at] | m[2048 + at], m[8168]);
        line.hiresCell(m[4096 + at], m[6144 + at]);
    });
}

// .sif: two frames of the packed .shf kind, each a word (37890 + n), an escape and n - 1
// bytes of data read backwards into 8176 bytes; a run left over at the end of the first
// goes on into the second; then 4 colour bytes (the two layers of each frame). Mixed.
Decoded decodeSif(Bytes file, const DecodeOptions& options) {
    if (reportedSize(file, options) != file.size())
        return Decoded::reject("this .sif picture is too large");
    std::array<std::vector<std::uint8_t>, 2> frames{std::vector<std::uint8_t>(8176),
                                                    std::vector<std::uint8_t>(8176)};
    std::size_t base = 0;
    EscapeStream previous(file, 0, true);
    for (int f = 0; f < 2; ++f) {
        if (base + 3 > file.size())
            return cutOff();
        const std::size_t word = file[base] | std::size_t{file[base + 1]} << 8;
        if (word <= 37890 || base + 2 + (word - 37890) > file.size())
            return Decoded::reject("this .sif picture's frame header is spoilt");
        const std::size_t end = base + 2 + (word - 37890);
        // Each frame's data lies between its escape and its end, read from the end down.
        EscapeStream stream(file.subspan(base, end - base), end - base - 1, true);
        if (f == 1)
            stream.carryFrom(previous);
        if (!stream.fill(frames[static_cast<std::size_t>(f)], file[base + 2], RunCount::zeroIs256))
            return cutOff();
        previous = stream;
        base = end;
    }
    if (file.size() != base + 4)
        return Decoded::reject("this .sif picture does not end after its two frames' "
                               "colours");
    const std::uint8_t* colours = file.data() + base;
    return mixed(options, 96, 167, [&frames, colours](CellLine& line, int f, int column, int y) {
        const std::uint8_t* m = frames[static_cast<std::size_t>(f)].data();
        const int at = 12 * y + column;
        line.layer(m[at], colours[2 * f]);
        line.layer(m[2048 + at], colours[2 * f + 1]);
        line.hiresCell(m[4096 + at], m[6144 + at]);
    });
}

// .ish of 30738 bytes: two frames at B = 2 and 15370, each a hires bitmap at B with one
// colour byte per cell column for the whole picture (B + 13312; so the format is known to
// be read) and two sprite layers over columns 0-11. Mixed, no shift. Other .ish files are
// Image System hires pictures.
Decoded decodeImageSystemHiresOrInterlace(Bytes file, const DecodeOptions& options) {
    const C64Format& row = formatRow(FormatId::imageSystemHires);
    if (!hasLayoutLength(row.lengths, file, options))
        return decodeImageSystemHires(file, options);
    const std::uint8_t* m = file.data();
    Decoded d = mixed(options, 320, 200, [m](CellLine& line, int frame, int column, int y) {
        const int base = frame ? 15370 : 2;
        if (column < 12) {
            const int s = column / 3;
            const int so = base + 64 * (10 * s + y / 21) + 3 * (y % 21) + column % 3;
            line.layer(m[so + 10752], m[base + 15364 + s]);
            line.layer(m[so + 8192], m[base + 15360 + s]);
        }
        line.hiresCell(m[base + 40 * 8 * (y >> 3) + 8 * column + (y & 7)],
                       m[base + 13312 + column]);
    });
    d.format = &formatRow(FormatId::superHiresInterlaceShi); // the interlaced kind
    return d;
}

int probeImageSystemHiresOrInterlace(Bytes file, std::uint64_t fileSize) {
    return takesLength(formatRow(FormatId::imageSystemHires), fileSize)
               ? kProbeLength
               : probeImageSystemHires(file, fileSize);
}

} // namespace quendra

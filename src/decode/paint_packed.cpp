// Paint programs whose pictures are packed, or come in several types: Micro Illustrator,
// Pixel Perfect, the Koala-family packers .zom and .bdp, and .shp. Every packed form is
// unconfirmed by a real file; the stream rules are the ones the formats are known by.
#include <algorithm>
#include <array>
#include <vector>

#include "decode/cell_words.h"
#include "decode/cells.h"
#include "decode/escape_runs.h"
#include "decode/fli.h"
#include "decode/further_readers.h"
#include "decode/reader_checks.h"
#include "decode/row_facts.h"

namespace quendra {

namespace {

using namespace cellwords;

// A Koala image without load address: bitmap 0, screen 8000, colour 9000, background 10000.
using KoalaImage = std::array<std::uint8_t, kKoalaDataBytes>;

Decoded koalaPicture(const KoalaImage& image, const DecodeOptions& options) {
    Decoded d = acceptedPicture(options);
    decodeKoalaLayout(d.picture, image);
    return d;
}

Decoded cutOff(std::string_view what) {
    return Decoded::reject("the packed data of this " + std::string(what) +
                           " end before the picture is complete");
}

} // namespace

// Micro Illustrator: byte 7 the type, background byte 8. Type 0 plain (bitmap 2022, screen
// 22, colour 1022); types 1 and 2 packed (XE Koala, from 22) into screen 0, colour 1000,
// bitmap 2000: type 2 line by line, type 1 column by column with the cell rows interleaved.
Decoded decodeMicroIllustrator(Bytes file, const DecodeOptions& options) {
    if (file.size() < 26)
        return lengthRejection("a Micro Illustrator picture", "at least 26", file, options);
    const int type = file[7];
    if (type > 2)
        return Decoded::reject("this Micro Illustrator picture is of an unknown type " +
                               std::to_string(type));
    Decoded d = acceptedPicture(options);
    if (type == 0) {
        if (!hasLayoutLength(formatRow(FormatId::microIllustrator).lengths, file, options))
            return rowLengthRejection("a plain Micro Illustrator picture",
                                      formatRow(FormatId::microIllustrator), file, options);
        decodeMulticolour(d.picture, file.subspan<2022, kBitmapBytes>(),
                          file.subspan<22, kScreenBytes>(), file.subspan<1022, kScreenBytes>(),
                          file[8]);
        return d;
    }
    std::array<std::uint8_t, 10000> image{};
    if (!unpackXeKoala(file, 22, image))
        return cutOff("Micro Illustrator picture");
    const std::uint8_t background = file[8] & 15;
    for (int y = 0; y < 200; ++y) {
        std::uint8_t* row = d.picture.row(y);
        const int r = y >> 3;
        for (int column = 0; column < 40; ++column) {
            const int cell = type == 2 ? 40 * r + column : 25 * column + 13 * (r & 1) + (r >> 1);
            const std::uint8_t bits = type == 2
                                          ? image[2000 + 40 * y + column]
                                          : image[2000 + 200 * column + 100 * (y & 1) + (y >> 1)];
            const std::uint8_t colours[4] = {background,
                                             static_cast<std::uint8_t>(image[cell] >> 4),
                                             static_cast<std::uint8_t>(image[cell] & 15),
                                             static_cast<std::uint8_t>(image[1000 + cell] & 15)};
            for (int i = 0; i < 8; ++i)
                row[8 * column + i] = colours[(bits >> (6 - (i & 6))) & 3];
        }
    }
    return d;
}

int probeMicroIllustrator(Bytes file, std::uint64_t fileSize) {
    return takesLength(formatRow(FormatId::microIllustrator), fileSize) && file.size() > 7 &&
                   file[7] == 0
               ? kProbeLength
               : 0;
}

// Pixel Perfect: interlaced FLI (colour memory 2; frame 1 screens 1026, bitmap 9218; frame 2
// screens 17410, bitmap 25602; background 17281), the second frame one pixel to the right.
// Packed when bytes 2-4 are $10: escape byte 5, runs of count + 1 from 6, which must be
// used up exactly.
Decoded decodePixelPerfect(Bytes file, const DecodeOptions& options) {
    std::vector<std::uint8_t> unpacked;
    Bytes image = file;
    if (file.size() >= 6 && file[2] == 0x10 && file[3] == 0x10 && file[4] == 0x10) {
        unpacked.assign(formatRow(FormatId::pixelPerfect).lengths[0], 0);
        EscapeStream stream(file, 6, false);
        if (!stream.fill(std::span(unpacked).subspan(2), file[5], RunCount::plusOne))
            return cutOff("Pixel Perfect picture");
        if (stream.runLeft() || !stream.atEnd() || reportedSize(file, options) != file.size())
            return Decoded::reject("the packed data of this Pixel Perfect picture go on "
                                   "past the picture");
        image = unpacked;
    } else if (!hasLayoutLength(formatRow(FormatId::pixelPerfect).lengths, file, options)) {
        return rowLengthRejection("an unpacked Pixel Perfect picture",
                                  formatRow(FormatId::pixelPerfect), file, options);
    }
    Decoded d = fli::accepted(options, fli::kWidth, fli::kLines, fli::Colours::mixed);
    const fli::SameBackground background(image[17281]);
    const fli::FrameMemory first{.bitmap = image.data() + 9218,
                                 .screens = image.data() + 1026,
                                 .screenStride = fli::kScreenStride,
                                 .colour = image.data() + 2,
                                 .backgrounds = background.lines};
    fli::FrameMemory second = first;
    second.bitmap = image.data() + 25602;
    second.screens = image.data() + 17410;
    fli::drawMix(d.picture, first, second, fli::kBugStrip, 1);
    return d;
}

int probePixelPerfect(Bytes file, std::uint64_t fileSize) {
    if (file.size() >= 6 && file[2] == 0x10 && file[3] == 0x10 && file[4] == 0x10)
        return kProbeLength;
    return takesLength(formatRow(FormatId::pixelPerfect), fileSize) ? kProbeLength : 0;
}

// .zom: the last byte is the escape; the backward stream (count 0 = 256) from the byte
// before it fills a Koala image from its end.
Decoded decodeZom(Bytes file, const DecodeOptions& options) {
    if (file.size() < 6 || reportedSize(file, options) != file.size())
        return lengthRejection("a .zom picture", "at least 6", file, options);
    KoalaImage image{};
    EscapeStream stream(file, file.size() - 2, true);
    if (!stream.fill(image, file.back(), RunCount::zeroIs256))
        return cutOff(".zom picture");
    if (stream.leftTooMuch())
        return tooMuchLeftRejection(stream);
    return koalaPicture(image, options);
}

// .bdp: three packers of a Koala image. "02 04 10 36 30 30" at 2: escape byte 8, runs
// (count 0 = 256) from 10. "BDP 5.00" at 2: E1 n v gives n copies (0 = 256) and E2 lo hi v
// gives lo + 256 hi copies, E1 = byte 10, E2 = byte 11, from 12. Otherwise (version 4) from
// 2: FF n v gives n copies (0 = 256), FE lo hi is followed by lo + 256 hi literals; any
// other byte spoils the data.
Decoded decodeBdp(Bytes file, const DecodeOptions& options) {
    if (file.size() < 13 || reportedSize(file, options) != file.size())
        return lengthRejection("a .bdp picture", "at least 13", file, options);
    KoalaImage image{};
    static constexpr std::uint8_t kSix[] = {0x02, 0x04, 0x10, 0x36, 0x30, 0x30};
    static constexpr std::string_view kFive = "BDP 5.00";
    if (std::equal(std::begin(kSix), std::end(kSix), file.begin() + 2)) {
        EscapeStream stream(file, 10, false);
        if (!stream.fill(image, file[8], RunCount::zeroIs256))
            return cutOff(".bdp picture");
        return koalaPicture(image, options);
    }
    std::size_t pos = 0, done = 0;
    auto run = [&](std::size_t n, std::uint8_t v) {
        n = std::min(n, image.size() - done);
        std::fill_n(image.begin() + static_cast<std::ptrdiff_t>(done), n, v);
        done += n;
    };
    if (std::equal(kFive.begin(), kFive.end(), file.begin() + 2)) {
        const std::uint8_t e1 = file[10], e2 = file[11];
        for (pos = 12; done < image.size();) {
            if (pos >= file.size())
                return cutOff(".bdp picture");
            const std::uint8_t b = file[pos++];
            if (b == e1) {
                if (pos + 2 > file.size())
                    return cutOff(".bdp picture");
                run(file[pos] == 0 ? 256 : file[pos], file[pos + 1]);
                pos += 2;
            } else if (b == e2) {
                if (pos + 3 > file.size())
                    return cutOff(".bdp picture");
                run(file[pos] + 256u * file[pos + 1], file[pos + 2]);
                pos += 3;
            } else {
                image[done++] = b;
            }
        }
        return koalaPicture(image, options);
    }
    for (pos = 2; done < image.size();) {
        if (pos + 3 > file.size())
            return cutOff(".bdp picture");
        const std::uint8_t b = file[pos];
        if (b == 0xFF) {
            run(file[pos + 1] == 0 ? 256 : file[pos + 1], file[pos + 2]);
            pos += 3;
        } else if (b == 0xFE) {
            std::size_t n = file[pos + 1] + 256u * file[pos + 2];
            pos += 3;
            for (; n > 0 && done < image.size(); --n) {
                if (pos >= file.size())
                    return cutOff(".bdp picture");
                image[done++] = file[pos++];
            }
        } else {
            return Decoded::reject("the packed data of this .bdp picture are spoilt");
        }
    }
    return koalaPicture(image, options);
}

int probeBdp(Bytes file, std::uint64_t) {
    static constexpr std::uint8_t kSix[] = {0x02, 0x04, 0x10, 0x36, 0x30, 0x30};
    static constexpr std::string_view kFive = "BDP 5.00";
    if (file.size() >= 13 && (std::equal(std::begin(kSix), std::end(kSix), file.begin() + 2) ||
                              std::equal(kFive.begin(), kFive.end(), file.begin() + 2)))
        return kProbeSignature;
    return 0;
}

// .shp: byte 2 picks the kind: 0 and 232 multicolour Koala, 128 and 168 hires, 167 hires
// 39 columns wide. One forward stream (count 0 = 256) over the parts, a run carried on
// from one into the next: the bitmap with escape E, the screen with escape 0, and for
// multicolour 1000 colour bytes (escape $FF; for 232 after a separator byte $FF, escape $D8).
// The data must end exactly there.
Decoded decodeShp(Bytes file, const DecodeOptions& options) {
    if (file.size() < 6 || reportedSize(file, options) != file.size())
        return lengthRejection("a .shp picture", "at least 6", file, options);
    const int kind = file[2];
    int columns = 40, rows = 25;
    std::size_t start = 5;
    std::uint8_t escape = file[4], background = 0;
    bool multicolour = false;
    switch (kind) {
    case 0:
        escape = file[3], background = file[4], multicolour = true;
        break;
    case 128:
        escape = file[3], start = 4;
        break;
    case 167:
        columns = 39;
        if (file[3] != 25)
            return Decoded::reject("this .shp picture's header is spoilt");
        break;
    case 168:
        rows = file[3];
        if (rows < 1 || rows > 25)
            return Decoded::reject("this .shp picture's header is spoilt");
        break;
    case 232:
        if (file[3] != 25)
            return Decoded::reject("this .shp picture's header is spoilt");
        background = file[4], escape = file[5], start = 6, multicolour = true;
        break;
    default:
        return Decoded::reject("this .shp picture is of an unknown kind " + std::to_string(kind));
    }
    const std::size_t cells = static_cast<std::size_t>(columns) * rows;
    std::vector<std::uint8_t> bitmap(8 * cells), screen(cells);
    std::array<std::uint8_t, kScreenBytes> colour{};
    EscapeStream stream(file, start, false);
    bool ok = stream.fill(bitmap, escape, RunCount::zeroIs256) &&
              stream.fill(screen, 0, RunCount::zeroIs256);
    if (ok && multicolour) {
        std::uint8_t colourEscape = 0xFF;
        if (kind == 232) {
            std::uint8_t separator = 0;
            if (!stream.next(separator) || separator != 0xFF)
                return Decoded::reject("this .shp picture lacks the $FF before its "
                                       "colours");
            colourEscape = 0xD8;
        }
        ok = stream.fill(colour, colourEscape, RunCount::zeroIs256);
    }
    if (!ok)
        return cutOff(".shp picture");
    if (!stream.atEnd())
        return Decoded::reject("the packed data of this .shp picture go on past the "
                               "picture");
    Decoded d = acceptedPicture(options, 8 * columns, 8 * rows);
    for (int y = 0; y < 8 * rows; ++y) {
        std::uint8_t* row = d.picture.row(y);
        for (int column = 0; column < columns; ++column) {
            const std::size_t cell = static_cast<std::size_t>(y >> 3) * columns + column;
            const std::uint8_t bits = bitmap[8 * cell + (y & 7)], s = screen[cell];
            Word pixels;
            if (multicolour) {
                const Word low = kMasks.lowOfPair[bits];
                pixels = select(select(everyByte(background & 15), everyByte(s >> 4), low),
                                select(everyByte(s & 15), everyByte(colour[cell] & 15), low),
                                kMasks.highOfPair[bits]);
            } else {
                pixels = select(everyByte(s & 15), everyByte(s >> 4), kMasks.hires[bits]);
            }
            store(row + 8 * column, pixels);
        }
    }
    return d;
}

} // namespace quendra

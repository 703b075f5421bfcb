// Character sets, sprite sheets, Logo Painter and CharPad projects: glyphs and sprites shown
// as sheets, or a screen of character codes drawn with its character set.
#include <algorithm>
#include <array>

#include "decode/cell_words.h"
#include "decode/further_readers.h"
#include "decode/load_address.h"
#include "decode/reader_checks.h"
#include "decode/row_facts.h"

namespace quendra {

namespace {

using namespace cellwords;

// Glyph g of a set whose glyphs start at `at`, `stride` bytes apart, drawn white on black
// into a sheet 32 glyphs wide; glyphs from `count` on, and bytes past the file, are black.
void drawGlyphSheet(IndexedImage& sheet, Bytes file, std::size_t at, std::size_t stride,
                    int count) {
    for (int y = 0; y < sheet.height(); ++y) {
        std::uint8_t* row = sheet.row(y);
        for (int x = 0; x < 256; ++x) {
            const int g = 32 * (y >> 3) + (x >> 3);
            const std::size_t byte = at + stride * static_cast<std::size_t>(g) + (y & 7);
            row[x] = g < count && byte < file.size() && (file[byte] >> (7 - (x & 7))) & 1 ? 1 : 0;
        }
    }
}

// The sprite at `data` (63 bytes, 3 a line), unexpanded, at (left, top) of `sheet`: hires,
// set bits in `colour`; or multicolour, pairs 01, 10, 11 in colours[1..3]. Pair or bit 0
// leaves the sheet as it is.
void drawSprite(IndexedImage& sheet, const std::uint8_t* data, int left, int top, bool multicolour,
                const std::array<std::uint8_t, 4>& colours) {
    const Word one = everyByte(colours[1] & 15), two = everyByte(colours[2] & 15),
               three = everyByte(colours[3] & 15);
    for (int y = 0; y < 21; ++y) {
        std::uint8_t* row = sheet.row(top + y) + left;
        for (int i = 0; i < 3; ++i) {
            // Pixels of value 0 keep what is there; hires set pixels take colour 2.
            const std::uint8_t b = data[3 * y + i];
            Word shown = kMasks.hires[b], pixels = two;
            if (multicolour) {
                const Word low = kMasks.lowOfPair[b], high = kMasks.highOfPair[b];
                shown = low | high;
                pixels = select(select(0, one, low), select(two, three, low), high);
            }
            store(row + 8 * i, select(load(row + 8 * i), pixels, shown));
        }
    }
}

void fill(IndexedImage& picture, std::uint8_t colour) {
    for (int y = 0; y < picture.height(); ++y)
        std::fill_n(picture.row(y), picture.width(), colour);
}

} // namespace

// .64c: glyphs of 8 bytes from offset 2, the load address's low byte 0; 10 to 2050 bytes.
Decoded decodeCharset64c(Bytes file, const DecodeOptions& options) {
    const C64Format& row = formatRow(FormatId::charset64c);
    const std::uint64_t size = reportedSize(file, options);
    if (size < row.lengthsFrom || size > row.lengthsUpTo || size != file.size())
        return lengthRejection("a .64c character set", sizesOf(row), file, options);
    if (file[0] != 0)
        return Decoded::reject("a .64c character set loads at a page start ($xx00), "
                               "this one at " +
                               addressText(file[0] | file[1] << 8));
    Decoded d = acceptedPicture(options, 256, 8 * static_cast<int>((size + 253) >> 8));
    drawGlyphSheet(d.picture, file, 2, 8, 256);
    return d;
}

int probeCharset64c(Bytes file, std::uint64_t fileSize) {
    // Many lengths and one zero byte say little; whole sets of 64, 128 or 256 glyphs say more.
    if (file.size() < 2 || file[0] != 0 ||
        !isOneOf(fileSize, {2 + 8 * 64, 2 + 8 * 128, 2 + 8 * 256}))
        return 0;
    return kProbeLength;
}

// .g: 64 glyphs at $0042 (514 bytes). .zs: 113 glyphs of 9 bytes at $F0B0 (1026 bytes),
// their 9th bytes not drawn.
Decoded decodeCharsetG(Bytes file, const DecodeOptions& options) {
    const C64Format& row = formatRow(FormatId::charsetG);
    if (!hasLayoutLength(row.lengths, file, options))
        return rowLengthRejection("a .g character set", row, file, options);
    if (!loadsAtRowAddress(row, file))
        return rowAddressRejection("a .g character set", row, file);
    Decoded d = acceptedPicture(options, 256, 16);
    drawGlyphSheet(d.picture, file, 2, 8, 64);
    return d;
}

int probeCharsetG(Bytes file, std::uint64_t fileSize) {
    const C64Format& row = formatRow(FormatId::charsetG);
    return takesLength(row, fileSize) && loadsAtRowAddress(row, file) ? kProbeLengthAndAddress : 0;
}

Decoded decodeCharsetZs(Bytes file, const DecodeOptions& options) {
    const C64Format& row = formatRow(FormatId::charsetZs);
    if (!hasLayoutLength(row.lengths, file, options))
        return rowLengthRejection("a .zs character set", row, file, options);
    if (!loadsAtRowAddress(row, file))
        return rowAddressRejection("a .zs character set", row, file);
    Decoded d = acceptedPicture(options, 256, 32);
    drawGlyphSheet(d.picture, file, 3, 9, 113);
    return d;
}

int probeCharsetZs(Bytes file, std::uint64_t fileSize) {
    const C64Format& row = formatRow(FormatId::charsetZs);
    return takesLength(row, fileSize) && loadsAtRowAddress(row, file) ? kProbeLengthAndAddress : 0;
}

// Logo Painter 3: $1800, 40 x 50 character codes at 2, a multicolour set of 256 glyphs at
// 2050. 4098-byte files have no colours (black, light red, red, white); 4174-byte ones keep
// them in the spare bytes 2045-2048 (unconfirmed by a real file).
Decoded decodeLogoPainter(Bytes file, const DecodeOptions& options) {
    const C64Format& row = formatRow(FormatId::logoPainter);
    if (!hasLayoutLength(row.lengths, file, options))
        return rowLengthRejection("a Logo Painter picture", row, file, options);
    if (!loadsAtRowAddress(row, file))
        return rowAddressRejection("a Logo Painter picture", row, file);
    std::array<std::uint8_t, 4> colours{0, 10, 2, 1};
    if (file.size() == row.lengths[1]) // the longer kind keeps its colours
        colours = {
            static_cast<std::uint8_t>(file[2045] & 15), static_cast<std::uint8_t>(file[2047] & 15),
            static_cast<std::uint8_t>(file[2048] & 15), static_cast<std::uint8_t>(file[2046] & 7)};
    Decoded d = acceptedPicture(options, 320, 400);
    const Word zero = everyByte(colours[0]), one = everyByte(colours[1]),
               two = everyByte(colours[2]), three = everyByte(colours[3]);
    for (int y = 0; y < 400; ++y) {
        std::uint8_t* row = d.picture.row(y);
        for (int column = 0; column < 40; ++column) {
            const std::uint8_t code = file[2 + 40 * (y >> 3) + column];
            const std::uint8_t b = file[2050 + 8 * code + (y & 7)];
            const Word low = kMasks.lowOfPair[b];
            store(row + 8 * column,
                  select(select(zero, one, low), select(two, three, low), kMasks.highOfPair[b]));
        }
    }
    return d;
}

int probeLogoPainter(Bytes file, std::uint64_t fileSize) {
    const C64Format& row = formatRow(FormatId::logoPainter);
    return takesLength(row, fileSize) && loadsAtRowAddress(row, file) ? kProbeLengthAndAddress : 0;
}

// SpritePad: "SPD" 1 with the sprite count - 1 at 4 (a 6-byte header), or headerless
// (length & 63 == 3, the three colour bytes at most 15). Background, multicolours 1 and 2,
// then sprites of 64 bytes, byte 63 the colour with bit 7 for multicolour. Up to 16 a row,
// 2 pixels apart.
Decoded decodeSpritePad(Bytes file, const DecodeOptions& options) {
    const std::uint64_t size = reportedSize(file, options);
    const C64Format& row = formatRow(FormatId::spritePad);
    if (size < row.lengthsFrom || size != file.size())
        return lengthRejection("a SpritePad file", sizesOf(row), file, options);
    std::size_t header = 0, count = 0;
    if (file[0] == 'S' && file[1] == 'P' && file[2] == 'D' && file[3] == 1) {
        header = 6;
        count = file[4] + 1u;
        if (file.size() < 9 + 64 * count)
            return Decoded::reject("this SpritePad file is shorter than its " +
                                   std::to_string(count) + " sprites");
    } else if ((file.size() & 63) == 3 && file[0] <= 15 && file[1] <= 15 && file[2] <= 15) {
        count = file.size() >> 6;
    } else {
        return Decoded::reject("a SpritePad file begins with SPD and version 1, or "
                               "has 3 colour bytes and whole sprites");
    }
    const int perRow = 16, rows = static_cast<int>((count + 15) / 16);
    const int width = count <= 16 ? 26 * static_cast<int>(count) - 2 : 414;
    const int height = count <= 16 ? 21 : 23 * rows - 2;
    Decoded d = acceptedPicture(options, width, height);
    fill(d.picture, file[header] & 15);
    for (std::size_t n = 0; n < count; ++n) {
        const std::uint8_t* data = file.data() + header + 3 + 64 * n;
        const std::array<std::uint8_t, 4> colours{0, file[header + 1], data[63], file[header + 2]};
        drawSprite(d.picture, data, 26 * static_cast<int>(n % perRow),
                   23 * static_cast<int>(n / perRow), (data[63] & 0x80) != 0, colours);
    }
    return d;
}

int probeSpritePad(Bytes file, std::uint64_t) {
    return file.size() >= 4 && file[0] == 'S' && file[1] == 'P' && file[2] == 'D' && file[3] == 1
               ? kProbeSignature
               : 0;
}

// .a sprite sheet: $0042, 127 multicolour sprites at 2 + 64n (8130 bytes), 16 a row on dark
// grey; pairs 01 black, 10 the sprite's colour, 11 white (the colours the format is known
// to be shown in).
Decoded decodeSpriteSheetA(Bytes file, const DecodeOptions& options) {
    const C64Format& row = formatRow(FormatId::spriteSheetA);
    if (!hasLayoutLength(row.lengths, file, options))
        return rowLengthRejection("an .a sprite sheet", row, file, options);
    if (!loadsAtRowAddress(row, file))
        return rowAddressRejection("an .a sprite sheet", row, file);
    Decoded d = acceptedPicture(options, 416, 182);
    fill(d.picture, 11);
    for (int n = 0; n < 127; ++n) {
        const std::uint8_t* data = file.data() + 2 + 64 * n;
        drawSprite(d.picture, data, 26 * (n & 15), 23 * (n >> 4), true, {0, 0, data[63], 1});
    }
    return d;
}

int probeSpriteSheetA(Bytes file, std::uint64_t fileSize) {
    const C64Format& row = formatRow(FormatId::spriteSheetA);
    return takesLength(row, fileSize) && loadsAtRowAddress(row, file) ? kProbeLengthAndAddress : 0;
}

} // namespace quendra

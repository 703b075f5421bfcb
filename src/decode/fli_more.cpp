// More FLI pictures: FLI with a background byte (.flm, plain or packed), packed FLI (.fbi),
// HCB, ECI (hires interlaced FLI), CFLI and FLI Profi (.fd2, .fed and EMC are FLI layouts of
// their rows; so are the plain kinds of .flm and ECI, which their packed kinds unpack to).
// None was checked against a real file; the layouts are the ones these formats are known by.
#include <algorithm>
#include <array>
#include <vector>

#include "decode/cell_words.h"
#include "decode/escape_runs.h"
#include "decode/fli.h"
#include "decode/fli_readers.h"
#include "decode/formats.h"
#include "decode/further_readers.h"
#include "decode/row_facts.h"

namespace quendra {

namespace {

using namespace cellwords;

// A multicolour FLI frame shown 296 wide.
void showMulticolourFli(Decoded& d, const std::uint8_t* colour, const std::uint8_t* screens,
                        const std::uint8_t* bitmap, const std::uint8_t* backgrounds) {
    const fli::FrameMemory frame{.bitmap = bitmap,
                                 .screens = screens,
                                 .screenStride = fli::kScreenStride,
                                 .colour = colour,
                                 .backgrounds = backgrounds};
    fli::drawFrame(d.picture, frame, 0, fli::kLines, fli::kBugStrip);
}

Decoded fliPicture(const DecodeOptions& options, int lines = fli::kLines) {
    return fli::accepted(options, fli::kWidth, lines, fli::Colours::single);
}

} // namespace

// .flm: its row's FLI layout (17410 bytes: colour memory 2, screens 1026, bitmap 9218,
// background 17281); any other length is packed: the last byte the escape, a backward
// stream (count 0 = 256) from the byte before it into the 17280 bytes after the load
// address. A packed picture without colour memory (its bytes all 0) is shown as hires FLI,
// as the format is known to be read.
Decoded decodeFlm(Bytes file, const DecodeOptions& options) {
    static const C64Format& row = formatRow(FormatId::fliWithBackground);
    if (hasLayoutLength(row.fli.lengths, file, options))
        return decodeFliLayout(row, file, options);
    if (file.size() < 6 || reportedSize(file, options) != file.size())
        return Decoded::reject(fli::lengthReason("an .flm picture", sizesOf(row), file, options));
    std::vector<std::uint8_t> plain(row.fli.lengths[0]);
    EscapeStream stream(file, file.size() - 2, true);
    if (!stream.fill(std::span(plain).subspan(2, 17280), file.back(), RunCount::zeroIs256))
        return Decoded::reject("the packed data of this .flm picture end before the "
                               "picture is complete");
    if (stream.leftTooMuch())
        return tooMuchLeftRejection(stream);
    if (std::all_of(plain.begin() + 2, plain.begin() + 1002,
                    [](std::uint8_t b) { return b == 0; })) {
        Decoded d = fliPicture(options);
        const fli::FrameMemory frame{.bitmap = plain.data() + 9218,
                                     .screens = plain.data() + 1026,
                                     .screenStride = fli::kScreenStride,
                                     .hires = true};
        fli::drawFrame(d.picture, frame, 0, fli::kLines, fli::kBugStrip);
        return d;
    }
    DecodeOptions unpacked = options;
    unpacked.fileSize = plain.size();
    return decodeFliLayout(row, plain, unpacked);
}

// .fbi: escape byte 2, a backward stream (count 0 = 256) from the last byte into 17216
// bytes: colour memory 0, screens 1024, bitmap 9216; black background.
Decoded decodeFbi(Bytes file, const DecodeOptions& options) {
    if (file.size() < 19 || reportedSize(file, options) != file.size())
        return Decoded::reject(fli::lengthReason("an .fbi picture", "at least 19", file, options));
    std::vector<std::uint8_t> image(17216);
    EscapeStream stream(file, file.size() - 1, true);
    if (!stream.fill(image, file[2], RunCount::zeroIs256))
        return Decoded::reject("the packed data of this .fbi picture end before the "
                               "picture is complete");
    Decoded d = fliPicture(options);
    const fli::SameBackground black(0);
    showMulticolourFli(d, image.data(), image.data() + 1024, image.data() + 9216, black.lines);
    return d;
}

// HCB: two screens (2050, and 3074 for lines with y & 4), bitmap 4098, a background per four
// lines at 12098 + (y >> 2); pair 11 shows the screen's low nibble, like pair 10 (the
// format is known to be read so; it keeps no colour memory).
Decoded decodeHcb(Bytes file, const DecodeOptions& options) {
    if (!hasLayoutLength(formatRow(FormatId::hcb).lengths, file, options))
        return rowLengthRejection("an HCB picture", formatRow(FormatId::hcb), file, options);
    Decoded d = fliPicture(options);
    for (int y = 0; y < fli::kLines; ++y) {
        const std::uint8_t* screen = file.data() + ((y & 4) ? 3074 : 2050);
        const std::uint8_t background = file[12098 + (y >> 2)] & 15;
        std::uint8_t* row = d.picture.row(y);
        for (int column = 3; column < 40; ++column) {
            const int cell = 40 * (y >> 3) + column;
            const std::uint8_t s = screen[cell], bits = file[4098 + 8 * cell + (y & 7)];
            const Word pairs01 =
                select(everyByte(background), everyByte(s >> 4), kMasks.lowOfPair[bits]);
            store(row + 8 * (column - 3),
                  select(pairs01, everyByte(s & 15), kMasks.highOfPair[bits]));
        }
    }
    return d;
}

int probeHcb(Bytes, std::uint64_t fileSize) {
    return takesLength(formatRow(FormatId::hcb), fileSize) ? fli::kProbeSize : 0;
}

// ECI: its row's FLI layout (32770 bytes), or packed: escape byte 2, a forward stream
// (count 0 = nothing) from 3 into offsets 2-32769.
Decoded decodeEci(Bytes file, const DecodeOptions& options) {
    static const C64Format& row = formatRow(FormatId::eci);
    if (hasLayoutLength(row.fli.lengths, file, options))
        return decodeFliLayout(row, file, options);
    if (file.size() < 6 || reportedSize(file, options) != file.size())
        return Decoded::reject(fli::lengthReason("an ECI picture", sizesOf(row), file, options));
    std::vector<std::uint8_t> plain(row.fli.lengths[0]);
    EscapeStream stream(file, 3, false);
    if (!stream.fill(std::span(plain).subspan(2), file[2], RunCount::zeroIsNothing))
        return Decoded::reject("the packed data of this ECI picture end before the "
                               "picture is complete");
    DecodeOptions unpacked = options;
    unpacked.fileSize = plain.size();
    return decodeFliLayout(row, plain, unpacked);
}

// CFLI: no bitmap; each cell of line y shows the two nibbles of one screen byte, high for
// even x, low for odd x; the byte is 5 + 1024 (y & 7) + 40 (y >> 3) + column.
Decoded decodeCfli(Bytes file, const DecodeOptions& options) {
    if (!hasLayoutLength(formatRow(FormatId::cfli).lengths, file, options))
        return rowLengthRejection("a CFLI picture", formatRow(FormatId::cfli), file, options);
    Decoded d = fliPicture(options);
    for (int y = 0; y < fli::kLines; ++y) {
        const std::uint8_t* screen = file.data() + 5 + 1024 * (y & 7) + 40 * (y >> 3);
        std::uint8_t* row = d.picture.row(y);
        for (int column = 0; column < fli::kWidth / 8; ++column) {
            const std::uint8_t s = screen[column];
            store(row + 8 * column,
                  select(everyByte(s & 15), everyByte(s >> 4), kMasks.hires[0xAA]));
        }
    }
    return d;
}

int probeCfli(Bytes, std::uint64_t fileSize) {
    return takesLength(formatRow(FormatId::cfli), fileSize) ? fli::kProbeSize : 0;
}

// FLI Profi: multicolour FLI 320 wide; the left 24 pixels take colour 255 for the screen
// and the strip colour at 898 + y for pair 11, under multicolour sprites (blocks at 2,
// colour per line at 642 + y, multicolours 1098 and 1099). Pair 00 is black.
Decoded decodeFliProfi(Bytes file, const DecodeOptions& options) {
    if (!hasLayoutLength(formatRow(FormatId::fliProfi).lengths, file, options))
        return rowLengthRejection("an FLI Profi picture", formatRow(FormatId::fliProfi), file,
                                  options);
    Decoded d = fli::accepted(options, 320, fli::kLines, fli::Colours::single);
    for (int y = 0; y < fli::kLines; ++y) {
        std::uint8_t* row = d.picture.row(y);
        const std::uint8_t* screen = file.data() + 2178 + 1024 * (y & 7);
        const int block = ((y + 1) & 2 ? 5 : 0) + y / 42;
        const std::uint8_t* sprite = file.data() + 2 + 64 * block + 3 * ((y >> 1) % 21);
        for (int column = 0; column < 40; ++column) {
            const int cell = 40 * (y >> 3) + column;
            const bool strip = column < 3;
            const std::uint8_t c = strip ? 255 : screen[cell];
            const std::uint8_t three = strip ? file[898 + y] >> 4 : file[1154 + cell] & 15;
            const std::uint8_t bits = file[10370 + 8 * cell + (y & 7)];
            const Word low = kMasks.lowOfPair[bits];
            Word w =
                select(select(0, everyByte(c >> 4), low),
                       select(everyByte(c & 15), everyByte(three), low), kMasks.highOfPair[bits]);
            if (strip) {
                const std::uint8_t pairs = sprite[column];
                const Word spriteLow = kMasks.lowOfPair[pairs];
                const Word spriteHigh = kMasks.highOfPair[pairs];
                const Word shown = select(
                    select(0, everyByte(file[642 + y] & 15), spriteLow),
                    select(everyByte(file[1098] & 15), everyByte(file[1099] & 15), spriteLow),
                    spriteHigh);
                w = select(w, shown, spriteLow | spriteHigh);
            }
            store(row + 8 * column, w);
        }
    }
    return d;
}

int probeFliProfi(Bytes, std::uint64_t fileSize) {
    return takesLength(formatRow(FormatId::fliProfi), fileSize) ? fli::kProbeSize : 0;
}

namespace {

// XFL's sprite blocks: entry 8 (y & 7) + slot for the slot's sprite on line y.
constexpr std::array<std::uint8_t, 64> kXflBlocks{
    228, 229, 233, 234, 235, 236, 237, 238, 239, 240, 241, 242, 243, 246, 247, 248,
    14,  30,  46,  62,  78,  94,  110, 126, 128, 129, 133, 134, 138, 139, 143, 144,
    148, 149, 153, 154, 158, 159, 163, 164, 168, 169, 173, 174, 178, 179, 183, 184,
    188, 189, 193, 194, 198, 199, 203, 204, 208, 209, 213, 214, 218, 219, 223, 224};

} // namespace

// XFL: escape byte 2, a backward stream (count 0 = 256) from the last byte into a
// 16192-byte image: 8 screens at 0, bitmap 8192. 192 x 167: line y shows cell columns
// 16-39 of screen line y + 1 (its bitmap line; screen (y - 1) & 7), hires set bits in the
// screen's high nibble over multicolour sprites (8 slots of 3 columns, blocks from the
// table above, line (y >> 1) mod 21): pairs 01 and 11 the colours K1 and K2, 10 the
// slot's K3..K10, 00 the screen's low nibble. K1..K10 start as bytes 8174-8183; before
// each odd line from 3 on, one colour K[byte 988 + o] becomes byte 960 + o.
Decoded decodeXfl(Bytes file, const DecodeOptions& options) {
    if (file.size() < 6 || reportedSize(file, options) != file.size())
        return Decoded::reject(fli::lengthReason("an XFL picture", "at least 6", file, options));
    std::vector<std::uint8_t> image(16192);
    EscapeStream stream(file, file.size() - 1, true);
    if (!stream.fill(image, file[2], RunCount::zeroIs256))
        return Decoded::reject("the packed data of this XFL picture end before the "
                               "picture is complete");
    const std::uint8_t* m = image.data();
    std::array<std::uint8_t, 16> k{};
    std::copy_n(m + 8174, 10, k.begin() + 1);
    Decoded d = fli::accepted(options, 192, 167, fli::Colours::single);
    for (int y = 0; y < 167; ++y) {
        if (y >= 3 && (y & 1)) {
            const int j = (y - 3) >> 1, o = 1024 * (j / 28) + j % 28;
            k[m[988 + o] & 15] = m[960 + o];
        }
        const int line = y + 1;
        const std::uint8_t* screen = m + 1024 * ((y - 1) & 7);
        std::uint8_t* row = d.picture.row(y);
        for (int x = 0; x < 192; ++x) {
            const int cell = 40 * (line >> 3) + 16 + (x >> 3), slot = (x >> 3) / 3;
            const std::uint8_t s = screen[cell];
            std::uint8_t colour = s & 15;
            if ((m[8192 + 8 * cell + (line & 7)] >> (7 - (x & 7))) & 1) {
                colour = s >> 4;
            } else {
                const int block = kXflBlocks[static_cast<std::size_t>(8 * (y & 7) + slot)];
                const std::uint8_t pairs = m[64 * block + 3 * ((y >> 1) % 21) + (x >> 3) % 3];
                const int pair = (pairs >> (6 - (x & 6))) & 3;
                if (pair != 0)
                    colour = k[pair == 1 ? 1 : pair == 3 ? 2 : static_cast<std::size_t>(3 + slot)];
            }
            row[x] = colour & 15;
        }
    }
    return d;
}

} // namespace quendra

// Four-colour character-mode pictures: .cle (one multicolour bitmap, one set of colours for
// the whole picture), .ile and .mle (two bitmaps interlaced, the second frame one pixel to
// the right). None was checked against a real file.
//   .cle  8194: bitmap 2; 00 = byte 8004, 01/10 = byte 8002's nibbles, 11 = byte 8003
//   .ile  4098: bitmaps of 6 cell rows at 2050 (frame 1) and 2 (frame 2); 00/01/10 = bytes
//         4094-4096, 11 = byte 4097 & 7 (the bitmap's last bytes double as the colours)
//   .mle  4098: 256 characters shown as the cells of 7 rows (cells from 256 on black), the
//         same frames; fixed colours black, brown, orange, green
#include <array>
#include <vector>

#include "decode/blend.h"
#include "decode/fli.h"
#include "decode/further_readers.h"
#include "decode/row_facts.h"

namespace quendra {

namespace {

using Colours = std::array<std::uint8_t, 4>;

// A multicolour bitmap of `rows` cell rows with one set of colours, 320 wide; cells from
// `cells` on show colour 0 of `outside`.
void drawBitmap(const std::uint8_t* bitmap, int rows, int cells, const Colours& colours,
                std::uint8_t outside, std::uint8_t* pixels) {
    for (int y = 0; y < 8 * rows; ++y) {
        for (int x = 0; x < 320; ++x) {
            const int cell = 40 * (y >> 3) + (x >> 3);
            pixels[320 * y + x] =
                cell < cells ? colours[(bitmap[8 * cell + (y & 7)] >> (6 - (x & 6))) & 3] : outside;
        }
    }
}

Decoded interlaced(Bytes file, int rows, int cells, const Colours& colours,
                   std::uint8_t shiftColour, const DecodeOptions& options) {
    const int lines = 8 * rows;
    std::vector<std::uint8_t> a(static_cast<std::size_t>(320 * lines)), b(a.size());
    drawBitmap(file.data() + 2050, rows, cells, colours, 0, a.data());
    drawBitmap(file.data() + 2, rows, cells, colours, 0, b.data());
    Decoded d = fli::accepted(options, 320, lines, fli::Colours::mixed);
    for (int y = 0; y < lines; ++y) {
        std::uint8_t* row = d.picture.row(y);
        for (int x = 0; x < 320; ++x)
            row[x] =
                blendPosition(a[static_cast<std::size_t>(320 * y + x)],
                              x == 0 ? shiftColour : b[static_cast<std::size_t>(320 * y + x - 1)]);
    }
    return d;
}

} // namespace

Decoded decodeCle(Bytes file, const DecodeOptions& options) {
    if (!hasLayoutLength(formatRow(FormatId::characterMode).lengths, file, options))
        return rowLengthRejection("a .cle picture", formatRow(FormatId::characterMode), file,
                                  options);
    Decoded d = acceptedPicture(options);
    const Colours colours{
        static_cast<std::uint8_t>(file[8004] & 15), static_cast<std::uint8_t>(file[8002] >> 4),
        static_cast<std::uint8_t>(file[8002] & 15), static_cast<std::uint8_t>(file[8003] & 15)};
    drawBitmap(file.data() + 2, 25, 1000, colours, 0, d.picture.row(0));
    return d;
}

int probeCle(Bytes, std::uint64_t fileSize) {
    return takesLength(formatRow(FormatId::characterMode), fileSize) ? kProbeLength : 0;
}

Decoded decodeIle(Bytes file, const DecodeOptions& options) {
    const C64Format& row = formatRow(FormatId::characterModeInterlace);
    if (!hasLayoutLength(row.lengths, file, options))
        return rowLengthRejection("an .ile picture", row, file, options);
    const Colours colours{
        static_cast<std::uint8_t>(file[4094] & 15), static_cast<std::uint8_t>(file[4095] & 15),
        static_cast<std::uint8_t>(file[4096] & 15), static_cast<std::uint8_t>(file[4097] & 7)};
    return interlaced(file, 6, 240, colours, colours[0], options);
}

Decoded decodeMle(Bytes file, const DecodeOptions& options) {
    const C64Format& row = formatRow(FormatId::characterModeInterlaceMle);
    if (!hasLayoutLength(row.lengths, file, options))
        return rowLengthRejection("an .mle picture", row, file, options);
    return interlaced(file, 7, 256, {0, 9, 8, 5}, 0, options);
}

} // namespace quendra

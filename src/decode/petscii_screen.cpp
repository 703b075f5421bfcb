// PETSCII screens: screen codes and their colours, drawn with the C64's character set (the
// user's character ROM, or the stand-in font: character_rom.h).
//   .pet   2026 bytes: codes at 2, colours at 1026, background byte 1003 (1002, presumably
//          the border, is not shown)
//   .pet   4105 bytes beginning "PET2" in PETSCII (D0 C5 D4 32): codes at 55, colours at
//          1055, background 2056, its own set of 256 glyphs at 2057, drawn as they are
//   .pdr   2029 bytes: codes at 5, colours at 1029, background byte 3
//   .pbot  70 bytes (5 x 7 cells) or 384 (12 x 16): codes at 35 or 192, colours at 0, black
// With the C64's set, codes 128-255 are codes 0-127 inverted.
#include "decode/character_rom.h"
#include "decode/further_readers.h"
#include "decode/reader_checks.h"
#include "decode/row_facts.h"

namespace quendra {

namespace {

struct TextScreen {
    int columns, rows;
    std::size_t codes, colours;
    std::uint8_t background;
    const std::uint8_t* ownGlyphs = nullptr; // 256 glyphs, not inverted
};

Decoded drawScreen(const TextScreen& s, Bytes file, const DecodeOptions& options) {
    const CharacterRom& rom = characterRom();
    const bool standIn = !s.ownGlyphs && rom.standIn;
    Decoded d = acceptedPicture(options, 8 * s.columns, 8 * s.rows);
    if (standIn)
        d.note = "drawn with the stand-in font: no C64 character ROM (chargen) was found";
    const std::uint8_t background = s.background & 15;
    for (int r = 0; r < s.rows; ++r) {
        for (int c = 0; c < s.columns; ++c) {
            const std::size_t cell = static_cast<std::size_t>(r) * s.columns + c;
            const std::uint8_t code = file[s.codes + cell];
            const std::uint8_t ink = file[s.colours + cell] & 15;
            const std::uint8_t* glyph =
                s.ownGlyphs ? s.ownGlyphs + 8 * code : rom.glyphs.data() + 8 * (code & 127);
            const std::uint8_t invert = !s.ownGlyphs && code >= 128 ? 0xFF : 0;
            for (int k = 0; k < 8; ++k) {
                const std::uint8_t b = glyph[k] ^ invert;
                std::uint8_t* row = d.picture.row(8 * r + k) + 8 * c;
                for (int i = 0; i < 8; ++i)
                    row[i] = (b >> (7 - i)) & 1 ? ink : background;
            }
        }
    }
    return d;
}

} // namespace

// Its row's lengths: the plain screen's, then the one beginning with "PET2".
Decoded decodePetsciiScreen(Bytes file, const DecodeOptions& options) {
    const C64Format& row = formatRow(FormatId::petscii);
    if (hasLengthOneOf(file, options, {row.lengths[0]}))
        return drawScreen({40, 25, 2, 1026, file[1003]}, file, options);
    if (hasLengthOneOf(file, options, {row.lengths[1]}) && file[0] == 0xD0 && file[1] == 0xC5 &&
        file[2] == 0xD4 && file[3] == 0x32)
        return drawScreen({40, 25, 55, 1055, file[2056], file.data() + 2057}, file, options);
    return lengthRejection("a PETSCII screen",
                           std::to_string(row.lengths[0]) + ", or " +
                               std::to_string(row.lengths[1]) + " beginning with PET2",
                           file, options);
}

int probePetsciiScreen(Bytes file, std::uint64_t fileSize) {
    const C64Format& row = formatRow(FormatId::petscii);
    if (fileSize == row.lengths[1] && file.size() >= 4 && file[0] == 0xD0 && file[1] == 0xC5 &&
        file[2] == 0xD4 && file[3] == 0x32)
        return kProbeSignature;
    return fileSize == row.lengths[0] ? kProbeLength : 0;
}

Decoded decodePetsciiDraw(Bytes file, const DecodeOptions& options) {
    const C64Format& row = formatRow(FormatId::petsciiDraw);
    if (!hasLayoutLength(row.lengths, file, options))
        return rowLengthRejection("a .pdr PETSCII screen", row, file, options);
    return drawScreen({40, 25, 5, 1029, file[3]}, file, options);
}

int probePetsciiDraw(Bytes, std::uint64_t fileSize) {
    return takesLength(formatRow(FormatId::petsciiDraw), fileSize) ? kProbeLength : 0;
}

// Its row's lengths: the 5 x 7 screen's, then the 12 x 16 one's.
Decoded decodePetsciiBot(Bytes file, const DecodeOptions& options) {
    const C64Format& row = formatRow(FormatId::petsciiBot);
    if (hasLengthOneOf(file, options, {row.lengths[0]}))
        return drawScreen({5, 7, 35, 0, 0}, file, options);
    if (hasLengthOneOf(file, options, {row.lengths[1]}))
        return drawScreen({12, 16, 192, 0, 0}, file, options);
    return rowLengthRejection("a .pbot PETSCII screen", row, file, options);
}

int probePetsciiBot(Bytes, std::uint64_t fileSize) {
    return takesLength(formatRow(FormatId::petsciiBot), fileSize) ? kProbeLength : 0;
}

} // namespace quendra

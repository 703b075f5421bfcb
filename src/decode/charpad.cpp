// CharPad projects, version 5 (.ctm): a character set, optional tiles of characters and a
// map of tiles (or of characters), drawn as the map shows them.
//   0   "CTM" 5
//   4   background, multicolour 1, multicolour 2, character colour (method 0)
//   8   colour method: 0 one colour, 1 per tile, 2 per character
//   9   flags: bit 0 tiles, bit 1 character-expanded tiles, bit 2 multicolour
//   10  characters - 1, tiles - 1 (words), tile width and height (cells), map width and
//       height (words, in tiles or cells)
//   20  glyphs (8 a character), character colours, the tile table (a word a tile cell; not
//       with expanded tiles, whose cells are characters t * w * h on), tile colours (method
//       1), the map (a word a place); the file ends with the map.
// Without tiles each map word is the character of its cell: the tile count and size bytes
// are not read (tiles are 1 x 1 and there is no tile table).
// In a multicolour project every character is drawn multicolour, whatever bit 3 of its
// colour says (as the format is known to be read).
#include "decode/further_readers.h"
#include "decode/reader_checks.h"

namespace quendra {

namespace {

std::size_t word(Bytes file, std::size_t at) {
    return file[at] | std::size_t{file[at + 1]} << 8;
}

} // namespace

Decoded decodeCharPad(Bytes file, const DecodeOptions& options) {
    if (file.size() < 30 || file[0] != 'C' || file[1] != 'T' || file[2] != 'M')
        return Decoded::reject("a CharPad project begins with CTM");
    if (file[3] != 5)
        return Decoded::reject("this CharPad project is of version " + std::to_string(file[3]) +
                               ", only version 5 is read");
    if (reportedSize(file, options) != file.size())
        return Decoded::reject("this CharPad project is too large");
    const int method = file[8];
    const bool tiles = file[9] & 1, expanded = file[9] & 2, multicolour = file[9] & 4;
    const std::size_t characters = word(file, 10) + 1;
    const std::size_t tileCount = tiles ? word(file, 12) + 1 : 1;
    const std::size_t tileWidth = tiles ? file[14] : 1, tileHeight = tiles ? file[15] : 1;
    const std::size_t mapWidth = word(file, 16), mapHeight = word(file, 18);
    if (method > 2 || (method == 1 && !tiles))
        return Decoded::reject("this CharPad project's colour method is not one this "
                               "program reads");
    if (tileWidth == 0 || tileHeight == 0)
        return Decoded::reject("this CharPad project's tiles have no size");
    const std::size_t glyphs = 20, charColours = glyphs + 8 * characters;
    const std::size_t tileTable = charColours + characters;
    const std::size_t tileColours =
        tileTable + (tiles && !expanded ? 2 * tileCount * tileWidth * tileHeight : 0);
    const std::size_t map = tileColours + (method == 1 ? tileCount : 0);
    if (map + 2 * mapWidth * mapHeight != file.size())
        return Decoded::reject("this CharPad project does not end where its map does");
    const std::size_t width = 8 * mapWidth * tileWidth, height = 8 * mapHeight * tileHeight;
    if (width == 0 || height == 0 || width > 16384 || height > 16384)
        return Decoded::reject("this CharPad project's map has no size it can be shown "
                               "at");
    Decoded d = acceptedPicture(options, static_cast<int>(width), static_cast<int>(height));
    for (std::size_t cy = 0; cy < mapHeight * tileHeight; ++cy) {
        for (std::size_t cx = 0; cx < mapWidth * tileWidth; ++cx) {
            const std::size_t tile = word(file, map + 2 * (cy / tileHeight * mapWidth + cx / tileWidth));
            const std::size_t inTile = cy % tileHeight * tileWidth + cx % tileWidth;
            if (tiles && tile >= tileCount)
                return Decoded::reject("this CharPad project's map names a tile it "
                                       "does not hold");
            const std::size_t character =
                !tiles     ? tile
                : expanded ? tile * tileWidth * tileHeight + inTile
                           : word(file, tileTable + 2 * (tile * tileWidth * tileHeight + inTile));
            if (character >= characters)
                return Decoded::reject("this CharPad project names a character it "
                                       "does not hold");
            const std::uint8_t foreground = method == 0   ? file[7]
                                            : method == 1 ? file[tileColours + tile]
                                                          : file[charColours + character];
            const std::uint8_t colours[4] = {static_cast<std::uint8_t>(file[4] & 15),
                                             static_cast<std::uint8_t>(file[5] & 15),
                                             static_cast<std::uint8_t>(file[6] & 15),
                                             static_cast<std::uint8_t>(foreground & 7)};
            for (int k = 0; k < 8; ++k) {
                const std::uint8_t b = file[glyphs + 8 * character + k];
                std::uint8_t* row = d.picture.row(static_cast<int>(8 * cy) + k) + 8 * cx;
                for (int i = 0; i < 8; ++i) {
                    row[i] = multicolour ? colours[(b >> (6 - (i & 6))) & 3]
                             : (b >> (7 - i)) & 1
                                 ? static_cast<std::uint8_t>(foreground & 15)
                                 : colours[0];
                }
            }
        }
    }
    return d;
}

int probeCharPad(Bytes file, std::uint64_t) {
    return file.size() >= 4 && file[0] == 'C' && file[1] == 'T' && file[2] == 'M' && file[3] == 5
               ? kProbeSignature
               : 0;
}

} // namespace quendra

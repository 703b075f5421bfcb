// Doodle (.dd) and Doodle compressed (.jj): hires pictures, a memory image of the screen
// page and the bitmap that follows it 1024 bytes later.
// Doodle, 9218 bytes (or 9026, the same without the unused tail), loaded at $1C00 or $5C00:
//   0     2     load address
//   2     1000  screen memory: set pixels high nibble, clear pixels low nibble
//   1002  24    not used (rest of the screen page)
//   1026  8000  bitmap
//   9026  192   not used; missing in 9026-byte files
// Doodle compressed, at most 9218 bytes, loaded at $5C00:
//   0     2     load address $5C00
//   2     ...   run-length data, escape 0xFE value count (see rle.h), expanding to the
//               Doodle layout above without its load address. Bytes the data does not
//               reach stay 0.
#include <array>
#include <string>

#include "decode/cells.h"
#include "decode/load_address.h"
#include "decode/palette.h"
#include "decode/reader_checks.h"
#include "decode/readers.h"
#include "decode/rle.h"
#include "decode/row_facts.h"

namespace quendra {

namespace {

constexpr std::size_t kBitmapOffset = 1024;   // from the screen memory
constexpr std::size_t kCompressedStop = 9217; // expansion starts no item beyond this

Decoded drawn(const std::uint8_t* screenPage, const DecodeOptions& options) {
    Decoded d = Decoded::accept(options);
    d.picture.setPalette(c64Palette(options.grey));
    d.picture.setMeaning(IndexMeaning::c64Numbers, options.grey);
    decodeHires(d.picture, Bitmap(screenPage + kBitmapOffset, kBitmapBytes),
                CellBytes(screenPage, kScreenBytes));
    return d;
}

// The rows of the other Doodle extensions state the same facts.
const C64Format& doodleRow() {
    static const C64Format& row = formatRow(FormatId::doodle);
    return row;
}

const C64Format& compressedRow() {
    static const C64Format& row = formatRow(FormatId::doodleCompressed);
    return row;
}

} // namespace

Decoded decodeDoodle(Bytes file, const DecodeOptions& options) {
    const C64Format& row = doodleRow();
    if (!takesLength(row, file.size()))
        return rowLengthRejection("a Doodle picture", row, file, options);
    if (!loadsAtRowAddress(row, file))
        return rowAddressRejection("a Doodle picture", row, file);
    return drawn(file.data() + 2, options);
}

Decoded decodeDoodleCompressed(Bytes file, const DecodeOptions& options) {
    const C64Format& row = compressedRow();
    if (file.size() > row.packedUpTo)
        return packedLengthRejection("a Doodle compressed picture", row, file, options);
    if (!loadsAtRowAddress(row, file))
        return rowAddressRejection("a Doodle compressed picture", row, file);
    std::array<std::uint8_t, kCompressedStop + 254> data{};
    expandRuns(file.subspan(2), data, kCompressedStop, kDoodleRuns);
    return drawn(data.data(), options);
}

int probeDoodle(Bytes file, std::uint64_t fileSize) {
    const C64Format& row = doodleRow();
    return takesLength(row, fileSize) && loadsAtRowAddress(row, file) ? kProbeLengthAndAddress : 0;
}

int probeDoodleCompressed(Bytes file, std::uint64_t fileSize) {
    // Real files pack the screen page and the bitmap (9024 bytes), some the tail as well.
    return probePackedRuns(file, fileSize, compressedRow().loadAddresses[0],
                           kBitmapOffset + kBitmapBytes, kDoodleRuns);
}

} // namespace quendra

// Koala Painter and RunPaint: a plain memory image loaded at $6000.
//   0     2     load address $6000
//   2     8000  bitmap
//   8002  1000  screen memory
//   9002  1000  colour memory
//   10002 1     background
//   10003 3     only in 10006-byte files, not read
#include <string>

#include "decode/cells.h"
#include "decode/palette.h"
#include "decode/reader_checks.h"
#include "decode/readers.h"
#include "decode/row_facts.h"

namespace quendra {

namespace {
// RunPaint's row, which this reader reads too, states the same facts.
const C64Format& koalaRow() {
    static const C64Format& row = formatRow(FormatId::koala);
    return row;
}
} // namespace

Decoded decodeKoala(Bytes file, const DecodeOptions& options) {
    const C64Format& row = koalaRow();
    if (!takesLength(row, file.size()))
        return rowLengthRejection("a Koala picture", row, file, options);
    if (!loadsAtRowAddress(row, file))
        return Decoded::reject("a Koala picture loads at " + rowAddressesText(row));
    Decoded d = Decoded::accept(options);
    d.picture.setPalette(c64Palette(options.grey));
    d.picture.setMeaning(IndexMeaning::c64Numbers, options.grey);
    decodeKoalaLayout(d.picture, file.subspan<2, kKoalaDataBytes>());
    return d;
}

int probeKoala(Bytes file, std::uint64_t fileSize) {
    const C64Format& row = koalaRow();
    return takesLength(row, fileSize) && loadsAtRowAddress(row, file) ? kProbeLengthAndAddress : 0;
}

} // namespace quendra

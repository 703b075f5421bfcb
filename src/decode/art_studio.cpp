// Art Studio (.ocp): plain memory images loaded at $2000; the length tells the two kinds.
// Advanced Art Studio, multicolour, 10018 bytes:
//   0     2     load address $2000
//   2     8000  bitmap
//   8002  1000  screen memory
//   9002  1     not used
//   9003  1     background
//   9004  14    not used
//   9018  1000  colour memory
// Art Studio, hires, 9009 bytes:
//   0     2     load address $2000
//   2     8000  bitmap
//   8002  1000  screen memory
//   9002  7     not used
#include <string>

#include "decode/cells.h"
#include "decode/formats.h"
#include "decode/load_address.h"
#include "decode/palette.h"
#include "decode/reader_checks.h"
#include "decode/readers.h"
#include "decode/row_facts.h"

namespace quendra {

namespace {
// The row's lengths: the multicolour kind's, then the hires kind's.
const C64Format& artStudioRow() {
    static const C64Format& row = formatRow(FormatId::artStudio);
    return row;
}
} // namespace

Decoded decodeArtStudio(Bytes file, const DecodeOptions& options) {
    const C64Format& row = artStudioRow();
    if (!takesLength(row, file.size())) {
        return Decoded::reject("an Art Studio picture is " + std::to_string(row.lengths[0]) +
                               " bytes (multicolour) or " + std::to_string(row.lengths[1]) +
                               " bytes (hires) long, this one has " +
                               std::to_string(reportedSize(file, options)));
    }
    if (!loadsAtRowAddress(row, file))
        return rowAddressRejection("an Art Studio picture", row, file);
    Decoded d = Decoded::accept(options);
    d.picture.setPalette(c64Palette(options.grey));
    d.picture.setMeaning(IndexMeaning::c64Numbers, options.grey);
    if (file.size() == row.lengths[1]) {
        d.format = &formatRow(FormatId::artStudioHires); // the kind with a row of its own
        decodeHires(d.picture, file.subspan<2, kBitmapBytes>(), file.subspan<8002, kScreenBytes>());
    } else {
        decodeAdvancedArtStudioLayout(d.picture, file.subspan<2, kAdvancedArtStudioDataBytes>());
    }
    return d;
}

int probeArtStudio(Bytes file, std::uint64_t fileSize) {
    const C64Format& row = artStudioRow();
    return takesLength(row, fileSize) && loadsAtRowAddress(row, file) ? kProbeLengthAndAddress : 0;
}

} // namespace quendra

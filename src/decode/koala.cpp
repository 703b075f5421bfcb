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

namespace quendra {

Decoded decodeKoala(Bytes file, const DecodeOptions& options) {
    if (file.size() != 10003 && file.size() != 10006) {
        return Decoded::reject("a Koala picture is 10003 or 10006 bytes long, this one has " +
                               std::to_string(reportedSize(file, options)));
    }
    if (file[0] != 0x00 || file[1] != 0x60) {
        return Decoded::reject("a Koala picture loads at $6000");
    }
    Decoded d = Decoded::accept(options);
    d.picture.setPalette(c64Palette(options.grey));
    d.picture.setMeaning(IndexMeaning::c64Numbers, options.grey);
    decodeKoalaLayout(d.picture, file.subspan<2, kKoalaDataBytes>());
    return d;
}

int probeKoala(Bytes file, std::uint64_t fileSize) {
    return isOneOf(fileSize, {10003, 10006}) && hasLoadAddress(file, 0x6000)
               ? kProbeLengthAndAddress
               : 0;
}

} // namespace quendra

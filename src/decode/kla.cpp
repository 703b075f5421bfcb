// Koala Painter under .kla, as other programs name it. The load address is not checked:
// a PC editor writes $2000 instead of Koala's $6000.
//   10003 or 10006 bytes: load address, then Koala's memory image
//     2     8000  bitmap
//     8002  1000  screen memory
//     9002  1000  colour memory
//     10002 1     background
//     10003 3     only in 10006-byte files, not read
//   10001 bytes: the same memory image without a load address
//   any other length: Koala compressed (run-length data, escape 0xFE value count) from 2
#include "decode/cells.h"
#include "decode/packed_koala.h"
#include "decode/reader_checks.h"
#include "decode/readers.h"
#include "decode/row_facts.h"

namespace quendra {

namespace {
// Its plain lengths: the memory image alone (kKoalaDataBytes) or after a load address.
const C64Format& klaRow() {
    static const C64Format& row = formatRow(FormatId::kla);
    return row;
}
} // namespace

Decoded decodeKla(Bytes file, const DecodeOptions& options) {
    const C64Format& row = klaRow();
    if (hasLayoutLength(row.lengths, file, options)) {
        Decoded d = acceptedPicture(options);
        decodeKoalaLayout(d.picture, file.size() == kKoalaDataBytes
                                         ? file.first<kKoalaDataBytes>()
                                         : file.subspan<2, kKoalaDataBytes>());
        return d;
    }
    return decodePackedKoala(
        file, options,
        {"a compressed Koala picture", row.packedUpTo, row.loadAddresses[0], kKoalaRuns, false});
}

int probeKla(Bytes file, std::uint64_t fileSize) {
    // Only the plain lengths: packed data at any address could be anything.
    if (fileSize == kKoalaDataBytes)
        return kProbeLength;
    const C64Format& row = klaRow();
    return layoutScore(row.lengths, CellEvidence::lengthAndAddress, row.loadAddresses[0], file,
                       fileSize);
}

} // namespace quendra

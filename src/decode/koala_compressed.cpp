// Koala compressed (.gg): the 10001 data bytes of a Koala picture, run-length compressed.
//   0  2     load address $6000
//   2  ...   run-length data, escape 0xFE value count (see rle.h)
// Expanded: bitmap 8000, screen memory 1000, colour memory 1000, background 1. Bytes the
// data does not reach stay 0. Real files end with the background as a plain last byte.
#include "decode/cells.h"
#include "decode/packed_koala.h"
#include "decode/reader_checks.h"
#include "decode/readers.h"
#include "decode/row_facts.h"

namespace quendra {

Decoded decodeKoalaCompressed(Bytes file, const DecodeOptions& options) {
    static const C64Format& row = formatRow(FormatId::koalaCompressed);
    return decodePackedKoala(
        file, options,
        {"a Koala compressed picture", row.packedUpTo, row.loadAddresses[0], kKoalaRuns});
}

int probeKoalaCompressed(Bytes file, std::uint64_t fileSize) {
    static const C64Format& row = formatRow(FormatId::koalaCompressed);
    return probePackedRuns(file, fileSize, row.loadAddresses[0], kKoalaDataBytes, kKoalaRuns);
}

} // namespace quendra

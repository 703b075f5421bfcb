// Amica Paint (.ami): a multicolour picture, run-length compressed.
//   0  2     load address $4000
//   2  ...   run-length data, escape 0xC2 count value (see rle.h)
// Expanded: bitmap 8000, screen memory 1000, colour memory 1000, background 1, the same
// layout as Koala; real files hold 256 or 257 bytes more (10257 or 10258 in all). Bytes the
// data does not reach stay 0 (the format's rules accept such files). Real files end with
// the token 0xC2 0x00, which writes nothing.
#include "decode/cells.h"
#include "decode/packed_koala.h"
#include "decode/reader_checks.h"
#include "decode/readers.h"
#include "decode/row_facts.h"

namespace quendra {

Decoded decodeAmica(Bytes file, const DecodeOptions& options) {
    static const C64Format& row = formatRow(FormatId::amica);
    return decodePackedKoala(
        file, options,
        {"an Amica Paint picture", row.packedUpTo, row.loadAddresses[0], kAmicaRuns});
}

int probeAmica(Bytes file, std::uint64_t fileSize) {
    static const C64Format& row = formatRow(FormatId::amica);
    return probePackedRuns(file, fileSize, row.loadAddresses[0], kKoalaDataBytes, kAmicaRuns,
                           10258);
}

} // namespace quendra

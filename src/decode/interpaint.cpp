// Interpaint multicolour (.ipt): Koala's memory image, loaded at $4000 by real files.
//   0     2     load address, not checked
//   2     8000  bitmap
//   8002  1000  screen memory
//   9002  1000  colour memory
//   10002 1     background
#include "decode/readers.h"
#include "decode/cells.h"
#include "decode/reader_checks.h"

namespace quendra {

Decoded decodeInterpaint(Bytes file, const DecodeOptions& options) {
    constexpr std::string_view kSuffix = " (Interpaint)";
    if (!hasLengthOneOf(file, options, {10003}))
        return lengthRejection(kSuffix, "an Interpaint picture", "10003", file, options);
    Decoded d = acceptedPicture(kSuffix, options);
    decodeKoalaLayout(d.picture, file.subspan<2, kKoalaDataBytes>());
    return d;
}

int probeInterpaint(Bytes file, std::uint64_t fileSize) {
    // A 10003-byte file at another address is Koala's.
    return hasLoadAddress(file, 0x4000) ? probeLengthAndAddress(file, fileSize, {10003}, 0x4000)
                                        : 0;
}

} // namespace quendra

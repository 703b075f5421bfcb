// Saracen Paint (.sar): a multicolour memory image loaded at $7800 (not checked).
//   0     2     load address
//   2     1000  screen memory
//   1002  8     not used
//   1010  1     background, in the spare bytes after the screen
//   1011  15    not used
//   1026  8000  bitmap
//   9026  192   not used
//   9218  1000  colour memory
//   10218 1     not used
#include "decode/readers.h"
#include "decode/cells.h"
#include "decode/reader_checks.h"

namespace quendra {

Decoded decodeSaracenPaint(Bytes file, const DecodeOptions& options) {
    constexpr std::string_view kSuffix = " (Saracen Paint)";
    if (!hasLengthOneOf(file, options, {10219}))
        return lengthRejection(kSuffix, "a Saracen Paint picture", "10219", file, options);
    Decoded d = acceptedPicture(kSuffix, options);
    decodeMulticolour(d.picture, file.subspan<1026, kBitmapBytes>(),
                      file.subspan<2, kScreenBytes>(), file.subspan<9218, kScreenBytes>(),
                      file[1010]);
    return d;
}

int probeSaracenPaint(Bytes file, std::uint64_t fileSize) {
    return probeLengthAndAddress(file, fileSize, {10219}, 0x7800);
}

} // namespace quendra

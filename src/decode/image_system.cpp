// Image System multicolour (.ism): a multicolour memory image loaded at $3C00 (not checked).
//   0     2     load address
//   2     1000  colour memory
//   1002  24    not used
//   1026  8000  bitmap
//   9026  191   not used
//   9217  1     background, the byte before the screen
//   9218  1000  screen memory
#include "decode/readers.h"
#include "decode/cells.h"
#include "decode/reader_checks.h"

namespace quendra {

Decoded decodeImageSystem(Bytes file, const DecodeOptions& options) {
    constexpr std::string_view kSuffix = " (Image System)";
    if (!hasLengthOneOf(file, options, {10218}))
        return lengthRejection(kSuffix, "an Image System picture", "10218", file, options);
    Decoded d = acceptedPicture(kSuffix, options);
    decodeMulticolour(d.picture, file.subspan<1026, kBitmapBytes>(),
                      file.subspan<9218, kScreenBytes>(), file.subspan<2, kScreenBytes>(),
                      file[9217]);
    return d;
}

int probeImageSystem(Bytes file, std::uint64_t fileSize) {
    return probeLengthAndAddress(file, fileSize, {10218}, 0x3C00);
}

} // namespace quendra

// Artist 64 (.a64): a multicolour memory image loaded at $4000 (not checked).
//   0     2     load address
//   2     8000  bitmap
//   8002  192   not used
//   8194  1000  screen memory
//   9194  24    not used
//   9218  1000  colour memory
//   10218 23    not used
//   10241 1     background, the last byte
#include "decode/readers.h"
#include "decode/cells.h"
#include "decode/reader_checks.h"

namespace quendra {

Decoded decodeArtist64(Bytes file, const DecodeOptions& options) {
    constexpr std::string_view kSuffix = " (Artist 64)";
    if (!hasLengthOneOf(file, options, {10242}))
        return lengthRejection(kSuffix, "an Artist 64 picture", "10242", file, options);
    Decoded d = acceptedPicture(kSuffix, options);
    decodeMulticolour(d.picture, file.subspan<2, kBitmapBytes>(),
                      file.subspan<8194, kScreenBytes>(), file.subspan<9218, kScreenBytes>(),
                      file[10241]);
    return d;
}

int probeArtist64(Bytes file, std::uint64_t fileSize) {
    return probeLengthAndAddress(file, fileSize, {10242}, 0x4000);
}

} // namespace quendra

// Vidcom 64 (.vid): a multicolour memory image loaded at $5800 (not checked).
//   0     2     load address
//   2     1000  colour memory
//   1002  24    not used
//   1026  1000  screen memory
//   2026  1     background, in the spare bytes after the screen
//   2027  23    not used
//   2050  8000  bitmap
//   10050 192   not used; 10241- and 10242-byte files hold some of it
#include "decode/readers.h"
#include "decode/cells.h"
#include "decode/reader_checks.h"

namespace quendra {

Decoded decodeVidcom64(Bytes file, const DecodeOptions& options) {
    constexpr std::string_view kSuffix = " (Vidcom 64)";
    if (!hasLengthOneOf(file, options, {10050, 10241, 10242}))
        return lengthRejection(kSuffix, "a Vidcom 64 picture", "10050, 10241 or 10242", file,
                               options);
    Decoded d = acceptedPicture(kSuffix, options);
    decodeMulticolour(d.picture, file.subspan<2050, kBitmapBytes>(),
                      file.subspan<1026, kScreenBytes>(), file.subspan<2, kScreenBytes>(),
                      file[2026]);
    return d;
}

int probeVidcom64(Bytes file, std::uint64_t fileSize) {
    return probeLengthAndAddress(file, fileSize, {10050, 10241, 10242}, 0x5800);
}

} // namespace quendra

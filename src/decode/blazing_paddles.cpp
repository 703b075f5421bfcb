// Blazing Paddles (.pi): a multicolour memory image loaded at $A000 (not checked).
//   0     2     load address
//   2     8000  bitmap
//   8002  64    not used
//   8066  1     background, in the spare bytes after the bitmap
//   8067  127   not used
//   8194  1000  screen memory
//   9194  24    not used
//   9218  1000  colour memory
//   10218 24    not used
#include "decode/readers.h"
#include "decode/cells.h"
#include "decode/reader_checks.h"

namespace quendra {

Decoded decodeBlazingPaddles(Bytes file, const DecodeOptions& options) {
    constexpr std::string_view kSuffix = " (Blazing Paddles)";
    if (!hasLengthOneOf(file, options, {10242}))
        return lengthRejection(kSuffix, "a Blazing Paddles picture", "10242", file, options);
    Decoded d = acceptedPicture(kSuffix, options);
    decodeMulticolour(d.picture, file.subspan<2, kBitmapBytes>(),
                      file.subspan<8194, kScreenBytes>(), file.subspan<9218, kScreenBytes>(),
                      file[8066]);
    return d;
}

int probeBlazingPaddles(Bytes file, std::uint64_t fileSize) {
    return probeLengthAndAddress(file, fileSize, {10242}, 0xA000);
}

} // namespace quendra

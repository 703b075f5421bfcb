// Rainbow Painter (.rp): a multicolour memory image loaded at $5C00 (not checked). Not a
// Koala variant: the screen comes first and there is no background byte, so bit pairs
// 00 show black.
//   0     2     load address
//   2     1000  screen memory
//   1002  24    not used
//   1026  8000  bitmap
//   9026  192   not used
//   9218  1000  colour memory
//   10218 24    not used
#include "decode/readers.h"
#include "decode/cells.h"
#include "decode/reader_checks.h"

namespace quendra {

Decoded decodeRainbowPainter(Bytes file, const DecodeOptions& options) {
    constexpr std::string_view kSuffix = " (Rainbow Painter)";
    if (!hasLengthOneOf(file, options, {10242}))
        return lengthRejection(kSuffix, "a Rainbow Painter picture", "10242", file, options);
    Decoded d = acceptedPicture(kSuffix, options);
    decodeMulticolour(d.picture, file.subspan<1026, kBitmapBytes>(),
                      file.subspan<2, kScreenBytes>(), file.subspan<9218, kScreenBytes>(), 0);
    return d;
}

int probeRainbowPainter(Bytes file, std::uint64_t fileSize) {
    return probeLengthAndAddress(file, fileSize, {10242}, 0x5C00);
}

} // namespace quendra

// Hi-Eddi (.hed) and Image System hires (.ish): a bitmap block and a screen block as
// they lie in memory from $2000.
//   0     2     load address ($2000), not checked
//   2     8000  bitmap
//   8002  192   editor data, not shown
//   8194  1000  screen memory: set pixels high nibble, clear pixels low nibble
//   9194  24    rest of the screen block, not shown; Image System hires files end before it
#include "decode/readers.h"
#include "decode/cells.h"
#include "decode/reader_checks.h"

namespace quendra {

namespace {

Decoded drawn(Bytes file, const DecodeOptions& options, std::string_view suffix) {
    Decoded d = acceptedPicture(suffix, options);
    decodeHires(d.picture, file.subspan<2, kBitmapBytes>(), file.subspan<8194, kScreenBytes>());
    return d;
}

} // namespace

Decoded decodeHiEddi(Bytes file, const DecodeOptions& options) {
    constexpr std::string_view kSuffix = " (Hi-Eddi)";
    if (!hasLengthOneOf(file, options, {9218}))
        return lengthRejection(kSuffix, "a Hi-Eddi picture", "9218", file, options);
    return drawn(file, options, kSuffix);
}

int probeHiEddi(Bytes file, std::uint64_t fileSize) {
    return probeLengthAndAddress(file, fileSize, {9218}, 0x2000);
}

Decoded decodeImageSystemHires(Bytes file, const DecodeOptions& options) {
    constexpr std::string_view kSuffix = " (Image System HiRes)";
    if (!hasLengthOneOf(file, options, {9194}))
        return lengthRejection(kSuffix, "an Image System hires picture", "9194", file, options);
    return drawn(file, options, kSuffix);
}

int probeImageSystemHires(Bytes file, std::uint64_t fileSize) {
    return probeLengthAndAddress(file, fileSize, {9194}, 0x2000);
}

} // namespace quendra

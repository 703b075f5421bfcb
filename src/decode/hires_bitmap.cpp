// Plain hires bitmaps: a bitmap and nothing else, so the reader picks the two colours.
//   0     2     load address (mostly $2000), not checked
//   2     8000  bitmap
//   8002  192   only in 8194-byte files, not shown
// Most programs (.hbm, .fgs, .mon, .gcd, .hir, .hpi) mean set bits white on black; .gih
// and .rpo files mean set bits black on white and are 8002 bytes only.
#include <array>

#include "decode/readers.h"
#include "decode/cells.h"
#include "decode/reader_checks.h"

namespace quendra {

namespace {

constexpr std::string_view kSuffix = " (HiRes bitmap)";

// `cellColours` is the screen byte of every cell: set bits high nibble, clear bits low.
Decoded drawn(Bytes file, const DecodeOptions& options, std::uint8_t cellColours) {
    std::array<std::uint8_t, kScreenBytes> screen;
    screen.fill(cellColours);
    Decoded d = acceptedPicture(kSuffix, options);
    decodeHires(d.picture, file.subspan<2, kBitmapBytes>(), screen);
    return d;
}

} // namespace

Decoded decodeHiresBitmap(Bytes file, const DecodeOptions& options) {
    if (!hasLengthOneOf(file, options, {8002, 8194}))
        return lengthRejection(kSuffix, "a hires bitmap", "8002 or 8194", file, options);
    return drawn(file, options, 0x10); // white on black
}

int probeHiresBitmap(Bytes file, std::uint64_t fileSize) {
    return probeLengthAndAddress(file, fileSize, {8002, 8194}, 0x2000);
}

Decoded decodeHiresBitmapInverted(Bytes file, const DecodeOptions& options) {
    if (!hasLengthOneOf(file, options, {8002}))
        return lengthRejection(kSuffix, "an inverted hires bitmap", "8002", file, options);
    return drawn(file, options, 0x01); // black on white
}

int probeHiresBitmapInverted(Bytes file, std::uint64_t fileSize) {
    // Nothing in the file tells it from the plain kind, which the content keeps to.
    return fileSize == 8002 && file.size() >= 2 ? kProbeLength : 0;
}

} // namespace quendra

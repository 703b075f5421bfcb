// Hires Manager (.him): a hires FLI picture (cells.h) loaded at $4000, plain or packed. Its
// first cell row and the 24 pixels at the left of every line are not shown: 296 x 192.
// Plain, 16385 bytes:
//   0     2     load address $4000
//   2     8192  bitmap; its first cell row (320 bytes) is not shown
//   8194  8192  eight screens of 1024 bytes, screen k for pixel lines k, k + 8, ...
//   (byte 3, in the hidden first cell row, is $FF in plain files)
// Packed:
//   0     2     load address $4000
//   2     2     16381 + the file's length, low byte first
//   4     2     $F2 $7F
//   6     12    not read
//   18    ...   Hires Manager packer data (hires_manager_packer.h), read backwards from the
//               last byte, filling offsets 16371 down to 322 of the plain layout; the
//               rest stays 0
#include <array>
#include <string>

#include "decode/cells.h"
#include "decode/hires_manager_packer.h"
#include "decode/reader_checks.h"
#include "decode/readers.h"
#include "decode/row_facts.h"

namespace quendra {

namespace {

constexpr std::size_t kPlainLength = kHiresManagerLength;
constexpr std::size_t kPackedDataStart = 18;
constexpr std::size_t kUnpackedFirst = 322;  // first offset the packed data fills
constexpr std::size_t kUnpackedLast = 16371; // and its last
constexpr int kHiddenLeft = 24;              // pixels
constexpr int kHiddenTop = 8;                // lines
constexpr int kWidth = 320 - kHiddenLeft;
constexpr int kHeight = 200 - kHiddenTop;

const C64Format& hiresManagerRow() {
    static const C64Format& row = formatRow(FormatId::hiresManager);
    return row;
}

bool isPlain(Bytes file, std::uint64_t fileSize) {
    return fileSize == kPlainLength && file.size() > 3 && file[3] == 0xFF;
}

bool isPacked(Bytes file, std::uint64_t fileSize) {
    return file.size() >= kPackedDataStart &&
           static_cast<std::uint64_t>(file[2] | file[3] << 8) == 16381 + fileSize &&
           file[4] == 0xF2 && file[5] == 0x7F;
}

Decoded drawn(const std::array<std::uint8_t, kPlainLength>& image, const DecodeOptions& options) {
    IndexedImage screen; // the full 320 x 200
    decodeHiresFli(screen, Bitmap(image.data() + 2, kBitmapBytes),
                   FliScreens(image.data() + 8194, kFliScreensBytes));
    Decoded d = acceptedPicture(options, kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        const std::uint8_t* from = screen.row(y + kHiddenTop) + kHiddenLeft;
        std::copy(from, from + kWidth, d.picture.row(y));
    }
    return d;
}

} // namespace

Decoded decodeHiresManager(Bytes file, const DecodeOptions& options) {
    const C64Format& row = hiresManagerRow();
    if (!loadsAtRowAddress(row, file))
        return rowAddressRejection("a Hires Manager picture", row, file);
    const std::uint64_t size = reportedSize(file, options);
    std::array<std::uint8_t, kPlainLength> image{};
    if (isPlain(file, size) && file.size() == kPlainLength) {
        std::copy(file.begin(), file.end(), image.begin());
        return drawn(image, options);
    }
    if (isPacked(file, size) && file.size() == size) {
        const auto out =
            std::span(image).subspan(kUnpackedFirst, kUnpackedLast - kUnpackedFirst + 1);
        if (!unpackHiresManager(file.subspan(kPackedDataStart), out)) {
            return Decoded::reject("the packed Hires Manager data ends before the "
                                   "picture is complete, or holds a run of 0 bytes");
        }
        return drawn(image, options);
    }
    return Decoded::reject(
        "a Hires Manager picture is " + std::to_string(kPlainLength) +
        " bytes with $FF at offset 3, or packed with its length + 16381 at offset 2 and $F2 "
        "$7F at offset 4; this one has " +
        std::to_string(size) + " bytes and neither");
}

int probeHiresManager(Bytes file, std::uint64_t fileSize) {
    if (!loadsAtRowAddress(hiresManagerRow(), file))
        return 0;
    return isPlain(file, fileSize) || isPacked(file, fileSize) ? kProbeSignature : 0;
}

} // namespace quendra

// Drazlace: an interlaced multicolour picture at $5800; the two frames differ only in
// their bitmaps.
//   0      2     load address $5800
//   2      1000  colour memory (+24 unused)
//   1026   1000  screen (+24 unused)
//   2050   8000  bitmap of the first frame
//   10050  1     background
//   10052  1     0: the frames lie one on the other; 1: the second is one pixel to the right
//   10242  8000  bitmap of the second frame
// A file holding "DRAZLACE! 1.0" after its load address is packed (draz_packer.h) and
// unpacks to the 18240 bytes that follow the load address; any other file is plain and
// 18242 bytes long.
#include <array>
#include <string>

#include "decode/blend.h"
#include "decode/draz_packer.h"
#include "decode/fli.h"
#include "decode/fli_readers.h"
#include "decode/formats.h"

namespace quendra {

namespace {

constexpr std::string_view kName = "DRAZLACE! 1.0";
constexpr std::size_t kLength = kDrazlaceLength;
constexpr std::size_t kColour = 0; // offsets after the load address
constexpr std::size_t kScreen = 1024;
constexpr std::size_t kFirstBitmap = 2048;
constexpr std::size_t kBackground = 10048;
constexpr std::size_t kShift = 10050;
constexpr std::size_t kSecondBitmap = 10240;

} // namespace

Decoded decodeDrazlace(Bytes file, const DecodeOptions& options) {
    std::array<std::uint8_t, kLength - 2> unpacked;
    const std::uint8_t* data;
    if (hasDrazName(file, kName)) {
        if (!unpackDraz(file, unpacked))
            return Decoded::reject("the packed Drazlace data ends before the picture");
        data = unpacked.data();
    } else if (file.size() == kLength) {
        data = file.data() + 2;
    } else {
        return Decoded::reject(fli::lengthReason("a Drazlace picture without the name "
                                                 "DRAZLACE! 1.0 (packed)",
                                                 std::to_string(kLength), file, options));
    }
    const std::uint8_t shift = data[kShift];
    if (shift > 1) {
        return Decoded::reject("the Drazlace shift byte is 0 or 1, this one is " +
                               std::to_string(shift));
    }
    Decoded d = fli::accepted(options, fli::kScreenWidth, fli::kLines, fli::Colours::mixed);
    const fli::SameBackground background(data[kBackground]);
    const fli::FrameMemory first{.bitmap = data + kFirstBitmap,
                                 .screens = data + kScreen,
                                 .colour = data + kColour,
                                 .backgrounds = background.lines};
    fli::FrameMemory second = first;
    second.bitmap = data + kSecondBitmap;
    fli::drawMix(d.picture, first, second, 0, shift);
    return d;
}

int probeDrazlace(Bytes file, std::uint64_t fileSize) {
    if (hasDrazName(file, kName))
        return fli::kProbeSignature;
    static const C64Format& row = formatRow(FormatId::drazlace);
    return fileSize == kLength ? fli::sizeScore(file, row.loadAddresses[0]) : 0;
}

} // namespace quendra

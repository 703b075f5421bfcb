// Drazpaint: a multicolour picture at $5800.
//   0      2     load address $5800
//   2      1000  colour memory (+24 unused)
//   1026   1000  screen (+24 unused)
//   2050   8000  bitmap
//   10050  1     background
// A file holding "DRAZPAINT 1.4" after its load address is packed (draz_packer.h) and
// unpacks to the 10049 bytes that follow the load address; any other file is plain and
// 10051 bytes long.
#include <array>

#include "decode/cells.h"
#include "decode/draz_packer.h"
#include "decode/fli.h"
#include "decode/fli_readers.h"
#include "decode/palette.h"

namespace quendra {

namespace {

constexpr std::string_view kName = "DRAZPAINT 1.4";
constexpr std::size_t kLength = 10051;
constexpr std::size_t kColour = 0; // offsets after the load address
constexpr std::size_t kScreen = 1024;
constexpr std::size_t kBitmap = 2048;
constexpr std::size_t kBackground = 10048;

} // namespace

Decoded decodeDrazpaint(Bytes file, const DecodeOptions& options) {
    std::array<std::uint8_t, kLength - 2> unpacked;
    const std::uint8_t* data;
    if (hasDrazName(file, kName)) {
        if (!unpackDraz(file, unpacked))
            return Decoded::reject("the packed Drazpaint data ends before the picture");
        data = unpacked.data();
    } else if (file.size() == kLength) {
        data = file.data() + 2;
    } else {
        return Decoded::reject(fli::lengthReason("a Drazpaint picture without the name "
                                                 "DRAZPAINT 1.4 (packed)",
                                                 "10051", file, options));
    }
    Decoded d = fli::accepted(options, fli::kScreenWidth, fli::kLines, fli::Colours::single);
    decodeMulticolour(d.picture, Bitmap(data + kBitmap, kBitmapBytes),
                      CellBytes(data + kScreen, kScreenBytes),
                      CellBytes(data + kColour, kScreenBytes), data[kBackground]);
    return d;
}

int probeDrazpaint(Bytes file, std::uint64_t fileSize) {
    if (hasDrazName(file, kName))
        return fli::kProbeSignature;
    return fileSize == kLength ? fli::sizeScore(file, 0x5800) : 0;
}

} // namespace quendra

// Art Studio (.ocp): plain memory images loaded at $2000; the length tells the two kinds.
// Advanced Art Studio, multicolour, 10018 bytes:
//   0     2     load address $2000
//   2     8000  bitmap
//   8002  1000  screen memory
//   9002  1     not used
//   9003  1     background
//   9004  14    not used
//   9018  1000  colour memory
// Art Studio, hires, 9009 bytes:
//   0     2     load address $2000
//   2     8000  bitmap
//   8002  1000  screen memory
//   9002  7     not used
#include <string>

#include "decode/cells.h"
#include "decode/formats.h"
#include "decode/load_address.h"
#include "decode/palette.h"
#include "decode/reader_checks.h"
#include "decode/readers.h"

namespace quendra {

namespace {
constexpr std::size_t kMulticolourLength = 10018;
constexpr std::size_t kHiresLength = 9009;
} // namespace

Decoded decodeArtStudio(Bytes file, const DecodeOptions& options) {
    if (file.size() != kMulticolourLength && file.size() != kHiresLength) {
        return Decoded::reject("an Art Studio picture is 10018 bytes (multicolour) or 9009 bytes "
                               "(hires) long, this one has " +
                               std::to_string(reportedSize(file, options)));
    }
    if (!hasLoadAddress(file, 0x2000)) {
        return Decoded::reject(loadAddressReason("an Art Studio picture", "$2000", file));
    }
    Decoded d = Decoded::accept(options);
    d.picture.setPalette(c64Palette(options.grey));
    d.picture.setMeaning(IndexMeaning::c64Numbers, options.grey);
    if (file.size() == kHiresLength) {
        d.format = findFormat("Art Studio hires"); // the kind with a row of its own
        decodeHires(d.picture, file.subspan<2, kBitmapBytes>(), file.subspan<8002, kScreenBytes>());
    } else {
        decodeAdvancedArtStudioLayout(d.picture, file.subspan<2, kAdvancedArtStudioDataBytes>());
    }
    return d;
}

int probeArtStudio(Bytes file, std::uint64_t fileSize) {
    return isOneOf(fileSize, {kMulticolourLength, kHiresLength}) && hasLoadAddress(file, 0x2000)
               ? kProbeLengthAndAddress
               : 0;
}

} // namespace quendra

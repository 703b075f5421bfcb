// Paint Magic (.pmg): a program that shows the picture it carries. Loaded at $0801 it runs
// (a BASIC line SYS 2070 and a small viewer); loaded at $3F8E, where real files point, the
// picture lies from $4000. The load address is not checked.
//   0     2     load address
//   2     114   BASIC line (SYS 2070 at 6) and the viewer
//   116   8000  bitmap
//   8116  1     background
//   8117  2     not used
//   8119  1     colour memory: one value for every cell
//   8120  1     border colour, not shown
//   8121  187   not used
//   8308  1000  screen memory
//   9308  24    not used
#include <array>

#include "decode/readers.h"
#include "decode/cells.h"
#include "decode/reader_checks.h"

namespace quendra {

Decoded decodePaintMagic(Bytes file, const DecodeOptions& options) {
    constexpr std::string_view kSuffix = " (Paint Magic)";
    if (!hasLengthOneOf(file, options, {9332}))
        return lengthRejection(kSuffix, "a Paint Magic picture", "9332", file, options);
    std::array<std::uint8_t, kScreenBytes> colour;
    colour.fill(file[8119]);
    Decoded d = acceptedPicture(kSuffix, options);
    decodeMulticolour(d.picture, file.subspan<116, kBitmapBytes>(),
                      file.subspan<8308, kScreenBytes>(), colour, file[8116]);
    return d;
}

int probePaintMagic(Bytes file, std::uint64_t fileSize) {
    if (fileSize != 9332)
        return 0;
    constexpr std::uint8_t kSys2070[] = {0x9E, '2', '0', '7', '0'}; // the BASIC line's SYS
    const bool runs =
        file.size() >= 11 && std::equal(std::begin(kSys2070), std::end(kSys2070), file.begin() + 6);
    return runs ? kProbeSignature : kProbeLength;
}

} // namespace quendra

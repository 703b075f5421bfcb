// BFLI: a multicolour FLI picture of 400 lines on a black background, loaded at $3BFF.
//   0      2         load address $3BFF
//   2      1         'b'
//   3      1024      colour memory, all 1024 bytes used by the two halves
//   1027   8 x 1024  screens 0..7 of the upper half
//   9219   8192      bitmap of the upper half
//   17411  8 x 1024  screens 0..7 of the lower half
//   25603  8192      bitmap of the lower half
// Lines 0..199 are the upper half, lines 200..399 the lower half. The lower half goes on
// counting cells where the upper half stopped, wrapping at 1024: its cell 40 * row + column
// is cell (1000 + 40 * row + column) & 1023 of its bitmap, its screens and the colour memory.
#include "decode/fli.h"
#include "decode/fli_readers.h"
#include "decode/palette.h"

namespace quendra {

namespace {

constexpr std::size_t kLength = 33795;
constexpr std::size_t kColour = 3;
constexpr std::size_t kUpperScreens = 1027;
constexpr std::size_t kUpperBitmap = 9219;
constexpr std::size_t kLowerScreens = 17411;
constexpr std::size_t kLowerBitmap = 25603;

} // namespace

Decoded decodeBfli(Bytes file, const DecodeOptions& options) {
    if (file.size() != kLength)
        return Decoded::reject(fli::lengthReason("a BFLI picture", "33795", file, options));
    if (file[2] != 'b')
        return Decoded::reject("a BFLI picture has a 'b' after its load address");
    Decoded d = fli::accepted(options, fli::kWidth, 2 * fli::kLines, fli::Colours::single);
    const fli::SameBackground black(0);
    const fli::FrameMemory upper{.bitmap = file.data() + kUpperBitmap,
                                 .screens = file.data() + kUpperScreens,
                                 .screenStride = fli::kScreenStride,
                                 .colour = file.data() + kColour,
                                 .backgrounds = black.lines};
    fli::FrameMemory lower = upper;
    lower.bitmap = file.data() + kLowerBitmap;
    lower.screens = file.data() + kLowerScreens;
    lower.cellBase = 1000;
    fli::drawFrame(d.picture, upper, 0, fli::kLines, fli::kBugStrip);
    fli::drawFrame(d.picture, lower, fli::kLines, fli::kLines, fli::kBugStrip);
    return d;
}

int probeBfli(Bytes file, std::uint64_t fileSize) {
    if (fileSize != kLength)
        return 0;
    return file.size() > 2 && file[2] == 'b' ? fli::kProbeSignature : 0;
}

} // namespace quendra

// AFLI: a hires FLI picture at $4000, no colour memory, no background.
//   0     2         load address $4000
//   2     8 x 1024  screens 0..7 (1000 used each)
//   8194  8000      bitmap
//   16194 191       unused
// Pixel line y takes the two colours of its cells from screen y & 7.
#include "decode/fli.h"
#include "decode/fli_readers.h"
#include "decode/palette.h"

namespace quendra {

namespace {

constexpr std::size_t kLength = 16385;
constexpr std::size_t kScreens = 2;
constexpr std::size_t kBitmap = 8194;

} // namespace

Decoded decodeAfli(Bytes file, const DecodeOptions& options) {
    if (file.size() != kLength)
        return Decoded::reject(fli::lengthReason("an AFLI picture", "16385", file, options));
    Decoded d = fli::accepted(options, fli::kWidth, fli::kLines, fli::Colours::single);
    const fli::FrameMemory frame{.bitmap = file.data() + kBitmap,
                                 .screens = file.data() + kScreens,
                                 .screenStride = fli::kScreenStride,
                                 .hires = true};
    fli::drawFrame(d.picture, frame, 0, fli::kLines, fli::kBugStrip);
    return d;
}

int probeAfli(Bytes file, std::uint64_t fileSize) {
    return fileSize == kLength ? fli::sizeScore(file, 0x4000) : 0;
}

} // namespace quendra

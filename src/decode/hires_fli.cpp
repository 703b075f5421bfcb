// Hires FLI by Crest: a hires FLI picture at $4000, bitmap first (the reverse of AFLI).
//   0     2         load address $4000
//   2     8192      bitmap (8000 used)
//   8194  8 x 1024  screens 0..7
// Only the top 14 cell rows are shown: 296 x 112.
#include "decode/fli.h"
#include "decode/fli_readers.h"
#include "decode/palette.h"

namespace quendra {

namespace {

constexpr std::size_t kLength = 16386;
constexpr std::size_t kBitmap = 2;
constexpr std::size_t kScreens = 8194;
constexpr int kLines = 112;

} // namespace

Decoded decodeHiresFli(Bytes file, const DecodeOptions& options) {
    if (file.size() != kLength) {
        return Decoded::reject(fli::lengthReason("a Hires FLI picture", "16386", file, options));
    }
    Decoded d = fli::accepted(options, fli::kWidth, kLines, fli::Colours::single);
    const fli::FrameMemory frame{.bitmap = file.data() + kBitmap,
                                 .screens = file.data() + kScreens,
                                 .screenStride = fli::kScreenStride,
                                 .hires = true};
    fli::drawFrame(d.picture, frame, 0, kLines, fli::kBugStrip);
    return d;
}

int probeHiresFli(Bytes file, std::uint64_t fileSize) {
    return fileSize == kLength ? fli::sizeScore(file, 0x4000) : 0;
}

} // namespace quendra

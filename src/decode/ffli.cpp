// FFLI: an interlaced multicolour FLI picture loaded at $3AFF. The two frames share the
// bitmap and the colour memory and differ in their screens and line backgrounds; they lie
// one on the other.
//   0      2         load address $3AFF
//   2      1         'f'
//   3      256       backgrounds of pixel lines 0..199, first frame
//   259    1024      colour memory (1000 used)
//   1283   8 x 1024  screens 0..7 of the first frame
//   9475   8192      bitmap (8000 used)
//   17667  8 x 1024  screens 0..7 of the second frame
//   25859  256       backgrounds of pixel lines 0..199, second frame
#include "decode/blend.h"
#include "decode/fli.h"
#include "decode/fli_readers.h"

namespace quendra {

namespace {

constexpr std::size_t kLength = 26115;
constexpr std::size_t kFirstBackgrounds = 3;
constexpr std::size_t kColour = 259;
constexpr std::size_t kFirstScreens = 1283;
constexpr std::size_t kBitmap = 9475;
constexpr std::size_t kSecondScreens = 17667;
constexpr std::size_t kSecondBackgrounds = 25859;

} // namespace

Decoded decodeFfli(Bytes file, const DecodeOptions& options) {
    if (file.size() != kLength)
        return Decoded::reject(fli::lengthReason("an FFLI picture", "26115", file, options));
    if (file[2] != 'f')
        return Decoded::reject("an FFLI picture has an 'f' after its load address");
    Decoded d = fli::accepted(options, fli::kWidth, fli::kLines, fli::Colours::mixed);
    const fli::FrameMemory first{.bitmap = file.data() + kBitmap,
                                 .screens = file.data() + kFirstScreens,
                                 .screenStride = fli::kScreenStride,
                                 .colour = file.data() + kColour,
                                 .backgrounds = file.data() + kFirstBackgrounds};
    fli::FrameMemory second = first;
    second.screens = file.data() + kSecondScreens;
    second.backgrounds = file.data() + kSecondBackgrounds;
    fli::drawMix(d.picture, first, second, fli::kBugStrip, 0);
    return d;
}

int probeFfli(Bytes file, std::uint64_t fileSize) {
    if (fileSize != kLength)
        return 0;
    return file.size() > 2 && file[2] == 'f' ? fli::kProbeSignature : 0;
}

} // namespace quendra

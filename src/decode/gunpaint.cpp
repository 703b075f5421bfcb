// Gunpaint: an interlaced multicolour FLI picture at $4000; the second frame is shown one
// pixel to the right of the first, and both share the colour memory and the line backgrounds.
//   0      2         load address $4000
//   2      8 x 1024  screens 0..7 of the first frame
//   1002   16        "GUNPAINT (JZ)   " in the unused bytes of screen 0
//   8194   8000      bitmap of the first frame
//   16209  177       backgrounds of pixel lines 0..176
//   16386  1000      colour memory (+24 unused)
//   17410  8 x 1024  screens 0..7 of the second frame
//   18410  20        backgrounds of pixel lines 177..196 (lines 197..199 repeat line 196's)
//   25602  8000      bitmap of the second frame
//   33602            end; 33603-byte files carry one more byte
#include <algorithm>

#include "decode/blend.h"
#include "decode/fli.h"
#include "decode/fli_readers.h"
#include "decode/row_facts.h"

namespace quendra {

namespace {

constexpr std::string_view kName = "GUNPAINT (JZ)   ";
constexpr std::size_t kFirstScreens = 2;
constexpr std::size_t kNameAt = 1002;
constexpr std::size_t kFirstBitmap = 8194;
constexpr std::size_t kUpperBackgrounds = 16209;
constexpr std::size_t kColour = 16386;
constexpr std::size_t kSecondScreens = 17410;
constexpr std::size_t kLowerBackgrounds = 18410;
constexpr std::size_t kSecondBitmap = 25602;

// The .ifl row states the same facts.
const C64Format& gunpaintRow() {
    static const C64Format& row = formatRow(FormatId::gunpaint);
    return row;
}

} // namespace

Decoded decodeGunpaint(Bytes file, const DecodeOptions& options) {
    if (!takesLength(gunpaintRow(), file.size()))
        return rowLengthRejection("a Gunpaint picture", gunpaintRow(), file, options);
    Decoded d = fli::accepted(options, fli::kWidth, fli::kLines, fli::Colours::mixed);
    std::uint8_t backgrounds[fli::kLines];
    std::copy_n(file.data() + kUpperBackgrounds, 177, backgrounds);
    std::copy_n(file.data() + kLowerBackgrounds, 20, backgrounds + 177);
    std::fill(backgrounds + 197, backgrounds + 200, backgrounds[196]);
    const fli::FrameMemory first{.bitmap = file.data() + kFirstBitmap,
                                 .screens = file.data() + kFirstScreens,
                                 .screenStride = fli::kScreenStride,
                                 .colour = file.data() + kColour,
                                 .backgrounds = backgrounds};
    fli::FrameMemory second = first;
    second.bitmap = file.data() + kSecondBitmap;
    second.screens = file.data() + kSecondScreens;
    fli::drawMix(d.picture, first, second, fli::kBugStrip, 1);
    return d;
}

int probeGunpaint(Bytes file, std::uint64_t fileSize) {
    if (!takesLength(gunpaintRow(), fileSize))
        return 0;
    const bool named = file.size() >= kNameAt + kName.size() &&
                       std::equal(kName.begin(), kName.end(), file.begin() + kNameAt);
    return named ? fli::kProbeSignature : fli::sizeScore(file, gunpaintRow().loadAddresses[0]);
}

} // namespace quendra

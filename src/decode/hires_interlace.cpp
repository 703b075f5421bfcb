// Hires-Interlace by Feniks: an interlaced hires picture at $2000; the frames lie one on
// the other.
//   0      2     load address $2000
//   2      8000  bitmap of the first frame (+1216 unused)
//   9218   1000  screen of the second frame (+24 unused)
//   10242  1000  screen of the first frame
//   16386  8000  bitmap of the second frame (+192 unused)
//   24578        end
#include "decode/blend.h"
#include "decode/fli.h"
#include "decode/fli_readers.h"

namespace quendra {

namespace {

constexpr std::size_t kLength = 24578;
constexpr std::size_t kFirstBitmap = 2;
constexpr std::size_t kSecondScreen = 9218;
constexpr std::size_t kFirstScreen = 10242;
constexpr std::size_t kSecondBitmap = 16386;

} // namespace

Decoded decodeHiresInterlace(Bytes file, const DecodeOptions& options) {
    if (file.size() != kLength) {
        return Decoded::reject(
            fli::lengthReason("a Hires-Interlace picture", "24578", file, options));
    }
    Decoded d = fli::accepted(options, fli::kScreenWidth, fli::kLines, fli::Colours::mixed);
    const fli::FrameMemory first{
        .bitmap = file.data() + kFirstBitmap, .screens = file.data() + kFirstScreen, .hires = true};
    fli::FrameMemory second = first;
    second.bitmap = file.data() + kSecondBitmap;
    second.screens = file.data() + kSecondScreen;
    fli::drawMix(d.picture, first, second, 0, 0);
    return d;
}

int probeHiresInterlace(Bytes file, std::uint64_t fileSize) {
    return fileSize == kLength ? fli::sizeScore(file, 0x2000) : 0;
}

} // namespace quendra

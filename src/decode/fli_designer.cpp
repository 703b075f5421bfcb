// FLI Designer: a multicolour FLI picture on a black background, at $3C00.
//   0     2         load address $3C00
//   2     1024      colour memory (1000 used)
//   1026  8 x 1024  screens 0..7 (1000 used each)
//   9218  8000      bitmap
//   17218           end; 17409-byte files run on to $7FFF
// A .fli of any other length is an FLI Graph picture (fli_graph.cpp), unless it loads at
// $3C00.
#include "decode/fli.h"
#include "decode/fli_readers.h"
#include "decode/formats.h"
#include "decode/palette.h"

namespace quendra {

namespace {

constexpr std::size_t kColour = 2;
constexpr std::size_t kScreens = 1026;
constexpr std::size_t kBitmap = 9218;

bool designerLength(std::size_t size) {
    return size == 17218 || size == 17409;
}

} // namespace

Decoded decodeFliDesigner(Bytes file, const DecodeOptions& options) {
    if (!designerLength(file.size())) {
        // Another length at FLI Designer's own address is a cut or padded FLI Designer
        // file, not FLI Graph's.
        if (file.size() < 5 || fli::startsWith(file, 0x3C00)) {
            return Decoded::reject(
                fli::lengthReason("an FLI picture", "17218 or 17409", file, options));
        }
        Decoded graph = decodeFliGraph(file, options);
        graph.format = formatReadBy(decodeFliGraph);
        return graph;
    }
    Decoded d = fli::accepted(options, fli::kWidth, fli::kLines, fli::Colours::single);
    const fli::SameBackground black(0);
    const fli::FrameMemory frame{.bitmap = file.data() + kBitmap,
                                 .screens = file.data() + kScreens,
                                 .screenStride = fli::kScreenStride,
                                 .colour = file.data() + kColour,
                                 .backgrounds = black.lines};
    fli::drawFrame(d.picture, frame, 0, fli::kLines, fli::kBugStrip);
    return d;
}

int probeFliDesigner(Bytes file, std::uint64_t fileSize) {
    return designerLength(fileSize) ? fli::sizeScore(file, 0x3C00) : 0;
}

} // namespace quendra

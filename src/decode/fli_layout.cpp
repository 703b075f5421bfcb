#include "decode/fli_layout.h"

#include <algorithm>
#include <string>

#include "decode/fli.h"
#include "decode/formats.h"

namespace quendra {

namespace {

bool hasSignature(const C64Format& format, Bytes file) {
    const std::string_view signature = format.signature;
    return file.size() >= format.signatureOffset + signature.size() &&
           std::equal(signature.begin(), signature.end(),
                      file.begin() + static_cast<std::ptrdiff_t>(format.signatureOffset));
}

std::string signatureReason(const C64Format& format) {
    return std::string(format.fli.what) + " has '" + std::string(format.signature) + "' " +
           (format.signatureOffset == 2 ? std::string("after its load address")
                                        : "at byte " + std::to_string(format.signatureOffset));
}

} // namespace

Decoded decodeFliLayout(const C64Format& format, Bytes file, const DecodeOptions& options) {
    const FliLayout& layout = format.fli;
    if (layout.kind == FliKind::none)
        return Decoded::reject("no FLI layout");
    if (!hasLayoutLength(layout.lengths, file, options))
        return layoutLengthRejection(layout.what, layout.lengths, file, options);
    if (!hasSignature(format, file))
        return Decoded::reject(signatureReason(format));
    const bool mixed = layout.shows == FliFrames::mixed;
    const int left = layout.screenPerLine ? fli::kBugStrip : 0;
    const int height = layout.shows == FliFrames::stacked ? 2 * layout.lines : layout.lines;
    Decoded d = fli::accepted(options, fli::kScreenWidth - left, height,
                              mixed ? fli::Colours::mixed : fli::Colours::single);
    const fli::SameBackground oneBackground(layout.background == kAbsent ? std::uint8_t{0}
                                                                         : file[layout.background]);
    const auto memory = [&](const FliFrame& frame, int cellBase) {
        return fli::FrameMemory{
            .bitmap = file.data() + frame.bitmap,
            .screens = file.data() + frame.screens,
            .screenStride = layout.screenPerLine ? fli::kScreenStride : 0,
            .colour = layout.colour == kAbsent ? nullptr : file.data() + layout.colour,
            .backgrounds = frame.backgrounds == kAbsent ? oneBackground.lines
                                                        : file.data() + frame.backgrounds,
            .cellBase = cellBase,
            .hires = layout.kind == FliKind::hires};
    };
    const fli::FrameMemory first = memory(layout.frames[0], 0);
    switch (layout.shows) {
    case FliFrames::one:
        fli::drawFrame(d.picture, first, 0, layout.lines, left, layout.firstLine);
        break;
    case FliFrames::stacked:
        // The lower frame goes on counting cells where the upper one stopped.
        fli::drawFrame(d.picture, first, 0, layout.lines, left, layout.firstLine);
        fli::drawFrame(d.picture, memory(layout.frames[1], 1000), layout.lines, layout.lines, left,
                       layout.firstLine);
        break;
    case FliFrames::mixed:
        fli::drawMix(d.picture, first, memory(layout.frames[1], 0), left, layout.shift);
        break;
    }
    return d;
}

int probeFliLayout(const C64Format& format, Bytes file, std::uint64_t fileSize) {
    const FliLayout& layout = format.fli;
    if (layout.kind == FliKind::none)
        return 0;
    if (!format.signature.empty()) {
        return layoutScore(layout.lengths, CellEvidence::lengthOnly, 0, file, fileSize) != 0 &&
                       hasSignature(format, file)
                   ? kProbeSignature
                   : 0;
    }
    return layoutScore(layout.lengths, layout.evidence, format.loadAddresses[0], file, fileSize);
}

} // namespace quendra

#include "decode/cell_layout.h"

#include <algorithm>
#include <array>

#include "decode/cells.h"
#include "decode/formats.h"
#include "decode/reader_checks.h"

namespace quendra {

namespace {

bool takesLength(const LayoutLengths& lengths, std::uint64_t length) {
    return length != 0 && std::ranges::find(lengths, length) != lengths.end();
}

} // namespace

std::string lengthsText(const LayoutLengths& lengths) {
    std::string text;
    const auto used = std::ranges::count_if(lengths, [](auto l) { return l != 0; });
    for (std::ptrdiff_t i = 0; i < used; ++i) {
        if (i > 0)
            text += i + 1 == used ? " or " : ", ";
        text += std::to_string(lengths[static_cast<std::size_t>(i)]);
    }
    return text;
}

bool hasLayoutLength(const LayoutLengths& lengths, Bytes file, const DecodeOptions& options) {
    // A longer file arrives cut at the read limit: its own size decides where known.
    return takesLength(lengths, file.size()) && reportedSize(file, options) == file.size();
}

Decoded layoutLengthRejection(std::string_view what, const LayoutLengths& lengths, Bytes file,
                              const DecodeOptions& options) {
    return lengthRejection(what, lengthsText(lengths), file, options);
}

int layoutScore(const LayoutLengths& lengths, CellEvidence evidence, std::uint16_t loadAddress,
                Bytes file, std::uint64_t fileSize) {
    if (!takesLength(lengths, fileSize))
        return 0;
    const bool atAddress = hasLoadAddress(file, loadAddress);
    switch (evidence) {
    case CellEvidence::lengthAndAddress:
        return atAddress ? kProbeLengthAndAddress : kProbeLength;
    case CellEvidence::onlyAtAddress:
        return atAddress ? kProbeLengthAndAddress : 0;
    case CellEvidence::lengthOnly:
        return file.size() >= 2 ? kProbeLength : 0;
    case CellEvidence::never:
        return 0;
    }
    return 0;
}

Decoded decodeCells(const C64Format& format, Bytes file, const DecodeOptions& options) {
    const CellLayout& layout = format.cells;
    if (!hasLayoutLength(layout.lengths, file, options))
        return layoutLengthRejection(layout.what, layout.lengths, file, options);
    Decoded d = acceptedPicture(options);
    const Bitmap bitmap = file.subspan(layout.bitmap).first<kBitmapBytes>();
    std::array<std::uint8_t, kScreenBytes> filled;
    switch (layout.kind) {
    case CellKind::multicolour: {
        CellBytes colour = file.subspan(layout.colour).first<kScreenBytes>();
        if (layout.oneColour) {
            filled.fill(file[layout.colour]);
            colour = filled;
        }
        const std::uint8_t background =
            layout.background == kAbsent ? std::uint8_t{0} : file[layout.background];
        decodeMulticolour(d.picture, bitmap, file.subspan(layout.screen).first<kScreenBytes>(),
                          colour, background);
        break;
    }
    case CellKind::hires:
        decodeHires(d.picture, bitmap, file.subspan(layout.screen).first<kScreenBytes>());
        break;
    case CellKind::bitmapOnly:
        filled.fill(layout.cellColours);
        decodeHires(d.picture, bitmap, filled);
        break;
    case CellKind::none:
        return Decoded::reject("no plain layout");
    }
    return d;
}

int probeCells(const C64Format& format, Bytes file, std::uint64_t fileSize) {
    const CellLayout& layout = format.cells;
    if (layout.kind == CellKind::none)
        return 0;
    return layoutScore(layout.lengths, layout.evidence, format.loadAddresses[0], file, fileSize);
}

} // namespace quendra

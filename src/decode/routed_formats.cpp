// Extensions that name pictures of readers this program already has, where the bytes
// choose the reader: .vic by its length alone, .gig as Art Studio hires or else Koala.
#include "decode/further_readers.h"
#include "decode/readers.h"
#include <algorithm>
#include <string>
#include <vector>

#include "decode/formats.h"
#include "decode/reader_checks.h"

namespace quendra {

namespace {

// The rows whose lengths a .vic file's length picks, in this order: a length two rows take
// is the first's. Of Vidcom 64 only the 10241-byte kind is a .vic picture, of FunPainter 2
// only the unpacked one.
struct VicRoute {
    FormatId row;
    std::uint32_t onlyLength = 0; // 0: every length of the row
};
constexpr VicRoute kVicRoutes[] = {
    {FormatId::artStudioHires},    {FormatId::advancedArtStudio}, {FormatId::blazingPaddles},
    {FormatId::vidcom64, 10241},   {FormatId::fliDesigner},       {FormatId::fliWithBackground},
    {FormatId::fliGraph},          {FormatId::drazlace},          {FormatId::gunpaint},
    {FormatId::funPainter, 33694},
};

std::vector<std::uint32_t> routeLengths(const VicRoute& route) {
    if (route.onlyLength != 0)
        return {route.onlyLength};
    std::vector<std::uint32_t> lengths;
    for (std::uint32_t length : lengthsOf(formatRow(route.row))) {
        if (length != 0)
            lengths.push_back(length);
    }
    return lengths;
}

// The row whose pictures are this long; null when none is.
const C64Format* vicFormat(std::uint64_t length) {
    for (const VicRoute& route : kVicRoutes) {
        if (std::ranges::count(routeLengths(route), length) != 0)
            return &formatRow(route.row);
    }
    return nullptr;
}

// "9002, 9003, ... or 33694".
std::string vicLengthsText() {
    std::vector<std::uint32_t> lengths;
    for (const VicRoute& route : kVicRoutes) {
        for (std::uint32_t length : routeLengths(route))
            lengths.push_back(length);
    }
    std::ranges::sort(lengths);
    std::string text;
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        if (i > 0)
            text += i + 1 == lengths.size() ? " or " : ", ";
        text += std::to_string(lengths[i]);
    }
    return text;
}

} // namespace

Decoded decodeVic(Bytes file, const DecodeOptions& options) {
    const std::uint64_t size = reportedSize(file, options);
    const C64Format* format = size == file.size() ? vicFormat(size) : nullptr;
    if (!format) {
        return Decoded::reject("a .vic picture is one of the lengths " + vicLengthsText() +
                               "; this one has " + std::to_string(size));
    }
    return decodeAs(*format, file, options);
}

int probeVic(Bytes, std::uint64_t fileSize) {
    return vicFormat(fileSize) ? kProbeLength : 0;
}

Decoded decodeArtStudioHiresOrKoala(Bytes file, const DecodeOptions& options) {
    Decoded d = decodeArtStudioHires(file, options);
    if (d.accepted)
        return d;
    d = decodeKla(file, options);
    d.format = &formatRow(FormatId::koala);
    return d;
}

int probeArtStudioHiresOrKoala(Bytes file, std::uint64_t fileSize) {
    return std::max(probeArtStudioHires(file, fileSize), probeKla(file, fileSize));
}

} // namespace quendra

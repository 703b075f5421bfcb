// Extensions that name pictures of readers this program already has, where the bytes
// choose the reader: .vic by its length alone, .gig as Art Studio hires or else Koala.
#include "decode/further_readers.h"
#include "decode/readers.h"
#include <algorithm>

#include "decode/formats.h"
#include "decode/reader_checks.h"

namespace quendra {

namespace {

// The row whose pictures are this long.
std::string_view vicFormat(std::uint64_t length) {
    switch (length) {
    case 9002:
    case 9003:
    case 9009:
        return "Art Studio hires";
    case 10018:
        return "Advanced Art Studio";
    case 10241:
        return "Vidcom 64";
    case 10242:
        return "Blazing Paddles";
    case 17218:
    case 17409:
        return "FLI Designer";
    case 17410:
        return "FLI with background";
    case 17474:
    case 17665:
    case 17666:
        return "FLI Graph";
    case 18242:
        return "Drazlace";
    case 33602:
    case 33603:
        return "Gunpaint";
    case 33694:
        return "FunPainter 2";
    default:
        return {};
    }
}

} // namespace

Decoded decodeVic(Bytes file, const DecodeOptions& options) {
    const std::uint64_t size = reportedSize(file, options);
    const C64Format* format = size == file.size() ? findFormat(vicFormat(size)) : nullptr;
    if (!format) {
        return Decoded::reject("a .vic picture is one of the lengths 9002, 9003, 9009, "
                               "10018, 10241, 10242, 17218, 17409, 17410, 17474, "
                               "17665, 17666, 18242, 33602, 33603 or 33694; this one "
                               "has " +
                               std::to_string(size));
    }
    return decodeAs(*format, file, options);
}

int probeVic(Bytes, std::uint64_t fileSize) {
    return vicFormat(fileSize).empty() ? 0 : kProbeLength;
}

Decoded decodeArtStudioHiresOrKoala(Bytes file, const DecodeOptions& options) {
    Decoded d = decodeArtStudioHires(file, options);
    if (d.accepted)
        return d;
    d = decodeKla(file, options);
    d.format = findFormat("Koala Painter");
    return d;
}

int probeArtStudioHiresOrKoala(Bytes file, std::uint64_t fileSize) {
    return std::max(probeArtStudioHires(file, fileSize), probeKla(file, fileSize));
}

} // namespace quendra

// Extensions that name pictures of readers this program already has, where the bytes
// choose the reader: .vic by its length alone, .gig as Art Studio hires or else Koala.
#include "decode/further_readers.h"
#include "decode/readers.h"
#include <algorithm>

#include "decode/formats.h"
#include "decode/reader_checks.h"

namespace quendra {

namespace {

ReaderFunction vicReader(std::uint64_t length) {
    switch (length) {
    case 9002:
    case 9003:
    case 9009:
        return decodeArtStudioHires;
    case 10018:
        return decodeAdvancedArtStudio;
    case 10241:
        return decodeVidcom64;
    case 10242:
        return decodeBlazingPaddles;
    case 17218:
    case 17409:
        return decodeFliDesigner;
    case 17410:
        return decodeFlm;
    case 17474:
    case 17665:
    case 17666:
        return decodeFliGraph;
    case 18242:
        return decodeDrazlace;
    case 33602:
    case 33603:
        return decodeGunpaint;
    case 33694:
        return decodeFunPainter;
    default:
        return nullptr;
    }
}

} // namespace

Decoded decodeVic(Bytes file, const DecodeOptions& options) {
    const std::uint64_t size = reportedSize(file, options);
    const ReaderFunction reader = size == file.size() ? vicReader(size) : nullptr;
    if (!reader) {
        return Decoded::reject(" (VIC)", "a .vic picture is one of the lengths 9002, 9003, 9009, "
                                         "10018, 10241, 10242, 17218, 17409, 17410, 17474, "
                                         "17665, 17666, 18242, 33602, 33603 or 33694; this one "
                                         "has " + std::to_string(size));
    }
    return reader(file, options);
}

int probeVic(Bytes, std::uint64_t fileSize) {
    return vicReader(fileSize) ? kProbeLength : 0;
}

Decoded decodeArtStudioHiresOrKoala(Bytes file, const DecodeOptions& options) {
    Decoded d = decodeArtStudioHires(file, options);
    return d.accepted ? d : decodeKla(file, options);
}

int probeArtStudioHiresOrKoala(Bytes file, std::uint64_t fileSize) {
    return std::max(probeArtStudioHires(file, fileSize), probeKla(file, fileSize));
}

} // namespace quendra

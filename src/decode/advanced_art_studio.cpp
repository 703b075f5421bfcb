// Advanced Art Studio under .mpic: the multicolour .ocp memory image (art_studio.cpp),
// 10018 bytes loaded at $2000. The load address is not checked.
//   0     2     load address
//   2     8000  bitmap
//   8002  1000  screen memory
//   9002  1     border colour, not shown
//   9003  1     background
//   9004  14    not used
//   9018  1000  colour memory
#include "decode/readers.h"
#include "decode/cells.h"
#include "decode/reader_checks.h"

namespace quendra {

Decoded decodeAdvancedArtStudio(Bytes file, const DecodeOptions& options) {
    constexpr std::string_view kSuffix = " (Advanced Art Studio)";
    if (!hasLengthOneOf(file, options, {10018}))
        return lengthRejection(kSuffix, "an Advanced Art Studio picture", "10018", file, options);
    Decoded d = acceptedPicture(kSuffix, options);
    decodeAdvancedArtStudioLayout(d.picture, file.subspan<2, kAdvancedArtStudioDataBytes>());
    return d;
}

int probeAdvancedArtStudio(Bytes file, std::uint64_t fileSize) {
    return probeLengthAndAddress(file, fileSize, {10018}, 0x2000);
}

} // namespace quendra

// What the plain bitmap-family readers share: the length check and its words, the
// accepted picture they draw into, and the scores their probes give.
#pragma once

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "decode/decoded.h"
#include "decode/load_address.h"
#include "decode/palette.h"
#include "decode/rle.h"

namespace quendra {

// Probe scores (see ProbeFunction): the length fits (and nothing else is known), the
// length fits and the file loads where the program put it, a signature matched.
inline constexpr int kProbeLength = 1;
inline constexpr int kProbeLengthAndAddress = 2;
inline constexpr int kProbeSignature = 3;

inline bool isOneOf(std::uint64_t length, std::initializer_list<std::uint64_t> lengths) {
    return std::find(lengths.begin(), lengths.end(), length) != lengths.end();
}

// The size check of readers that read past their largest length: a longer file arrives
// cut at the read limit, so the file's own size decides where the caller knows it.
inline bool hasLengthOneOf(Bytes file, const DecodeOptions& options,
                           std::initializer_list<std::uint64_t> lengths) {
    return isOneOf(file.size(), lengths) && reportedSize(file, options) == file.size();
}

// "<what> is <lengths> bytes long, this one has <size>".
inline Decoded lengthRejection(std::string_view what, std::string_view lengths, Bytes file,
                               const DecodeOptions& options) {
    return Decoded::reject(std::string(what) + " is " + std::string(lengths) +
                           " bytes long, this one has " +
                           std::to_string(reportedSize(file, options)));
}

// An accepted black picture in the C64 colours (or their grey levels), drawn in the storage
// the caller offers for reuse (Decoded::accept).
inline Decoded acceptedPicture(const DecodeOptions& options, int width = Image::kTemplateWidth,
                               int height = Image::kTemplateHeight) {
    Decoded d = Decoded::accept(options, width, height);
    d.picture.setPalette(c64Palette(options.grey));
    d.picture.setMeaning(IndexMeaning::c64Numbers, options.grey);
    return d;
}

// The usual probe of an unpacked format: 0 unless the length is one of `lengths`; surer
// when the file loads at `address`, which real files do not always.
inline int probeLengthAndAddress(Bytes file, std::uint64_t fileSize,
                                 std::initializer_list<std::uint64_t> lengths,
                                 std::uint16_t address) {
    if (!isOneOf(fileSize, lengths))
        return 0;
    return hasLoadAddress(file, address) ? kProbeLengthAndAddress : kProbeLength;
}

// The probe of a run-length packed format without a signature: the whole file must be at
// hand, load at `address`, and its data from offset 2 expand to the format's memories
// (`least` bytes, or `most` where the program packs more than the picture, up to a last
// run of 255 more). Anything expands, so the size it expands to is what speaks for the
// format; and plain memories of that size pass too, so an exact length with its load
// address counts for more.
inline int probePackedRuns(Bytes file, std::uint64_t fileSize, std::uint16_t address,
                           std::size_t least, RunFormat runs, std::size_t most = 0) {
    if (file.size() != fileSize || !hasLoadAddress(file, address))
        return 0;
    const std::size_t size = expandedSize(file.subspan(2), runs);
    return size >= least && size <= std::max(least, most) + 255 ? kProbeLength : 0;
}

} // namespace quendra

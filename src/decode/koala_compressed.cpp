// Koala compressed (.gg): the 10001 data bytes of a Koala picture, run-length compressed.
//   0  2     load address $6000
//   2  ...   run-length data, escape 0xFE value count (see rle.h)
// Expanded: bitmap 8000, screen memory 1000, colour memory 1000, background 1. Bytes the
// data does not reach stay 0. Real files end with the background as a plain last byte.
#include <array>
#include <string>

#include "decode/cells.h"
#include "decode/load_address.h"
#include "decode/palette.h"
#include "decode/readers.h"
#include "decode/rle.h"

namespace quendra {

namespace {
constexpr std::size_t kMaxLength = 10099;
} // namespace

Decoded decodeKoalaCompressed(Bytes file, const DecodeOptions& options) {
    constexpr std::string_view kSuffix = " (Koala compressed)";
    if (file.size() > kMaxLength) {
        return Decoded::reject(
            kSuffix, "a Koala compressed picture is at most 10099 bytes long, this one has " +
                         std::to_string(file.size()));
    }
    if (!hasLoadAddress(file, 0x6000)) {
        return Decoded::reject(kSuffix,
                               loadAddressReason("a Koala compressed picture", "$6000", file));
    }
    std::array<std::uint8_t, kKoalaDataBytes + 254> data{};
    expandRuns(file.subspan(2), data, kKoalaDataBytes, kKoalaRuns);

    Decoded d;
    d.accepted = true;
    d.captionSuffix = kSuffix;
    d.picture.setPalette(c64Palette(options.grey));
    decodeKoalaLayout(d.picture, std::span<const std::uint8_t>(data).first<kKoalaDataBytes>());
    return d;
}

} // namespace quendra

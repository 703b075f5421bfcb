// Amica Paint (.ami): a multicolour picture, run-length compressed.
//   0  2     load address $4000
//   2  ...   run-length data, escape 0xC2 count value (see rle.h)
// Expanded: bitmap 8000, screen memory 1000, colour memory 1000, background 1, the same
// layout as Koala. Bytes the data does not reach stay 0. Real files end with the token
// 0xC2 0x00, which writes nothing.
#include <array>
#include <string>

#include "decode/cells.h"
#include "decode/load_address.h"
#include "decode/palette.h"
#include "decode/readers.h"
#include "decode/rle.h"

namespace quendra {

namespace {
constexpr std::size_t kMaxLength = 10299;
} // namespace

Decoded decodeAmica(Bytes file, const DecodeOptions& options) {
    constexpr std::string_view kSuffix = " (Amica Paint)";
    if (file.size() > kMaxLength) {
        return Decoded::reject(kSuffix,
                               "an Amica Paint picture is at most 10299 bytes long, this one has " +
                                   std::to_string(file.size()));
    }
    if (!hasLoadAddress(file, 0x4000)) {
        return Decoded::reject(kSuffix, loadAddressReason("an Amica Paint picture", "$4000", file));
    }
    std::array<std::uint8_t, kKoalaDataBytes + 254> data{};
    expandRuns(file.subspan(2), data, kKoalaDataBytes, kAmicaRuns);

    Decoded d;
    d.accepted = true;
    d.captionSuffix = kSuffix;
    d.picture.setPalette(c64Palette(options.grey));
    decodeKoalaLayout(d.picture, std::span<const std::uint8_t>(data).first<kKoalaDataBytes>());
    return d;
}

} // namespace quendra

#include "decode/packed_koala.h"

#include <array>
#include <string>

#include "decode/cells.h"
#include "decode/load_address.h"
#include "decode/palette.h"

namespace quendra {

Decoded decodePackedKoala(Bytes file, const DecodeOptions& options,
                          const PackedKoalaFormat& format) {
    if (reportedSize(file, options) > format.maxLength || file.size() > format.maxLength) {
        return Decoded::reject(std::string(format.what) + " is at most " +
                               std::to_string(format.maxLength) + " bytes long, this one has " +
                               std::to_string(reportedSize(file, options)));
    }
    if (format.checksLoadAddress && !hasLoadAddress(file, format.loadAddress)) {
        return Decoded::reject(
            loadAddressReason(format.what, addressText(format.loadAddress), file));
    }
    if (file.size() < 2) {
        return Decoded::reject(std::string(format.what) +
                               " begins with a load address, this file is "
                               "too short to hold one");
    }
    // Room for the overshoot of a last run that starts just below the end.
    std::array<std::uint8_t, kKoalaDataBytes + 254> data{};
    expandRuns(file.subspan(2), data, kKoalaDataBytes, format.runs);

    Decoded d = Decoded::accept(options);
    d.picture.setPalette(c64Palette(options.grey));
    d.picture.setMeaning(IndexMeaning::c64Numbers, options.grey);
    decodeKoalaLayout(d.picture, std::span<const std::uint8_t>(data).first<kKoalaDataBytes>());
    return d;
}

} // namespace quendra

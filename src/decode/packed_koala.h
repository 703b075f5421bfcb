// Koala's memory layout stored run-length compressed after a load address: Koala
// compressed (.gg) and Amica Paint (.ami) differ only in their limits and run tokens.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "decode/decoded.h"
#include "decode/rle.h"

namespace quendra {

struct PackedKoalaFormat {
    std::string_view what;   // "an Amica Paint picture", for rejections
    std::size_t maxLength;   // longest file accepted
    std::uint16_t loadAddress;
    RunFormat runs;
    bool checksLoadAddress = true; // false: any load address (Koala compressed under .kla)
};

// Checks the length and (unless told not to) the load address, expands the data into a zeroed area
// (starting no item once the 10001 bytes are full) and draws it in multicolour.
Decoded decodePackedKoala(Bytes file, const DecodeOptions& options,
                          const PackedKoalaFormat& format);

} // namespace quendra

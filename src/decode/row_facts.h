// What a reader of its own takes from its registry row, so that a length, a load address
// or a limit is written once, in the row: the checks and the words of their rejections.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "decode/cell_layout.h"
#include "decode/formats.h"
#include "decode/load_address.h"
#include "decode/reader_checks.h"

namespace quendra {

// Whether `length` is one of the row's unpacked lengths.
inline bool takesLength(const C64Format& row, std::uint64_t length) {
    return length != 0 && std::ranges::find(lengthsOf(row), length) != lengthsOf(row).end();
}

// "<what> is 10003 or 10006 bytes long, this one has <size>".
inline Decoded rowLengthRejection(std::string_view what, const C64Format& row, Bytes file,
                                  const DecodeOptions& options) {
    return layoutLengthRejection(what, lengthsOf(row), file, options);
}

// "<what> is at most <packedUpTo> bytes long, this one has <size>".
inline Decoded packedLengthRejection(std::string_view what, const C64Format& row, Bytes file,
                                     const DecodeOptions& options) {
    return Decoded::reject(std::string(what) + " is at most " + std::to_string(row.packedUpTo) +
                           " bytes long, this one has " +
                           std::to_string(reportedSize(file, options)));
}

// Whether the file loads at one of the row's addresses.
inline bool loadsAtRowAddress(const C64Format& row, Bytes file) {
    return std::ranges::any_of(row.loadAddresses, [&](std::uint16_t address) {
        return address != 0 && hasLoadAddress(file, address);
    });
}

// "$1C00 or $5C00".
inline std::string rowAddressesText(const C64Format& row) {
    std::string text;
    for (std::uint16_t address : row.loadAddresses) {
        if (address != 0)
            text += (text.empty() ? "" : " or ") + addressText(address);
    }
    return text;
}

// "<what> loads at $1C00 or $5C00, this one at $xxxx".
inline Decoded rowAddressRejection(std::string_view what, const C64Format& row, Bytes file) {
    return Decoded::reject(loadAddressReason(what, rowAddressesText(row), file));
}

} // namespace quendra

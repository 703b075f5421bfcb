// The two-byte load address (low byte first) that every C64 file begins with, and the
// words a rejection uses about it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "decode/decoded.h"

namespace quendra {

inline bool hasLoadAddress(Bytes file, std::uint16_t address) {
    return file.size() >= 2 && file[0] == (address & 0xFF) && file[1] == (address >> 8);
}

// "$5C00", as C64 people write addresses.
inline std::string addressText(unsigned address) {
    char text[8];
    std::snprintf(text, sizeof text, "$%04X", address & 0xFFFF);
    return text;
}

// "<what> loads at <expected>, this one at $xxxx" (or: is too short to hold one).
inline std::string loadAddressReason(std::string_view what, std::string_view expected, Bytes file) {
    std::string reason = std::string(what) + " loads at " + std::string(expected);
    if (file.size() < 2)
        return reason + ", this file is too short to hold a load address";
    return reason + ", this one at " + addressText(file[0] | file[1] << 8);
}

} // namespace quendra

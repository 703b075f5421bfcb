// The packer of Drazpaint and Drazlace: after a 13-character name, byte 15 of the file is
// the escape and the data runs forward from byte 16. "escape count value" is a run of
// count values (count 0: none); every other byte is itself. The data fills the bytes that
// follow the load address in an unpacked file; unpacking stops when they are full and
// ignores what is left, and a run that reaches past their end is cut.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "decode/decoded.h"

namespace quendra {

inline constexpr std::size_t kDrazHeaderBytes = 16;

// Whether the file holds `name` (13 characters) after its load address.
bool hasDrazName(Bytes file, std::string_view name);

// Fills `out` from a packed file that hasDrazName; false when the data ends first.
bool unpackDraz(Bytes file, std::span<std::uint8_t> out);

} // namespace quendra

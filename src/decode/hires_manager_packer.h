// Hires Manager's packer: run-length data read backwards, from the last byte to the first,
// into an output filled from its end. Tokens, in reading order:
//   00 n v   n copies of v (n = 0 is not allowed)
//   b        (any other byte) the next b - 1 bytes are literals, still read backwards
// A file stores them backwards too: the run above lies in the file as v n 00.
#pragma once

#include <cstdint>
#include <span>

#include "decode/decoded.h"

namespace quendra {

// Fills all of `out`, from its last byte down to its first, and stops as soon as it is full:
// what is left of `in` is ignored, a run or a literal block that reaches past the start of
// `out` is cut. Returns false when `in` runs out first or a run's count is 0; `out` is then
// partly filled. Never reads outside `in`, never writes outside `out`.
bool unpackHiresManager(Bytes in, std::span<std::uint8_t> out);

} // namespace quendra

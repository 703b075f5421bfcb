// Run-length data of the C64 paint programs: a sequence of items, each either a literal
// byte or a three-byte run token that begins with the format's escape byte. The two byte
// orders in use:
//   Koala compressed, Doodle compressed:  0xFE value count
//   Amica Paint:                          0xC2 count value
// A count of 0 writes nothing (it is not 256). A data byte equal to the escape can only be
// stored as a run of one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "decode/decoded.h"

namespace quendra {

struct RunFormat {
    std::uint8_t escape;
    bool countFirst; // count before value (Amica) or after it
};

inline constexpr RunFormat kKoalaRuns{0xFE, false};
inline constexpr RunFormat kDoodleRuns{0xFE, false};
inline constexpr RunFormat kAmicaRuns{0xC2, true};

// Expands `in` into `out`, which the caller has cleared. An item may begin at any byte of
// `in`, the last one included, and items are started while fewer than `stop` bytes have been
// written; a run that crosses `stop` is written whole, as far as `out` reaches (make `out`
// stop + 254 bytes long and nothing is ever cut). A run token whose count or value byte
// would lie beyond the end of `in` appends nothing and ends the data. Never reads outside
// `in`, never writes outside `out`. Returns the number of bytes written.
std::size_t expandRuns(Bytes in, std::span<std::uint8_t> out, std::size_t stop, RunFormat format);

// How many bytes all of `in` expands to, with no output to stop at: what a probe compares
// with the size of the memories a format packs.
std::size_t expandedSize(Bytes in, RunFormat format);

} // namespace quendra

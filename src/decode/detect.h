// Content detection: which C64 format a file is, judged by every format's probe (its
// length and first bytes), for files whose name leads to no format or to one that refuses
// them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

#include "decode/formats.h"

namespace quendra {

// How many of a file's first bytes detection reads: all any probe looks at, and the whole
// of every file a probe judges by its end.
inline constexpr std::size_t kDetectionReadLimit = 1 << 16;

// The C64 habit of naming a file by a prefix: "pi" of "pi.worldmap", "dd" of "dd.picture".
// The text before the first "." of the name part; empty when there is none.
std::string_view c64NamePrefix(std::string_view fileName);

// A format that may hold a file, and how strongly the evidence speaks for it: a probe's
// score counted twice (so that evidence of other kinds fits in between), or kByPrefix for
// the format the name's C64 prefix names.
struct Candidate {
    const C64Format* format = nullptr;
    int rank = 0;
    bool ownLoadAddress = false; // read with its own load address put in (open_picture.h)
};
inline constexpr int kByPrefix = 100;
// The rank of a format that only the file's length speaks for.
inline constexpr int kByLengthAlone = 2;

// Every format whose probe accepts the file (`head` its first bytes, `fileSize` its
// length) but `refused`, strongest evidence first, the earlier row on a tie.
std::vector<Candidate> rankedFormats(Bytes head, std::uint64_t fileSize,
                                     std::string_view fileName,
                                     const C64Format* refused = nullptr);

// The first of rankedFormats; null when no probe accepts the file.
const C64Format* detectFormat(Bytes head, std::uint64_t fileSize, std::string_view fileName,
                              const C64Format* refused = nullptr);

} // namespace quendra

// Content detection: which C64 format a file is, judged by every format's probe (its
// length and first bytes), for files whose name leads to no format or to one that refuses
// them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

#include "decode/formats.h"

namespace quendra {

// How many of a file's first bytes detection reads: all any probe looks at, and the whole
// of every file a probe judges by its end.
inline constexpr std::size_t kDetectionReadLimit = 1 << 16;

// The C64 habit of naming a file by a prefix: "pi" of "pi.worldmap", "dd" of "dd.picture".
// The text before the first "." of the name part; empty when there is none.
std::string_view c64NamePrefix(std::string_view fileName);

// The format whose probe scores the file highest (`head` its first bytes, `fileSize` its
// length), the earlier row on a tie; a format that the name's C64 prefix names wins whenever
// its probe accepts the file at all. `refused`, the format that refused the file, is not
// tried again. Null when no probe accepts the file.
const C64Format* detectFormat(Bytes head, std::uint64_t fileSize, std::string_view fileName,
                              const C64Format* refused = nullptr);

// detectFormat on a file: reads its first kDetectionReadLimit bytes.
const C64Format* detectFileFormat(const std::filesystem::path& path,
                                  const C64Format* refused = nullptr);

// A file's picture by content detection, for a file that `refused` (the format its name
// gave) did not take: the format that fits the file best and its picture. No format when
// none fits, or when the one that fits best refuses the file as well.
struct Detected {
    const C64Format* format = nullptr;
    Decoded decoded;
};
Detected readDetected(const std::filesystem::path& path, const C64Format& refused,
                      const DecodeOptions& options);

} // namespace quendra

// A C64 picture from bytes a host program hands over (an image plugin's device, a pixbuf
// loader's buffer) instead of a path: the same road as decodeFile, on bytes in memory.
// The file's name, where the host knows it, chooses the format as it does for a path; bytes
// alone go by content detection.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "decode/decoded.h"
#include "decode/formats.h"

namespace quendra::plugins {

// The most bytes the road reads of any file: every row's read limit and detection's.
std::size_t wholeReadLimit();

// Whether a host should hand the file to us: its name's extension is a format's, a C64
// name prefix names a format whose probe accepts it, or its first bytes fit a format
// surely (a probe on more than the length alone). `head` is the file's first bytes,
// `fileSize` its whole length; `fileName` may be empty.
bool takesFile(Bytes head, std::uint64_t fileSize, std::string_view fileName);

// Whether `key` (an extension without the dot, any case) is one of the formats'.
bool isFormatKey(std::string_view key);

// The picture: the format the name gives, then content detection for a file it refuses;
// the first rejection when no format takes the file. `file` holds the file's first
// wholeReadLimit() bytes (or all of it), `fileSize` its length (0: file.size()).
Decoded decodeBytes(Bytes file, std::uint64_t fileSize, std::string_view fileName);

} // namespace quendra::plugins

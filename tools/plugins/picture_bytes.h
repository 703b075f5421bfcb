// What the image plugins add to the road from bytes to a picture (decode/open_picture.h):
// how much of a file to read, and whether a host should hand a file to us at all.
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

} // namespace quendra::plugins

#include "plugins/picture_bytes.h"

#include <algorithm>
#include <string>

#include "decode/detect.h"
#include "decode/reader_checks.h"

namespace quendra::plugins {

std::size_t wholeReadLimit() {
    std::size_t limit = kDetectionReadLimit;
    for (const C64Format& row : c64Formats())
        limit = std::max(limit, row.readLimit);
    return limit;
}

bool isFormatKey(std::string_view key) {
    if (key.empty())
        return false;
    const std::string extension = "." + std::string(key);
    return std::ranges::any_of(c64Formats(), [&](const C64Format& row) {
        return listsExtension(row, extension);
    });
}

bool takesFile(Bytes head, std::uint64_t fileSize, std::string_view fileName) {
    const std::string_view extension = extensionOf(fileName);
    if (extension.size() > 1 && isFormatKey(extension.substr(1)))
        return true;
    const auto candidates = rankedFormats(head, fileSize, fileName);
    return !candidates.empty() && candidates.front().rank >= 2 * kProbeLengthAndAddress;
}

} // namespace quendra::plugins

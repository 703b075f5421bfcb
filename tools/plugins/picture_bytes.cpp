#include "plugins/picture_bytes.h"

#include <algorithm>
#include <string>

#include "decode/detect.h"
#include "decode/reader_checks.h"

namespace quendra::plugins {

namespace {

Bytes firstBytes(Bytes file, std::size_t limit) {
    return file.first(std::min(file.size(), limit));
}

} // namespace

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
    const std::string prefix = "." + std::string(c64NamePrefix(fileName));
    for (const C64Format& row : c64Formats()) {
        if (!row.probe)
            continue;
        const int score = row.probe(head, fileSize);
        if (score >= kProbeLengthAndAddress || (score > 0 && prefix.size() > 1 &&
                                                listsExtension(row, prefix)))
            return true;
    }
    return false;
}

Decoded decodeBytes(Bytes file, std::uint64_t fileSize, std::string_view fileName) {
    DecodeOptions options;
    options.fileSize = fileSize != 0 ? fileSize : file.size();
    const C64Format& named = formatForFile(fileName);
    Decoded decoded = named.decode(firstBytes(file, named.readLimit), options);
    if (decoded.accepted)
        return decoded;
    const C64Format* found = detectFormat(firstBytes(file, kDetectionReadLimit),
                                          options.fileSize, fileName, &named);
    if (found) {
        Decoded detected = found->decode(firstBytes(file, found->readLimit), options);
        if (detected.accepted)
            return detected;
    }
    return decoded;
}

} // namespace quendra::plugins

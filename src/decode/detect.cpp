#include "decode/detect.h"

#include <string>
#include <vector>

namespace quendra {

std::string_view c64NamePrefix(std::string_view fileName) {
    const auto sep = fileName.rfind('/');
    const std::string_view name =
        sep == std::string_view::npos ? fileName : fileName.substr(sep + 1);
    const auto dot = name.find('.');
    return dot == std::string_view::npos ? std::string_view{} : name.substr(0, dot);
}

const C64Format* detectFormat(Bytes head, std::uint64_t fileSize, std::string_view fileName,
                              const C64Format* refused) {
    const std::string_view prefix = c64NamePrefix(fileName);
    const C64Format* best = nullptr;
    int bestScore = 0;
    for (const C64Format& row : c64Formats()) {
        if (&row == refused || !row.probe)
            continue;
        const int score = row.probe(head, fileSize);
        if (score <= 0)
            continue;
        if (!prefix.empty() && listsExtension(row, "." + std::string(prefix)))
            return &row;
        if (score > bestScore) {
            best = &row;
            bestScore = score;
        }
    }
    return best;
}

const C64Format* detectFileFormat(const std::filesystem::path& path, const C64Format* refused) {
    std::uint64_t size = 0;
    const std::vector<std::uint8_t> head = readFilePrefix(path, kDetectionReadLimit, &size);
    if (size == 0)
        size = head.size();
    return detectFormat(head, size, path.filename().string(), refused);
}

Detected readDetected(const std::filesystem::path& path, const C64Format& refused,
                      const DecodeOptions& options) {
    Detected found;
    if (const C64Format* format = detectFileFormat(path, &refused)) {
        found.decoded = readPicture(path, *format, options);
        if (found.decoded.accepted)
            found.format = format;
    }
    return found;
}

} // namespace quendra

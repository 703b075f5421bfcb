#include "decode/detect.h"

#include <algorithm>
#include <functional>
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

std::vector<Candidate> rankedFormats(Bytes head, std::uint64_t fileSize,
                                     std::string_view fileName, const C64Format* refused) {
    const std::string_view prefix = c64NamePrefix(fileName);
    std::vector<Candidate> candidates;
    for (const C64Format& row : c64Formats()) {
        if (&row == refused || !row.probe)
            continue;
        const int score = row.probe(head, fileSize);
        if (score <= 0)
            continue;
        const bool byPrefix = !prefix.empty() && listsExtension(row, "." + std::string(prefix));
        candidates.push_back({.format = &row, .rank = byPrefix ? kByPrefix : 2 * score});
    }
    std::ranges::stable_sort(candidates, std::greater{}, &Candidate::rank);
    return candidates;
}

const C64Format* detectFormat(Bytes head, std::uint64_t fileSize, std::string_view fileName,
                              const C64Format* refused) {
    const std::vector<Candidate> candidates = rankedFormats(head, fileSize, fileName, refused);
    return candidates.empty() ? nullptr : candidates.front().format;
}

} // namespace quendra

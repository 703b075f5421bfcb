// A number with its noun for messages: "1 entry", "3 entries".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quendra {

inline std::string counted(std::size_t n, std::string_view one, std::string_view many) {
    return std::to_string(n) + ' ' + std::string(n == 1 ? one : many);
}

} // namespace quendra

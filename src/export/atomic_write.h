// Writing a file so that a failure never destroys the file that was there.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace quendra {

struct WriteResult {
    bool written = false;
    std::string error;  // why not, for people; empty when written
};

// Writes `bytes` to a temporary file in the target's folder, flushes it and renames it
// over `target`. On any failure the temporary file is removed and `target` is untouched.
WriteResult writeFileAtomically(const std::filesystem::path& target,
                                std::span<const std::uint8_t> bytes);

// The temporary name used beside `target` (unique per call).
std::filesystem::path temporarySibling(const std::filesystem::path& target);

}  // namespace quendra

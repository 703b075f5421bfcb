// Disk images made from files, for tests and fuzz seeds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "samples/c64_files.h"

namespace quendra::samples {

struct DiskFile {
    std::string name;          // PETSCII bytes, at most 16
    std::vector<std::uint8_t> bytes;
    std::uint8_t type = 0x82;  // closed PRG
};

// A 35-track D64 holding `files` in the order given, one after another from track 1 on
// (track 18 left to the directory), with a correct directory and block counts. At most
// 144 files and 664 blocks.
ByteVector makeD64(const std::vector<DiskFile>& files, const std::string& diskName = "QUENDRA");

} // namespace quendra::samples

#include "samples/disk_files.h"

#include <algorithm>

namespace quendra::samples {

namespace {

int sectorsOn(int track) {
    return track <= 17 ? 21 : track <= 24 ? 19 : track <= 30 ? 18 : 17;
}

std::size_t offsetOf(int track, int sector) {
    std::size_t first = 0;
    for (int t = 1; t < track; ++t)
        first += static_cast<std::size_t>(sectorsOn(t));
    return (first + static_cast<std::size_t>(sector)) * 256;
}

void putName(std::uint8_t* field, const std::string& name) {
    std::fill_n(field, 16, 0xA0);
    std::copy_n(name.begin(), std::min<std::size_t>(name.size(), 16), field);
}

} // namespace

ByteVector makeD64(const std::vector<DiskFile>& files, const std::string& diskName) {
    ByteVector disk(174848, 0);
    std::uint8_t* header = disk.data() + offsetOf(18, 0);
    header[0] = 18;
    header[1] = 1;
    header[2] = 'A';
    putName(header + 0x90, diskName);
    int track = 1, sector = 0;
    auto advance = [&] {
        if (++sector == sectorsOn(track)) {
            sector = 0;
            if (++track == 18)
                ++track;
        }
    };
    for (std::size_t i = 0; i < files.size(); ++i) {
        const int dirSector = 1 + static_cast<int>(i / 8);
        std::uint8_t* dir = disk.data() + offsetOf(18, dirSector);
        if (i % 8 == 0) {
            dir[0] = i + 8 < files.size() ? 18 : 0;
            dir[1] = i + 8 < files.size() ? static_cast<std::uint8_t>(dirSector + 1) : 0xFF;
        }
        std::uint8_t* entry = dir + (i % 8) * 32;
        const DiskFile& file = files[i];
        entry[2] = file.type;
        entry[3] = static_cast<std::uint8_t>(track);
        entry[4] = static_cast<std::uint8_t>(sector);
        putName(entry + 5, file.name);
        std::size_t done = 0;
        unsigned blocks = 0;
        do {
            std::uint8_t* block = disk.data() + offsetOf(track, sector);
            const std::size_t part = std::min<std::size_t>(254, file.bytes.size() - done);
            std::copy_n(file.bytes.begin() + static_cast<std::ptrdiff_t>(done), part, block + 2);
            done += part;
            ++blocks;
            advance();
            if (done < file.bytes.size()) {
                block[0] = static_cast<std::uint8_t>(track);
                block[1] = static_cast<std::uint8_t>(sector);
            } else {
                block[0] = 0;
                block[1] = static_cast<std::uint8_t>(part + 1);
            }
        } while (done < file.bytes.size());
        entry[30] = static_cast<std::uint8_t>(blocks & 0xFF);
        entry[31] = static_cast<std::uint8_t>(blocks >> 8);
    }
    return disk;
}

} // namespace quendra::samples

// The disk and tape image readers. The first byte picks the container; for the floppies
// the rest is written over a blank image from the directory's header sector on (the
// directory track, then the tracks after it), so that short inputs reach the directory
// and the file chains alike. T64 and PC64 take the rest as the whole file.
#include <algorithm>
#include <cstdlib>
#include <string>

#include "decode/disk_pictures.h"
#include "decode/petscii.h"
#include "fuzz.h"
#include "samples/c64_files.h"

namespace {

struct Kind {
    const char* name;
    std::size_t size;   // of the blank image; 0: the input is the file
    std::size_t header; // offset of the directory's header sector
};

constexpr Kind kKinds[] = {
    {"f.d64", 174848, 357 * 256},      {"f.d64", 175531, 357 * 256},
    {"f.d64", 196608, 357 * 256},      {"f.d64", 206114, 357 * 256},
    {"f.d71", 349696, 357 * 256},      {"f.d81", 819200, 1560 * 256},
    {"f.t64", 0, 0},                   {"f.p00", 0, 0},
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const Kind& kind = kKinds[data[0] % std::size(kKinds)];
    std::vector<std::uint8_t> bytes;
    if (kind.size == 0) {
        bytes.assign(data + 1, data + size);
    } else {
        bytes.assign(kind.size, 0);
        std::copy_n(data + 1, std::min(size - 1, kind.size - kind.header),
                    bytes.begin() + static_cast<std::ptrdiff_t>(kind.header));
    }
    const std::size_t imageSize = bytes.size();
    const quendra::OpenedDisk opened = quendra::openDiskImage(std::move(bytes), kind.name);
    if (!opened.image)
        return opened.error.empty() ? (std::abort(), 0) : 0;
    for (const quendra::DiskEntry& entry : opened.image->entries()) {
        const std::vector<std::uint8_t> read = opened.image->read(entry);
        if (read.size() != entry.length || read.size() > imageSize + 2)
            std::abort();
        if (quendra::petsciiToUnicode(entry.petsciiName) != entry.name)
            std::abort();
        (void)quendra::pictureNameOf(entry);
    }
    return 0;
}

std::vector<std::vector<std::uint8_t>> quendraFuzzSeeds() {
    std::vector<std::vector<std::uint8_t>> seeds;
    // A D64 directory (header, one directory sector) and a Koala picture on track 19.
    const auto koala = quendra::samples::makeKoala(quendra::samples::testPattern(1));
    std::vector<std::uint8_t> d64(1 + 19 * 256 + 40 * 256, 0);
    std::uint8_t* header = d64.data() + 1;
    header[0] = 18;
    header[1] = 1;
    std::uint8_t* dir = header + 256;
    dir[1] = 0xFF;
    dir[2] = 0x82;
    dir[3] = 19;
    dir[4] = 0;
    std::fill_n(dir + 5, 16, 0xA0);
    std::copy_n("\x81PIC A FERRARI", 14, dir + 5);
    dir[30] = 40;
    dir[32 + 2] = 0x80; // a DEL separator into the directory
    dir[32 + 3] = 18;
    std::fill_n(dir + 32 + 5, 16, '-');
    for (std::size_t k = 0, done = 0; done < koala.size(); ++k) {
        std::uint8_t* sector = header + (19 + k) * 256;
        const std::size_t part = std::min<std::size_t>(254, koala.size() - done);
        std::copy_n(koala.begin() + static_cast<std::ptrdiff_t>(done), part, sector + 2);
        done += part;
        sector[0] = done < koala.size() ? 19 : 0;
        sector[1] = static_cast<std::uint8_t>(done < koala.size() ? k + 1 : part + 1);
    }
    seeds.push_back(d64);
    d64[0] = 5; // the same bytes as a D81's directory: links to other tracks
    seeds.push_back(d64);

    std::vector<std::uint8_t> t64(1 + 64 + 32 + 100, 0);
    t64[0] = 6;
    std::copy_n("C64 tape image file", 19, t64.begin() + 1);
    t64[1 + 0x22] = 1;
    t64[1 + 64] = 1;
    t64[1 + 65] = 0x82;
    t64[1 + 66] = 0x01;
    t64[1 + 67] = 0x08;
    t64[1 + 68] = 0xC6;
    t64[1 + 69] = 0xC3;
    t64[1 + 72] = 96;
    seeds.push_back(t64);

    std::vector<std::uint8_t> p00{7};
    const std::string header00("C64File\0DDPICTURE\0\0\0\0\0\0\0\0\0", 26);
    p00.insert(p00.end(), header00.begin(), header00.end());
    p00.insert(p00.end(), koala.begin(), koala.end());
    seeds.push_back(p00);
    return seeds;
}

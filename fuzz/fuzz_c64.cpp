// The C64 paint-program readers of the multicolour and hires family. The first byte picks
// the reader (its low seven bits) and the palette (its top bit), so one target covers them all.
#include <cstdlib>

#include "decode/readers.h"
#include "fuzz.h"
#include "samples/c64_files.h"

namespace {
using Fn = quendra::Decoded (*)(quendra::Bytes, const quendra::DecodeOptions&);
constexpr Fn kReaders[] = {
    quendra::decodeKoala, quendra::decodeKoalaCompressed, quendra::decodeArtStudio,
    quendra::decodeAmica, quendra::decodeDoodle,          quendra::decodeDoodleCompressed,
};
constexpr std::size_t kCount = sizeof(kReaders) / sizeof(kReaders[0]);

// Every picture of this family is 320 x 200 in the 16 C64 colours.
bool wellFormed(const quendra::IndexedImage& picture) {
    return picture.width() == 320 && picture.height() == 200 && picture.palette().size() == 16 &&
           indicesWithinPalette(picture);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const quendra::Bytes file(data + 1, size - 1);
    const quendra::Decoded d =
        kReaders[(data[0] & 0x7F) % kCount](file, {.grey = (data[0] & 0x80) != 0});
    if (d.accepted ? !wellFormed(d.picture) : d.reason.empty())
        std::abort();
    return 0;
}

std::vector<std::vector<std::uint8_t>> quendraFuzzSeeds() {
    std::vector<std::vector<std::uint8_t>> seeds;
    auto add = [&](std::uint8_t reader, const std::vector<std::uint8_t>& file) {
        std::vector<std::uint8_t> s{reader};
        s.insert(s.end(), file.begin(), file.end());
        seeds.push_back(std::move(s));
    };
    using namespace quendra::samples;
    const CellPicture p = testPattern(), q = testPattern(1);
    constexpr std::uint8_t kGrey = 0x80;
    add(0, makeKoala(p));
    add(0 | kGrey, makeKoala(q, true));
    add(1, makeKoalaCompressed(p));
    add(2, makeArtStudio(p));
    add(2 | kGrey, makeArtStudioHires(q));
    add(3, makeAmica(p));
    add(4, makeDoodle(p));
    add(4 | kGrey, makeDoodle(q, 0x1C00, false));
    add(5, makeDoodleCompressed(p));
    return seeds;
}

// The C64 paint-program readers of the multicolour and hires family. The first byte picks
// the reader, so one target covers them all.
#include "decode/readers.h"
#include "fuzz.h"
#include "samples/c64_files.h"

namespace {
using Fn = quendra::Decoded (*)(quendra::Bytes, const quendra::DecodeOptions&);
constexpr Fn kReaders[] = {
    quendra::decodeKoala,  quendra::decodeKoalaCompressed, quendra::decodeArtStudio,
    quendra::decodeAmica,  quendra::decodeDoodle,          quendra::decodeDoodleCompressed,
};
constexpr std::size_t kCount = sizeof(kReaders) / sizeof(kReaders[0]);
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const quendra::Bytes file(data + 1, size - 1);
    const quendra::Decoded d = kReaders[data[0] % kCount](file, {.grey = (data[0] & 0x80) != 0});
    if (d.accepted) (void)d.picture.toRgb();
    return 0;
}

std::vector<std::vector<std::uint8_t>> quendraFuzzSeeds() {
    std::vector<std::vector<std::uint8_t>> seeds;
    auto add = [&](std::uint8_t reader, const std::vector<std::uint8_t>& file) {
        std::vector<std::uint8_t> s{reader};
        s.insert(s.end(), file.begin(), file.end());
        seeds.push_back(std::move(s));
    };
    add(0, quendra::samples::makeKoala(quendra::samples::testPattern()));
    add(0x80, quendra::samples::makeKoala(quendra::samples::testPattern(1), true));
    return seeds;
}

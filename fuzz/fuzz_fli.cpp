// The FLI-family and interlaced readers. The first byte picks the reader (modulo their
// number), so that each input costs one decoding rather than eleven; the rest is the file.
// An accepted picture has its format's size and a palette that covers its indices.
#include <cstdlib>
#include <utility>

#include "decode/fli_readers.h"
#include "fuzz.h"
#include "samples/fli_files.h"

namespace {

struct Reader {
    quendra::Decoded (*decode)(quendra::Bytes, const quendra::DecodeOptions&);
    int width, height;
};

constexpr Reader kReaders[] = {
    {quendra::decodeFliDesigner, 296, 200},    {quendra::decodeFliGraph, 296, 200},
    {quendra::decodeAfli, 296, 200},           {quendra::decodeHiresFli, 296, 112},
    {quendra::decodeBfli, 296, 400},           {quendra::decodeTruePaint, 320, 200},
    {quendra::decodeDrazlace, 320, 200},       {quendra::decodeGunpaint, 296, 200},
    {quendra::decodeFfli, 296, 200},           {quendra::decodeDrazpaint, 320, 200},
    {quendra::decodeHiresInterlace, 320, 200},
};
constexpr std::size_t kCount = sizeof(kReaders) / sizeof(kReaders[0]);

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const Reader& reader = kReaders[data[0] % kCount];
    const quendra::Decoded d = reader.decode({data + 1, size - 1}, {});
    if (!d.accepted) {
        if (d.reason.empty())
            std::abort();
        return 0;
    }
    // Blend positions and colour numbers both stay inside the palette; the corners stand
    // for the rest, which the unit tests check pixel by pixel.
    const auto& picture = d.picture;
    if (picture.width() != reader.width || picture.height() != reader.height ||
        picture.index(0, 0) >= picture.palette().size() ||
        picture.index(reader.width - 1, reader.height - 1) >= picture.palette().size()) {
        std::abort();
    }
    return 0;
}

std::vector<std::vector<std::uint8_t>> quendraFuzzSeeds() {
    using namespace quendra::samples;
    const FliPicture p = fliPattern();
    // Each file after the number of the reader that takes it (the order of kReaders).
    const std::pair<std::uint8_t, std::vector<std::uint8_t>> files[] = {
        {0, makeFliDesigner(p)},     {1, makeFliGraph(p)},
        {1, makeFliGraphPacked(p)},  {2, makeAfli(p)},
        {3, makeHiresFli(p)},        {4, makeBfli(p)},
        {5, makeTruePaint(p)},       {5, makeTruePaintPacked(p)},
        {6, makeDrazlace(p)},        {6, makeDrazlacePacked(p)},
        {7, makeGunpaint(p)},        {8, makeFfli(p)},
        {9, makeDrazpaintPacked(p)}, {9, makeDrazpaint(p)},
        {10, makeHiresInterlace(p)},
    };
    std::vector<std::vector<std::uint8_t>> seeds;
    for (const auto& [reader, file] : files) {
        std::vector<std::uint8_t> seed{reader};
        seed.insert(seed.end(), file.begin(), file.end());
        seeds.push_back(std::move(seed));
    }
    return seeds;
}
